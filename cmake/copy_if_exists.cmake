# cmake -DFROM=dir -DTO=dir -P copy_if_exists.cmake: copies a directory when it exists.
file(MAKE_DIRECTORY ${TO})
if(EXISTS ${FROM})
  file(COPY ${FROM}/ DESTINATION ${TO})
endif()
