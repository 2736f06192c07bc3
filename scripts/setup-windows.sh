#!/usr/bin/env bash
# Installs what the Windows build needs and builds its libraries: the
# MinGW-w64 cross compiler and Wine from Debian, then pugixml (from Debian's
# source package) and GoogleTest (from /usr/src/googletest) built with the
# cross compiler into a cache folder outside the repository:
#   ${K52_WINDOWS_CACHE:-~/.cache/k52cfg-windows}/prefix    the libraries
#   ${K52_WINDOWS_CACHE:-~/.cache/k52cfg-windows}/wineprefix the Wine prefix
# Idempotent: quiet when everything is there already.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

cache=${K52_WINDOWS_CACHE:-$HOME/.cache/k52cfg-windows}
prefix=$cache/prefix
toolchain=$PWD/cmake/mingw-w64-x86_64.cmake

. scripts/packages.sh
# (Wine registers the system's fonts in its prefixes: fonts-ipafont-gothic is
# the Japanese font of the windows tested in Japanese under Wine; NSIS makes
# the installer, and Xvfb, openbox, xdotool, xwd and ImageMagick drive the
# installed window program in the installer's end-to-end test.)
install_missing g++-mingw-w64-x86-64-posix wine wine64 fonts-wine fonts-ipafont-gothic qt6-translations-l10n googletest dpkg-dev cmake ninja-build zip \
  nsis xvfb xdotool x11-apps x11-utils imagemagick openbox

mkdir -p "$cache"

# Runs a step quietly, showing its output only when it fails.
quiet() {
  local log
  log=$(mktemp)
  if ! "$@" >"$log" 2>&1; then
    cat "$log" >&2
    rm -f "$log"
    return 1
  fi
  rm -f "$log"
}

# pugixml: Debian's own source, the same version as the Linux build uses.
if [ ! -f "$prefix/lib/cmake/pugixml/pugixml-config.cmake" ]; then
  ensure_deb_src
  echo "Building pugixml for Windows ..."
  rm -rf "$cache/pugixml-source" "$cache/pugixml-build"
  mkdir -p "$cache/pugixml-source"
  (cd "$cache/pugixml-source" && quiet apt-get source --download-only pugixml &&
     quiet dpkg-source -x ./*.dsc src)
  quiet cmake -S "$cache/pugixml-source/src" -B "$cache/pugixml-build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_SHARED_LIBS=OFF -DPUGIXML_BUILD_TESTS=OFF
  quiet cmake --build "$cache/pugixml-build"
  quiet cmake --install "$cache/pugixml-build"
  rm -rf "$cache/pugixml-source" "$cache/pugixml-build"
fi

# GoogleTest and GoogleMock from the sources Debian installs.
if [ ! -f "$prefix/lib/cmake/GTest/GTestConfig.cmake" ]; then
  echo "Building GoogleTest for Windows ..."
  rm -rf "$cache/googletest-build"
  quiet cmake -S /usr/src/googletest -B "$cache/googletest-build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_SHARED_LIBS=OFF -Dgtest_disable_pthreads=OFF
  quiet cmake --build "$cache/googletest-build"
  quiet cmake --install "$cache/googletest-build"
  rm -rf "$cache/googletest-build"
fi

# A Wine prefix of our own, made once (about 10 s); nothing may wait for input.
export WINEPREFIX=$cache/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "Making the Wine prefix ..."
  wineboot -i >/dev/null 2>&1 </dev/null
  wineserver -w
fi
# The windows draw their texts in the dialog font "MS Shell Dlg", which Wine
# maps to Tahoma; Wine here does not list its Tahoma, so the mapper took a
# serif stand-in for every text of every window. DejaVu Sans, a system font,
# stands in instead (Windows itself has its own dialog font).
if [ ! -f "$WINEPREFIX/.k52cfg-dialog-font" ]; then
  for alias in "MS Shell Dlg" "MS Shell Dlg 2"; do
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' /v "$alias" /t REG_SZ \
      /d "DejaVu Sans" /f >/dev/null 2>&1 </dev/null
  done
  wineserver -w
  touch "$WINEPREFIX/.k52cfg-dialog-font"
fi
