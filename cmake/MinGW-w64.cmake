# Cross build for 64-bit Windows with Debian's MinGW-w64 (packages mingw-w64, g++-mingw-w64-x86-64).
# The posix thread model gives std::thread and std::mutex. Tests run under Wine.
# Without Qt everything is linked statically, so the executables run without the compiler's DLLs
# beside them. With the Qt that scripts/qt-windows.sh builds (found in $PELMORA_QT_MINGW_DIR, else
# in its cache folder) the windows are built too, and the runtime is linked dynamically, as Qt's
# DLLs are: one C++ runtime in the process, its DLLs beside the executables.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(PELMORA_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${PELMORA_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${PELMORA_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${PELMORA_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${PELMORA_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(PELMORA_QT_MINGW_DIR "$ENV{PELMORA_QT_MINGW_DIR}")
if(NOT PELMORA_QT_MINGW_DIR)
  set(PELMORA_QT_MINGW_DIR "$ENV{HOME}/.cache/pelmora/qt6-mingw-6.4.2")
endif()
if(EXISTS "${PELMORA_QT_MINGW_DIR}/.pelmora-complete")
  set(PELMORA_QT_MINGW_FOUND ON)
  list(APPEND CMAKE_FIND_ROOT_PATH ${PELMORA_QT_MINGW_DIR})
  list(APPEND CMAKE_PREFIX_PATH ${PELMORA_QT_MINGW_DIR})
  # moc, rcc and uic are Debian's own, of the same version.
  set(QT_HOST_PATH /usr)
  set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake)
else()
  set(PELMORA_QT_MINGW_FOUND OFF)
  set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
endif()

# Tests and test discovery run the executables under Wine, in a prefix of the build's own
# (created on first use), quiet, and without offering to install Mono or Gecko.
find_program(PELMORA_WINE NAMES wine wine64)
if(PELMORA_WINE)
  set(PELMORA_WINE_PREFIX ${CMAKE_BINARY_DIR}/wine-prefix)
  set(CMAKE_CROSSCOMPILING_EMULATOR /usr/bin/env WINEPREFIX=${PELMORA_WINE_PREFIX} WINEDEBUG=-all
                                    WINEDLLOVERRIDES=mscoree,mshtml= ${PELMORA_WINE})
endif()
