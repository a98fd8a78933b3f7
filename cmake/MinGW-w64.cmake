# Cross build for 64-bit Windows with Debian's MinGW-w64 (packages mingw-w64, g++-mingw-w64-x86-64).
# The posix thread model gives std::thread and std::mutex; everything is linked statically so
# the executables run without the compiler's DLLs beside them. Tests run under Wine.
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

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Tests and test discovery run the executables under Wine, in a prefix of the build's own
# (created on first use), quiet, and without offering to install Mono or Gecko.
find_program(PELMORA_WINE NAMES wine wine64)
if(PELMORA_WINE)
  set(PELMORA_WINE_PREFIX ${CMAKE_BINARY_DIR}/wine-prefix)
  set(CMAKE_CROSSCOMPILING_EMULATOR /usr/bin/env WINEPREFIX=${PELMORA_WINE_PREFIX} WINEDEBUG=-all
                                    WINEDLLOVERRIDES=mscoree,mshtml= ${PELMORA_WINE})
endif()
