# What `cmake --install` lays out: the public headers, the catalog manager with the
# libraries and plug-ins it loads from its own directory, the shipped data, the two
# command-line programs, their manual pages and the documents; a CMake package and a
# pkg-config module for hosts.
include(CMakePackageConfigHelpers)

set(ZARN_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/ZarnCatalog)
set(ZARN_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/zarn-catalog)
set(ZARN_INSTALL_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/zarn-catalog)

file(GLOB ZARN_PUBLIC_HEADERS ${PROJECT_SOURCE_DIR}/include/zarn/*.h)
install(FILES ${ZARN_PUBLIC_HEADERS} ${PROJECT_BINARY_DIR}/include/zarn/version.h
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/zarn)

set(ZARN_INSTALLED_LIBRARIES zarn_catalog_manager_x)
foreach(lib zarn_trace_x zarn_om_x zarn_zarnl_compiler_x zarn_devices_converter_x zarn_iodd_converter_x)
  if(TARGET ${lib})
    list(APPEND ZARN_INSTALLED_LIBRARIES ${lib})
  endif()
endforeach()
install(TARGETS ${ZARN_INSTALLED_LIBRARIES} LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})

file(RELATIVE_PATH ZARN_LIBDIR_FROM_BINDIR ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_LIBDIR})
foreach(program zarn-catalog zarnl)
  if(TARGET ${program})
    set_target_properties(${program} PROPERTIES INSTALL_RPATH "$ORIGIN/${ZARN_LIBDIR_FROM_BINDIR}")
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()

install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/catalogData DESTINATION ${ZARN_INSTALL_DATADIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/devices/zarn_catalog/Device DESTINATION ${ZARN_INSTALL_DATADIR})
file(GLOB ZARN_DOCS ${PROJECT_SOURCE_DIR}/docs/*.md)
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${ZARN_DOCS} DESTINATION ${ZARN_INSTALL_DOCDIR})
# Manual pages, written from the programs' own help texts into build/man.
function(zarn_man_page program summary)
  set(page ${PROJECT_BINARY_DIR}/man/${program}.1)
  add_custom_command(OUTPUT ${page}
    COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:${program}> -DNAME=${program} "-DSUMMARY=${summary}"
            -DVERSION=${PROJECT_VERSION} ${ARGN} -DOUT=${page} -P ${PROJECT_SOURCE_DIR}/cmake/man_page.cmake
    DEPENDS ${program} ${PROJECT_SOURCE_DIR}/cmake/man_page.cmake VERBATIM)
  add_custom_target(${program}_man ALL DEPENDS ${page})
  install(FILES ${page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()
zarn_man_page(zarn-catalog "keep a catalog of field-device types from the command line" -DSUBCOMMANDS=ON)
if(TARGET zarnl)
  zarn_man_page(zarnl "compile device descriptions (EDDL) into device XML")
endif()

configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/ZarnCatalogConfig.cmake.in
  ${PROJECT_BINARY_DIR}/ZarnCatalogConfig.cmake INSTALL_DESTINATION ${ZARN_INSTALL_CMAKEDIR}
  PATH_VARS CMAKE_INSTALL_INCLUDEDIR CMAKE_INSTALL_LIBDIR)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/ZarnCatalogConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/ZarnCatalogConfig.cmake ${PROJECT_BINARY_DIR}/ZarnCatalogConfigVersion.cmake
        DESTINATION ${ZARN_INSTALL_CMAKEDIR})

file(RELATIVE_PATH ZARN_PREFIX_FROM_PCDIR ${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig ${CMAKE_INSTALL_PREFIX})
configure_file(${PROJECT_SOURCE_DIR}/cmake/zarn-catalog.pc.in ${PROJECT_BINARY_DIR}/zarn-catalog.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/zarn-catalog.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
