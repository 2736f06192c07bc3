#!/usr/bin/env bash
# Sets up, builds and starts K52CFG.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default -j "$(nproc)"

bin=build/default/bin
if [ -x "$bin/k52cfg" ] && { [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; }; then
  exec "$bin/k52cfg"
fi
if [ -x "$bin/k52cfg" ]; then
  echo "No display found: the K52CFG window needs one. Showing the command-line companion instead."
fi
if [ -x "$bin/k52ctl" ]; then
  exec "$bin/k52ctl" demo
fi
echo "K52CFG is built in $bin. The windows and the command-line companion arrive with the next steps;"
echo "run scripts/test.sh to see what works today."
