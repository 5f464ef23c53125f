# The release package for the bench: one ZIP of the 32-bit Windows build,
# made by the build's `package` target (CPack, ZIP generator):
#
#   cmake --build build/windows-i686 --target package
#
# writes build/windows-i686/Sonvio-VERSION-win32.zip with one top folder of
# the same name: the plug-in, the transport stand-in, the host stand-in,
# the simulated handset and the log tools, the help file when the build
# made one, the getting-started scripts, the tours and the example checks
# (in the folders they have in the source tree, so their relative paths
# hold), the guides as markdown text (README.md and docs/*.md, their links
# between each other intact) and INSTALL.txt.
# The bench installs the 32-bit plug-in, so only the i686 build packages;
# the 64-bit build (which runs under Wine) and the native builds have no
# package target.
if(NOT WIN32 OR NOT CMAKE_SIZEOF_VOID_P EQUAL 4)
  return()
endif()

set(SONVIO_PACKAGE_NAME Sonvio-${PROJECT_VERSION}-win32)
set(_sonvio_pkg COMPONENT bench)

install(PROGRAMS $<TARGET_FILE:Sonvio> $<TARGET_FILE:tessic> $<TARGET_FILE:benchora>
                 $<TARGET_FILE:fmr-sim> $<TARGET_FILE:fmr-rds> $<TARGET_FILE:fmr-plot>
        DESTINATION . ${_sonvio_pkg})

# The help file is built only where the help compiler is installed.
set(_sonvio_help ${CMAKE_BINARY_DIR}/bin/SonvioHelp.chm)
install(FILES ${_sonvio_help} DESTINATION . OPTIONAL ${_sonvio_pkg})
install(CODE "if(NOT EXISTS \"${_sonvio_help}\")
  message(NOTICE \"Sonvio package: ${_sonvio_help} is missing (no help compiler?): \"
                 \"the package has no help file\")
endif()" ${_sonvio_pkg})

file(GLOB _sonvio_getting_started CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/docs/getting-started/*.txt)
install(FILES ${_sonvio_getting_started} DESTINATION docs/getting-started ${_sonvio_pkg})
# The first-generation tour replays RDS groups from tours/rds_replay.log.
file(GLOB _sonvio_tours CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tours/*.txt)
install(FILES ${_sonvio_tours} ${PROJECT_SOURCE_DIR}/tours/rds_replay.log DESTINATION tours
        ${_sonvio_pkg})

file(GLOB _sonvio_examples CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/examples/*.txt)
install(FILES ${_sonvio_examples} DESTINATION examples ${_sonvio_pkg})
# The guides, as the source tree has them.
file(GLOB _sonvio_guides CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/docs/*.md)
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION . ${_sonvio_pkg})
install(FILES ${_sonvio_guides} DESTINATION docs ${_sonvio_pkg})

# Windows readers get CR LF line ends.
configure_file(${PROJECT_SOURCE_DIR}/docs/INSTALL.txt ${CMAKE_BINARY_DIR}/package/INSTALL.txt
               @ONLY NEWLINE_STYLE CRLF)
install(FILES ${CMAKE_BINARY_DIR}/package/INSTALL.txt DESTINATION . ${_sonvio_pkg})

set(CPACK_GENERATOR ZIP)
set(CPACK_SOURCE_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Sonvio)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME ${SONVIO_PACKAGE_NAME})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
# Only what is installed above: no other install rule reaches the package.
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};Sonvio;bench;/")
include(CPack)

unset(_sonvio_pkg)
unset(_sonvio_help)
unset(_sonvio_getting_started)
unset(_sonvio_tours)
unset(_sonvio_examples)
unset(_sonvio_guides)
