# Windows: everything goes into the program folder itself, as the program expects to find it:
# pelmora.exe, pelmora-cli.exe, the language file and the manual side by side, Qt's DLLs and
# plug-ins and the compiler's runtime beside them. Settings profiles, journals and recovered
# histories go to the user's application-data folders (CAppPaths). The `installer` target makes
# the NSIS installer from that layout.
set(PELMORA_WINDOWS_PROGRAMS pelmora-cli)
if(PELMORA_BUILD_GUI)
  list(APPEND PELMORA_WINDOWS_PROGRAMS pelmora pelmora-cli-draw)
endif()
install(TARGETS ${PELMORA_WINDOWS_PROGRAMS} RUNTIME DESTINATION .)
install(FILES ${CMAKE_SOURCE_DIR}/resources/TrelPMEnStr.ini DESTINATION .)
if(NOT PELMORA_BUILD_GUI)
  return()
endif()

install(FILES ${PELMORA_MANUAL_PDF} DESTINATION .)
install(FILES ${PELMORA_WINDOWS_DLLS} DESTINATION .)
foreach(plugin IN LISTS PELMORA_WINDOWS_PLUGINS)
  get_filename_component(folder ${plugin} DIRECTORY)
  install(FILES ${PELMORA_QT_PLUGINS_DIR}/${plugin} DESTINATION ${folder})
endforeach()

# The icon of the program and of its history files, at every size Windows shows.
pelmora_build_tool(pelmora-icons ${CMAKE_SOURCE_DIR}/resources/tool/main.cpp Qt6::Gui)
set(PELMORA_WINDOWS_ICON ${CMAKE_BINARY_DIR}/pelmora.ico)
add_custom_command(
  OUTPUT ${PELMORA_WINDOWS_ICON}
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ${PELMORA_TOOL_pelmora-icons} --ico
          ${PELMORA_WINDOWS_ICON} ${CMAKE_SOURCE_DIR}/resources/icons/app.svg
  DEPENDS ${PELMORA_TOOL_pelmora-icons_DEPENDS} ${CMAKE_SOURCE_DIR}/resources/icons/app.svg
  COMMENT "Writing the Windows icon pelmora.ico"
  VERBATIM)
add_custom_target(pelmora_windows_icon DEPENDS ${PELMORA_WINDOWS_ICON})
configure_file(${CMAKE_SOURCE_DIR}/installer/pelmora.rc.in ${CMAKE_BINARY_DIR}/pelmora.rc @ONLY)
target_sources(pelmora PRIVATE ${CMAKE_BINARY_DIR}/pelmora.rc)
add_dependencies(pelmora pelmora_windows_icon)

find_program(PELMORA_MAKENSIS makensis)
if(NOT PELMORA_MAKENSIS)
  message(STATUS "makensis not found: no installer (scripts/install-deps.sh --windows installs nsis)")
  return()
endif()
set(PELMORA_INSTALLER ${CMAKE_BINARY_DIR}/pelmora-${PROJECT_VERSION}-setup.exe)
set(PELMORA_STAGE ${CMAKE_BINARY_DIR}/installer-stage)
add_custom_target(installer
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${PELMORA_STAGE}
  COMMAND ${CMAKE_COMMAND} --install ${CMAKE_BINARY_DIR} --prefix ${PELMORA_STAGE} --strip
  COMMAND ${CMAKE_COMMAND} -DSTAGE=${PELMORA_STAGE} -DOUTPUT=${PELMORA_STAGE}-files.nsh -P
          ${CMAKE_SOURCE_DIR}/installer/ListInstalledFiles.cmake
  COMMAND ${PELMORA_MAKENSIS} -V2 -DVERSION=${PROJECT_VERSION} -DSTAGE=${PELMORA_STAGE}
          -DICON=${PELMORA_WINDOWS_ICON} -DOUTFILE=${PELMORA_INSTALLER} -DFILES=${PELMORA_STAGE}-files.nsh
          ${CMAKE_SOURCE_DIR}/installer/pelmora.nsi
  BYPRODUCTS ${PELMORA_INSTALLER}
  COMMENT "Making the installer pelmora-${PROJECT_VERSION}-setup.exe"
  VERBATIM)
add_dependencies(installer ${PELMORA_WINDOWS_PROGRAMS} pelmora_manual_pdf)
