# Programs that make files at build time (the rendered icons, the manual). A cross build cannot
# run its own, so it runs those of the Linux build of the same sources (PELMORA_HOST_TOOLS_DIR,
# the release preset's tools folder by default); their output does not depend on the system.
set(PELMORA_HOST_TOOLS_DIR ${CMAKE_SOURCE_DIR}/build/tools CACHE PATH
    "Where a cross build finds the Linux build's pelmora-icons and pelmora-manual")

# pelmora_build_tool(NAME SOURCE LIBRARIES...): sets PELMORA_TOOL_<NAME> to the command to run and
# PELMORA_TOOL_<NAME>_DEPENDS to what the commands that run it depend on.
function(pelmora_build_tool name source)
  if(CMAKE_CROSSCOMPILING)
    set(tool ${PELMORA_HOST_TOOLS_DIR}/${name})
    if(NOT EXISTS ${tool})
      message(FATAL_ERROR "${tool} is missing: build the Linux program first "
                          "(cmake --preset release && cmake --build --preset release)")
    endif()
    set(PELMORA_TOOL_${name} ${tool} PARENT_SCOPE)
    set(PELMORA_TOOL_${name}_DEPENDS ${tool} PARENT_SCOPE)
    return()
  endif()
  add_executable(${name} ${source})
  target_link_libraries(${name} PRIVATE ${ARGN})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
  pelmora_warnings(${name})
  set(PELMORA_TOOL_${name} $<TARGET_FILE:${name}> PARENT_SCOPE)
  set(PELMORA_TOOL_${name}_DEPENDS ${name} PARENT_SCOPE)
endfunction()
