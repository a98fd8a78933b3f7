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
  # Run by pelmora-cli from beside itself; not a command of its own.
  install(TARGETS pelmora-cli-draw RUNTIME DESTINATION ${PELMORA_INSTALL_APPDIR})
endif()
# The package names whoever builds it, as Debian's own tools do: DEBFULLNAME and DEBEMAIL,
# else the identity the checkout commits under.
function(pelmora_default_maintainer result)
  set(name "$ENV{DEBFULLNAME}")
  set(address "$ENV{DEBEMAIL}")
  find_package(Git QUIET)
  foreach(field name address)
    if(NOT ${field} AND GIT_EXECUTABLE)
      if(field STREQUAL "name")
        set(key user.name)
      else()
        set(key user.email)
      endif()
      execute_process(COMMAND ${GIT_EXECUTABLE} config ${key} WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
                      OUTPUT_VARIABLE ${field} OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    endif()
  endforeach()
  if(NOT name OR NOT address)
    message(WARNING "The package names no maintainer: set DEBFULLNAME and DEBEMAIL, "
                    "git's user.name and user.email, or PELMORA_MAINTAINER")
    set(name "Pelmora packager")
    set(address "packager@localhost")
  endif()
  set(${result} "${name} <${address}>" PARENT_SCOPE)
endfunction()
if(NOT PELMORA_MAINTAINER)
  pelmora_default_maintainer(maintainer)
  set(PELMORA_MAINTAINER "${maintainer}" CACHE STRING "Maintainer of the Debian package, as \"Name <address>\"")
endif()
set(PELMORA_SCREENSHOT_URL "" CACHE STRING
    "Web folder holding the manual's images, for the software centre's screenshots (none when empty)")

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
  include(cmake/PelmoraMetainfo.cmake)
endif()

# Manual pages made from each program's own --help, so that they cannot drift from it.
find_program(PELMORA_HELP2MAN help2man)
if(PELMORA_HELP2MAN)
  set(PELMORA_SUMMARY_pelmora "desktop program for RF power sensors")
  set(PELMORA_SUMMARY_pelmora-cli "command-line tool for RF power sensors and their history files")
  set(PELMORA_SUMMARY_pelmora-sim "virtual RF power sensor on a virtual COM port or the USB layer")
  set(pages)
  foreach(program IN LISTS PELMORA_PROGRAMS)
    set(page ${CMAKE_BINARY_DIR}/man/${program}.1)
    add_custom_command(
      OUTPUT ${page}.gz
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
      COMMAND ${PELMORA_HELP2MAN} --no-info --version-string=${PROJECT_VERSION}
              --name=${PELMORA_SUMMARY_${program}} --output=${page} $<TARGET_FILE:${program}>
      COMMAND gzip -9nf ${page}
      DEPENDS ${program}
      COMMENT "Writing the manual page ${program}.1"
      VERBATIM)
    list(APPEND pages ${page}.gz)
  endforeach()
  add_custom_target(pelmora_man_pages ALL DEPENDS ${pages})
  install(FILES ${pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
else()
  message(STATUS "help2man not found: no manual pages (scripts/install-deps.sh installs it)")
endif()

# What Debian asks of every package: the copyright and the package's own change log.
configure_file(${CMAKE_SOURCE_DIR}/packaging/copyright ${CMAKE_BINARY_DIR}/packaging/copyright @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/packaging/changelog.in ${CMAKE_BINARY_DIR}/packaging/changelog.Debian @ONLY)
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/packaging/changelog.Debian.gz
  COMMAND gzip -9nfk ${CMAKE_BINARY_DIR}/packaging/changelog.Debian
  DEPENDS ${CMAKE_BINARY_DIR}/packaging/changelog.Debian
  VERBATIM)
add_custom_target(pelmora_changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/packaging/changelog.Debian.gz)
install(FILES ${CMAKE_BINARY_DIR}/packaging/copyright ${CMAKE_BINARY_DIR}/packaging/changelog.Debian.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})
# Each tag that lintian reports and the package keeps, with the reason beside it.
install(FILES ${CMAKE_SOURCE_DIR}/packaging/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
        RENAME pelmora)

if(TARGET pelmora_manual_pdf)
  install(FILES ${PELMORA_MANUAL_PDF} DESTINATION ${PELMORA_INSTALL_APPDIR})
  install(DIRECTORY ${CMAKE_SOURCE_DIR}/docs/manual/ DESTINATION ${CMAKE_INSTALL_DOCDIR}/manual
          FILES_MATCHING PATTERN "*.md" PATTERN "*.png" PATTERN "tool" EXCLUDE)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pelmora)
set(CPACK_PACKAGE_VENDOR "Orvane")
set(CPACK_PACKAGE_CONTACT "${PELMORA_MAINTAINER}")
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
# The Debian revision of the top entry of packaging/changelog.in.
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads the SVG icon engine at run time; no library link shows it. Help opens the manual
# with the desktop's viewer through xdg-open.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "sound-theme-freedesktop")
include(CPack)

if(PELMORA_BUILD_TESTS)
  # Builds the package and lints it as a distribution would; skipped where the tools are missing.
  add_test(NAME Package.LintianDesktopFileAppStream
           COMMAND ${CMAKE_SOURCE_DIR}/scripts/check-package.sh ${CMAKE_BINARY_DIR})
  set_tests_properties(Package.LintianDesktopFileAppStream PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 300)
endif()
