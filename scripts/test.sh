#!/usr/bin/env bash
# Sets up, builds and runs every test: first the normal build, then the
# same tests built with the address and undefined-behaviour sanitizers, then,
# where Wine is installed (scripts/setup-windows.sh), the Windows stage.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

for preset in default asan; do
  echo "== $preset build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  echo "== $preset tests"
  ctest --preset "$preset" -j "$jobs"
done

cache=${K52_WINDOWS_CACHE:-$HOME/.cache/k52cfg-windows}
if command -v wine >/dev/null && [ -d "$cache/prefix" ]; then
  scripts/test-windows.sh
fi
