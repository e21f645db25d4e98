# Install rules for everything shipped, and the packages CPack makes of
# them: on Linux the Debian package (zkc, zkc-sim, their man pages, the
# panel and the launcher that opens it under Wine), on Windows the zip.
# scripts/package.sh makes both into build/dist.
set(CPACK_PACKAGE_NAME zkc-vandor)
set(CPACK_PACKAGE_VERSION 1.0.0.1)
set(CPACK_PACKAGE_VENDOR "ZKC-Vandor developers")
set(CPACK_PACKAGE_CONTACT "ZKC-Vandor developers <developers@zkc-vandor.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "read and set the motor current of ZKC motor controllers")
set(CPACK_OUTPUT_FILE_PREFIX ${PROJECT_SOURCE_DIR}/build/dist)
# Installing builds nothing: scripts/package.sh builds what is shipped, and
# the tests of a tree need not be built to package it.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

if(WIN32)
  # The zip: the panel for both Windows widths, zkc and a short README.
  # The 32-bit panel comes from its own tree (ZKC_WINDOWS32_PROGRAM).
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(panelFolder x86)
  else()
    set(panelFolder x64)
  endif()
  install(TARGETS zkc-vandor RUNTIME DESTINATION ${panelFolder})
  install(TARGETS zkc RUNTIME DESTINATION .)
  install(FILES packaging/windows-readme.txt DESTINATION . RENAME README.txt)
  set(ZKC_WINDOWS32_PROGRAM "" CACHE FILEPATH "The 32-bit zkc-vandor.exe for the zip's x86 folder")
  if(ZKC_WINDOWS32_PROGRAM)
    install(FILES ${ZKC_WINDOWS32_PROGRAM} DESTINATION x86)
  endif()
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME zkc-vandor-1.0.0.1-windows)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
else()
  include(GNUInstallDirs)
  install(TARGETS zkc zkc-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  # The launcher under the name it is installed by, which its man page shows.
  set(launcher ${CMAKE_BINARY_DIR}/zkc-vandor)
  configure_file(packaging/zkc-vandor.sh ${launcher} COPYONLY)
  install(PROGRAMS ${launcher} DESTINATION ${CMAKE_INSTALL_BINDIR})
  # The 64-bit panel comes from the Windows tree (ZKC_WINDOWS_PROGRAM).
  set(ZKC_WINDOWS_PROGRAM "" CACHE FILEPATH "The zkc-vandor.exe that the launcher opens")
  if(ZKC_WINDOWS_PROGRAM)
    install(FILES ${ZKC_WINDOWS_PROGRAM} DESTINATION ${CMAKE_INSTALL_DATADIR}/zkc-vandor)
  endif()

  # Man pages from each program's --help, where help2man is there.
  find_program(HELP2MAN help2man)
  if(HELP2MAN)
    set(manPages "")
    set(name_zkc "read and set DAC0 of ZKC motor controllers from the command line")
    set(name_zkc-sim "play ZKC motor controllers on a serial line")
    set(name_zkc-vandor "open the ZKC-Vandor panel under Wine on serial adapters")
    set(program_zkc $<TARGET_FILE:zkc>)
    set(program_zkc-sim $<TARGET_FILE:zkc-sim>)
    set(program_zkc-vandor ${launcher})
    set(commands_zkc "get\\;set\\;scan\\;reset\\;apply")
    foreach(page zkc zkc-sim zkc-vandor)
      set(output ${CMAKE_BINARY_DIR}/man/${page}.1.gz)
      add_custom_command(OUTPUT ${output}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
        COMMAND ${CMAKE_COMMAND} "-DPROGRAM=${program_${page}}" "-DNAME=${name_${page}}"
                "-DOUTPUT=${output}" "-DCOMMANDS=${commands_${page}}" -DSOURCE=${PROJECT_SOURCE_DIR}
                -P ${PROJECT_SOURCE_DIR}/cmake/man_page.cmake
        DEPENDS ${PROJECT_SOURCE_DIR}/cmake/man_page.cmake ${program_${page}}
        COMMENT "Man page of ${page}")
      list(APPEND manPages ${output})
    endforeach()
    add_custom_target(zkc_man_pages ALL DEPENDS ${manPages})
    install(FILES ${manPages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  endif()

  set(docs ${CMAKE_INSTALL_DATADIR}/doc/zkc-vandor)
  install(FILES packaging/copyright DESTINATION ${docs})
  set(changelog ${CMAKE_BINARY_DIR}/changelog.gz)
  add_custom_command(OUTPUT ${changelog}
    COMMAND gzip -9nc ${PROJECT_SOURCE_DIR}/packaging/changelog > ${changelog}
    DEPENDS ${PROJECT_SOURCE_DIR}/packaging/changelog)
  add_custom_target(zkc_changelog ALL DEPENDS ${changelog})
  install(FILES ${changelog} DESTINATION ${docs})

  set(CPACK_GENERATOR DEB)
  # Only here: the Windows programs are linked stripped, and stripping them
  # again would stamp the time of packaging into their PE header.
  set(CPACK_STRIP_FILES ON)
  set(CPACK_DEBIAN_FILE_NAME zkc-vandor_1.0.0.1_amd64.deb)
  set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE amd64)
  set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "wine, wine64")
  set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
  # Below the synopsis, which CPACK_PACKAGE_DESCRIPTION_SUMMARY gives.
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
      "ZKC-Vandor reads and sets the motor current on run (the 12-bit DAC0 word,
register 0x020B) of ZKC motor controllers on serial lines, such as USB to
RS-485 adapters.
.
This package holds zkc, a command line for scripted and batch calibration
(get, set, scan, reset, and apply a CSV plan with a record); zkc-sim, which
plays controllers on a pseudo-terminal for trying and testing without
hardware; and the ZKC-Vandor panel, a Windows program, with the zkc-vandor
launcher that opens it under Wine on the serial adapters it finds.")
endif()

include(CPack)
