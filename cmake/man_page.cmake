# Writes a manual page for a command-line program from its own --help text:
#   cmake -DPROGRAM=path -DNAME=zarn-catalog -DSUMMARY="..." -DVERSION=x.y.z
#         [-DSUBCOMMANDS=ON] -DOUT=file.1 -P man_page.cmake
# With SUBCOMMANDS, the usage of every command the overview lists follows it.
function(help_text out)
  execute_process(COMMAND ${PROGRAM} ${ARGN} OUTPUT_VARIABLE text ERROR_VARIABLE err)
  if(text STREQUAL "")
    set(text "${err}")
  endif()
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

function(troff_block text out)
  string(REPLACE "\\" "\\e" text "${text}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" text "${text}")
  set(${out} ".nf\n${text}\n.fi\n" PARENT_SCOPE)
endfunction()

help_text(overview --help)
troff_block("${overview}" body)
string(TOUPPER "${NAME}" title)
string(CONCAT page ".TH ${title} 1 \"\" \"${NAME} ${VERSION}\" \"User Commands\"\n"
         ".SH NAME\n${NAME} \\- ${SUMMARY}\n.SH DESCRIPTION\n${body}")
if(SUBCOMMANDS)
  string(APPEND page ".SH COMMANDS\n")
  string(REGEX MATCHALL "\n  [a-z][a-z0-9-]* " listed "${overview}")
  foreach(entry ${listed})
    string(STRIP "${entry}" command)
    help_text(usage ${command} --help)
    troff_block("${usage}" block)
    string(APPEND page ".SS ${command}\n${block}")
  endforeach()
endif()
file(WRITE ${OUT} "${page}")
