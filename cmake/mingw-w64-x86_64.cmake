# Cross-building the Windows programs on Debian with MinGW-w64 (the -posix
# compilers, whose C++ runtime has std::thread). The libraries built by
# scripts/setup-windows.sh are found in its cache folder.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

if(DEFINED ENV{K52_WINDOWS_CACHE})
  set(K52_WINDOWS_CACHE $ENV{K52_WINDOWS_CACHE})
else()
  set(K52_WINDOWS_CACHE $ENV{HOME}/.cache/k52cfg-windows)
endif()

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${K52_WINDOWS_CACHE}/prefix)

# The window: Qt for Windows, static, from scripts/build-qt-windows.sh, with
# Debian's own Qt of the same version as the host tools (moc, rcc, uic).
if(K52_WINDOWS_QT)
  list(APPEND CMAKE_FIND_ROOT_PATH ${K52_WINDOWS_CACHE}/qt-mingw)
  set(QT_HOST_PATH /usr)
  set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake)
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One .exe with nothing beside it: the C and C++ runtimes and winpthread inside.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Tests (and their discovery) run under Wine, in the prefix that
# scripts/setup-windows.sh made, without Wine's debugging chatter.
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/bin/env WINEPREFIX=${K52_WINDOWS_CACHE}/wineprefix WINEDEBUG=-all wine)
