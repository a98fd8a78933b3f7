# The user manual: docs/manual/pelmora-manual.md and its screenshots become "TrelPMEnHlp.pdf"
# beside the executable, where Help looks for it.
if(NOT PELMORA_BUILD_GUI)
  return()
endif()

pelmora_build_tool(pelmora-manual ${CMAKE_SOURCE_DIR}/docs/manual/tool/main.cpp Qt6::Gui)

file(GLOB PELMORA_MANUAL_IMAGES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/docs/manual/images/*.png)
set(PELMORA_MANUAL_SOURCE ${CMAKE_SOURCE_DIR}/docs/manual/pelmora-manual.md)
set(PELMORA_MANUAL_PDF ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/TrelPMEnHlp.pdf)
add_custom_command(
  OUTPUT ${PELMORA_MANUAL_PDF}
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ${PELMORA_TOOL_pelmora-manual} ${PELMORA_MANUAL_SOURCE}
          ${PELMORA_MANUAL_PDF}
  DEPENDS ${PELMORA_TOOL_pelmora-manual_DEPENDS} ${PELMORA_MANUAL_SOURCE} ${PELMORA_MANUAL_IMAGES}
  COMMENT "Writing the user manual TrelPMEnHlp.pdf"
  VERBATIM)
add_custom_target(pelmora_manual_pdf ALL DEPENDS ${PELMORA_MANUAL_PDF})

# Screenshots for the manual, taken by scripts/manual-shots.sh; built only on request. It sits
# beside the program so that it finds the language file there.
add_executable(pelmora-manual-shots EXCLUDE_FROM_ALL ${CMAKE_SOURCE_DIR}/docs/manual/tool/shots.cpp)
target_link_libraries(pelmora-manual-shots PRIVATE pelmora_gui)
pelmora_warnings(pelmora-manual-shots)
