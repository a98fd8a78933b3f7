# What the Windows executables load at run time, copied beside them into the build's bin folder
# so that they run under Wine (tests) as from the install folder: Qt's DLLs and plug-ins and the
# compiler's runtime DLLs. PELMORA_WINDOWS_DLLS and PELMORA_WINDOWS_PLUGINS are what an install
# ships (the test library and the offscreen platform stay in the build).
set(PELMORA_QT_PLUGINS_DIR ${PELMORA_QT_MINGW_DIR}/plugins)

set(PELMORA_WINDOWS_DLLS)
set(PELMORA_QT_MODULES Core Gui Widgets PrintSupport)
if(TARGET Qt6::Svg)
  list(APPEND PELMORA_QT_MODULES Svg)
endif()
foreach(module IN LISTS PELMORA_QT_MODULES)
  list(APPEND PELMORA_WINDOWS_DLLS ${PELMORA_QT_MINGW_DIR}/bin/Qt6${module}.dll)
endforeach()
foreach(runtime libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${runtime} OUTPUT_VARIABLE path
                  OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_ABSOLUTE "${path}" OR NOT EXISTS "${path}")
    message(FATAL_ERROR "The MinGW runtime ${runtime} was not found (package gcc-mingw-w64-x86-64-posix-runtime)")
  endif()
  list(APPEND PELMORA_WINDOWS_DLLS ${path})
endforeach()

# Relative to the plug-in folder; Qt looks for them in folders of these names beside the executable.
set(PELMORA_WINDOWS_PLUGINS platforms/qwindows.dll styles/qwindowsvistastyle.dll imageformats/qico.dll)
if(TARGET Qt6::Svg)
  list(APPEND PELMORA_WINDOWS_PLUGINS iconengines/qsvgicon.dll imageformats/qsvg.dll)
endif()

foreach(file IN LISTS PELMORA_WINDOWS_DLLS)
  file(COPY ${file} DESTINATION ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
endforeach()
file(COPY ${PELMORA_QT_MINGW_DIR}/bin/Qt6Test.dll DESTINATION ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
foreach(plugin IN LISTS PELMORA_WINDOWS_PLUGINS ITEMS platforms/qoffscreen.dll)
  if(NOT EXISTS ${PELMORA_QT_PLUGINS_DIR}/${plugin})
    message(FATAL_ERROR "${PELMORA_QT_PLUGINS_DIR}/${plugin} is missing; rebuild the Qt for MinGW "
                        "(remove ${PELMORA_QT_MINGW_DIR} and run scripts/qt-windows.sh)")
  endif()
  get_filename_component(folder ${plugin} DIRECTORY)
  file(COPY ${PELMORA_QT_PLUGINS_DIR}/${plugin} DESTINATION ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/${folder})
endforeach()

# The offscreen platform reads fonts only from "lib/fonts" below the folder of Qt's DLLs. The GUI
# tests get there the faces fontconfig gives them on Linux (their main() leads the Windows names
# "Arial" and "Courier" to them), so that texts measure the same under Wine.
if(PELMORA_BUILD_TESTS)
  set(PELMORA_TEST_FONTS)
  foreach(face liberation/LiberationSans liberation/LiberationMono liberation/LiberationSerif
               dejavu/DejaVuSans dejavu/DejaVuSansMono)
    file(GLOB found /usr/share/fonts/truetype/${face}.ttf /usr/share/fonts/truetype/${face}-*.ttf)
    if(NOT found)
      message(FATAL_ERROR "/usr/share/fonts/truetype/${face} is missing (packages fonts-liberation, "
                          "fonts-dejavu-core)")
    endif()
    list(APPEND PELMORA_TEST_FONTS ${found})
  endforeach()
  file(COPY ${PELMORA_TEST_FONTS} DESTINATION ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/lib/fonts)
endif()
