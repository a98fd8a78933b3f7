# Installation and the Debian package.
#
# The program finds its language file and help document beside its executable, so the
# executables live together with them in lib/pelmora; bin/ holds links to them (the running
# program resolves a link to its real folder). Settings profiles go to the user's settings
# folder when that folder is not writable.
# The documents go to share/doc/pelmora, the package's name, not the project's.
set(CMAKE_INSTALL_DOCDIR share/doc/pelmora)
include(GNUInstallDirs)

set(PELMORA_INSTALL_APPDIR lib/pelmora)
set(PELMORA_PROGRAMS pelmora-cli pelmora-sim)
if(PELMORA_BUILD_GUI)
  list(PREPEND PELMORA_PROGRAMS pelmora)
endif()

install(TARGETS ${PELMORA_PROGRAMS} RUNTIME DESTINATION ${PELMORA_INSTALL_APPDIR})
install(FILES ${CMAKE_SOURCE_DIR}/resources/TrelPMEnStr.ini DESTINATION ${PELMORA_INSTALL_APPDIR})
foreach(program IN LISTS PELMORA_PROGRAMS)
  install(CODE "
    set(links \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
    file(MAKE_DIRECTORY \"\${links}\")
    file(CREATE_LINK ../${PELMORA_INSTALL_APPDIR}/${program} \"\${links}/${program}\" SYMBOLIC)
    message(STATUS \"Installing: \${links}/${program} -> ../${PELMORA_INSTALL_APPDIR}/${program}\")")
endforeach()

if(PELMORA_BUILD_GUI)
  install(FILES ${CMAKE_SOURCE_DIR}/resources/linux/pelmora.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${CMAKE_SOURCE_DIR}/resources/linux/pelmora-mime.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME pelmora.xml)
  install(FILES ${CMAKE_SOURCE_DIR}/resources/icons/app.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps RENAME pelmora.svg)
endif()

if(TARGET pelmora_manual_pdf)
  install(FILES ${PELMORA_MANUAL_PDF} DESTINATION ${PELMORA_INSTALL_APPDIR})
  install(DIRECTORY ${CMAKE_SOURCE_DIR}/docs/manual/ DESTINATION ${CMAKE_INSTALL_DOCDIR}/manual
          FILES_MATCHING PATTERN "*.md" PATTERN "*.png" PATTERN "tool" EXCLUDE)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pelmora)
set(CPACK_PACKAGE_VENDOR "Orvane")
set(CPACK_PACKAGE_CONTACT "Pelmora developers <pelmora@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Desktop program for RF power sensors")
# One string (two quoted strings would make a list, and its separator would show in the text);
# CPack does not wrap it, so its lines are kept within the control file's 80 columns.
set(CPACK_PACKAGE_DESCRIPTION
    "Connects to an RF power sensor over USB or a serial port, shows average, peak,\n\
pulse and CCDF measurements live with limits and alarms, records histories\n\
and exports them.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# The build keeps its debugging information; the package does not need it.
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads the SVG icon engine at run time; no library link shows it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "sound-theme-freedesktop, xdg-utils")
include(CPack)
