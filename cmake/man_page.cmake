# Writes the man page OUTPUT (gzipped, without a time stamp) of PROGRAM from
# its --help, with help2man; with COMMANDS, a section with each command's
# own --help. The date is that of the commit, as the programs' own.
#   cmake -DPROGRAM=path -DNAME=text -DOUTPUT=file.1.gz [-DCOMMANDS=a;b] -DSOURCE=dir -P man_page.cmake
include(${CMAKE_CURRENT_LIST_DIR}/source_date.cmake)
set(page "${OUTPUT}")
string(REGEX REPLACE "\\.gz$" "" page "${page}")
set(include "${page}.include")
set(includeOption "")
if(COMMANDS)
  file(WRITE "${include}" "[COMMANDS]\n")
  foreach(command IN LISTS COMMANDS)
    execute_process(COMMAND "${PROGRAM}" ${command} --help OUTPUT_VARIABLE help)
    string(REPLACE "\\" "\\e" help "${help}")
    file(APPEND "${include}" ".SS ${command}\n.nf\n${help}.fi\n")
  endforeach()
  set(includeOption "--include=${include}")
endif()
execute_process(COMMAND help2man --no-info --no-discard-stderr --version-string=1.0.0.1
                        "--name=${NAME}" ${includeOption} "--output=${page}" "${PROGRAM}"
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "help2man failed for ${PROGRAM}")
endif()
execute_process(COMMAND gzip -9nf "${page}" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "gzip failed for ${page}")
endif()
file(REMOVE "${include}")
