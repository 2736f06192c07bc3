#!/usr/bin/env bash
# Builds the Debian package of K52CFG (a release build without tests) and
# prints the path of the .deb. Build directory: build/package (or $1).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

build_dir=${1:-build/package}
# Debian's own compiler and linker flags (-O2, stack protector, fortified
# functions, read-only relocations bound at start-up); the debug information
# they ask for is stripped when the package is made.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cxxflags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
ldflags=$(dpkg-buildflags --get LDFLAGS)
cmake -S . -B "$build_dir" -G Ninja \
  -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_CXX_FLAGS="$cxxflags" \
  -DCMAKE_CXX_FLAGS_RELEASE="-DNDEBUG" \
  -DCMAKE_EXE_LINKER_FLAGS="$ldflags" \
  -DCMAKE_INSTALL_PREFIX=/usr \
  -DK52_BUILD_TESTS=OFF \
  -DK52_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$build_dir" -j "$(nproc)"

# Only the package made now is reported, not one left from an earlier run.
rm -f "$build_dir"/k52cfg_*.deb
(cd "$build_dir" && cpack -G DEB >/dev/null)
deb=$(ls "$build_dir"/k52cfg_*.deb)
realpath "$deb"
