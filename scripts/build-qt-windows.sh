#!/usr/bin/env bash
# Qt 6 for 64-bit Windows, static, as the Windows window build uses it:
# made from Debian's own qt6-base source package with the MinGW-w64 cross
# compiler and Debian's Qt as the host tools, into a cache folder outside the
# repository. Quiet and quick when the cache holds it already.
#
#   scripts/build-qt-windows.sh [ARCHIVE]
#
# ARCHIVE (or K52_QT_WINDOWS_ARCHIVE) is a prebuilt copy of the same build, a
# .tar.xz holding qt-mingw/; without one, a copy in shared/toolchains beside
# the repository (or a folder above it) is used when it is there, and otherwise Qt is built (about an hour on two
# cores). The result: ${K52_WINDOWS_CACHE:-~/.cache/k52cfg-windows}/qt-mingw
set -euo pipefail
cd "$(dirname "$0")/.."

version=6.4.2
cache=${K52_WINDOWS_CACHE:-$HOME/.cache/k52cfg-windows}
dest=$cache/qt-mingw
marker=$dest/lib/cmake/Qt6/Qt6Config.cmake
# The prebuilt copy kept beside the repository (in shared/toolchains of a
# folder above it), when there is one.
known_archive=""
folder=$PWD
while [ "$folder" != / ]; do
  folder=$(dirname "$folder")
  if [ -f "$folder/shared/toolchains/qt-$version-mingw-static.tar.xz" ]; then
    known_archive=$folder/shared/toolchains/qt-$version-mingw-static.tar.xz
    break
  fi
done
known_sha256=6eb990b42c04e3b5f9315352843ecef4bed369e0093e6563832c6a188b71e95c

if [ -f "$marker" ]; then
  exit 0
fi
mkdir -p "$cache"

. scripts/packages.sh

# The unpacked or installed tree goes into place in one rename, so that an
# interrupted run never leaves a half tree that looks complete.
take() {
  local tree=$1
  if [ ! -f "$tree/lib/cmake/Qt6/Qt6Config.cmake" ]; then
    echo "build-qt-windows: $tree does not hold Qt for Windows" >&2
    exit 1
  fi
  rm -rf "$dest"
  mv "$tree" "$dest"
  echo "Qt $version for Windows is in $dest"
}

archive=${1:-${K52_QT_WINDOWS_ARCHIVE:-}}
if [ -z "$archive" ] && [ -n "$known_archive" ]; then
  archive=$known_archive
fi
if [ -n "$archive" ]; then
  if [ ! -f "$archive" ]; then
    echo "build-qt-windows: no such archive: $archive" >&2
    exit 2
  fi
  if [ -n "$known_archive" ] && [ "$(realpath "$archive")" = "$(realpath "$known_archive")" ] &&
     ! echo "$known_sha256  $archive" | sha256sum --check --status; then
    echo "build-qt-windows: $archive is not the expected build (sha256 differs)" >&2
    exit 1
  fi
  echo "Unpacking Qt for Windows from $archive ..."
  work=$(mktemp -d "$cache/qt-unpack.XXXXXX")
  trap 'rm -rf "$work"' EXIT
  tar -xJf "$archive" -C "$work"
  take "$work/qt-mingw"
  exit 0
fi

# No prebuilt copy: built from Debian's source.
install_missing g++-mingw-w64-x86-64-posix qt6-base-dev qt6-base-dev-tools cmake ninja-build dpkg-dev
ensure_deb_src

work=$cache/qt-build-work
rm -rf "$work"
mkdir -p "$work/source" "$work/build"
trap 'rm -rf "$work"' EXIT
echo "Fetching Debian's qt6-base source ..."
(cd "$work/source" && apt-get source --download-only qt6-base >/dev/null && dpkg-source -x ./*.dsc src >/dev/null)
if ! grep -q "^set(QT_REPO_MODULE_VERSION \"$version\")" "$work/source/src/.cmake.conf"; then
  echo "build-qt-windows: Debian's qt6-base is not Qt $version; the host tools must match" >&2
  exit 1
fi
echo "Building Qt $version for Windows (about an hour on two cores) ..."
(
  cd "$work/build"
  "$work/source/src/configure" -prefix "$work/qt-mingw" -release -static -static-runtime \
    -xplatform win32-g++ -device-option CROSS_COMPILE=x86_64-w64-mingw32- -qt-host-path /usr -- \
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_C_COMPILER=x86_64-w64-mingw32-gcc-posix -DCMAKE_CXX_COMPILER=x86_64-w64-mingw32-g++-posix \
    -DCMAKE_RC_COMPILER=x86_64-w64-mingw32-windres -DCMAKE_SYSTEM_NAME=Windows \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF \
    -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_testlib=ON \
    -DFEATURE_concurrent=OFF -DFEATURE_vulkan=OFF -DFEATURE_system_zlib=OFF \
    -DFEATURE_printsupport=OFF -DFEATURE_tabletevent=OFF >configure.log 2>&1 ||
    { tail -40 configure.log >&2; exit 1; }
  cmake --build . --parallel >build.log 2>&1 || { tail -40 build.log >&2; exit 1; }
  cmake --install . >/dev/null
)
take "$work/qt-mingw"
