#!/usr/bin/env bash
# Builds the Debian package of K52CFG (a release build without tests) and
# prints the path of the .deb. Build directory: build/package (or $1).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

build_dir=${1:-build/package}
cmake -S . -B "$build_dir" -G Ninja \
  -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_INSTALL_PREFIX=/usr \
  -DK52_BUILD_TESTS=OFF \
  -DK52_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$build_dir" -j "$(nproc)"

# Only the package made now is reported, not one left from an earlier run.
rm -f "$build_dir"/k52cfg_*.deb
(cd "$build_dir" && cpack -G DEB >/dev/null)
deb=$(ls "$build_dir"/k52cfg_*.deb)
realpath "$deb"
