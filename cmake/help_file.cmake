# The panels' compiled help file. The panels name their help topics as
# "SonvioHelp.chm::/SonvioHelp/Sonvio.html#ANCHOR", and the host looks for
# the file beside the plug-in, so it is built into the folder that holds
# Sonvio.dll: ${CMAKE_BINARY_DIR}/bin in the native and the Windows builds
# alike.
#
# sonvio_add_help_file(TARGET SOURCE_DIR PROJECT OUTPUT [REQUIRED])
#   TARGET      the custom target, part of ALL
#   SOURCE_DIR  the help project's folder (the project file, the contents,
#               the index and the pages)
#   PROJECT     the project file's name in SOURCE_DIR (its "Compiled file"
#               names the file the compiler writes)
#   OUTPUT      where the compiled file goes
#   REQUIRED    stop the configuration when no help compiler is found;
#               otherwise the file is left out with a note
# The sources are copied to a folder of the build first: the compiler
# writes beside its project file, and the source tree stays clean. The
# compiler's own link check resolves links inside subfolders wrongly, so it
# is off; the help test checks the page's anchors and links instead.
function(sonvio_add_help_file target)
  cmake_parse_arguments(ARG "REQUIRED" "SOURCE_DIR;PROJECT;OUTPUT" "" ${ARGN})
  find_program(SONVIO_CHMCMD chmcmd)
  if(NOT SONVIO_CHMCMD)
    if(ARG_REQUIRED)
      message(FATAL_ERROR "chmcmd not found: install the Debian package fp-utils "
                          "(scripts/install-deps.sh does)")
    endif()
    message(STATUS "chmcmd not found (Debian package fp-utils): ${ARG_OUTPUT} is not built")
    return()
  endif()

  file(STRINGS ${ARG_SOURCE_DIR}/${ARG_PROJECT} compiled REGEX "^Compiled file=")
  string(REGEX REPLACE "^Compiled file=" "" compiled "${compiled}")
  if(compiled STREQUAL "")
    message(FATAL_ERROR "${ARG_PROJECT} names no compiled file")
  endif()
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${ARG_SOURCE_DIR}/*)
  set(stage ${CMAKE_CURRENT_BINARY_DIR}/${target})
  add_custom_command(
    OUTPUT ${ARG_OUTPUT}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${stage}
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${ARG_SOURCE_DIR} ${stage}
    COMMAND ${CMAKE_COMMAND} -E chdir ${stage} ${SONVIO_CHMCMD} --no-html-scan ${ARG_PROJECT}
    # The compiler reports some failures only in its output: a file that
    # was not written fails the copy.
    COMMAND ${CMAKE_COMMAND} -E copy ${stage}/${compiled} ${ARG_OUTPUT}
    DEPENDS ${sources}
    COMMENT "Compiling the help file ${compiled}"
    VERBATIM)
  add_custom_target(${target} ALL DEPENDS ${ARG_OUTPUT})
endfunction()

# The native build always has the help file (its test reads it); a Windows
# cross build gets it when the build machine has the compiler.
set(_sonvio_help_required REQUIRED)
if(CMAKE_CROSSCOMPILING)
  set(_sonvio_help_required "")
endif()
sonvio_add_help_file(sonvio_help
  SOURCE_DIR ${PROJECT_SOURCE_DIR}/docs/help
  PROJECT SonvioHelp.hhp
  OUTPUT ${CMAKE_BINARY_DIR}/bin/SonvioHelp.chm
  ${_sonvio_help_required})
unset(_sonvio_help_required)
