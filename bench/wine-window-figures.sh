#!/usr/bin/env bash
# The window program's figures on a virtual display, with real key events:
#   start    from starting the program to its window shown
#   upload   an upload from the demo station: from Alt+U to the modules
#            shown in the slot list
#   close    from Alt+F4 to the program ended
# for k52cfg.exe under Wine (the windows-gui build) and, beside it, the Linux
# k52cfg (the default build); the median of three runs each.
#   bench/wine-window-figures.sh [runs, default 3]
# Needs scripts/setup-windows.sh, the default and windows-gui builds.
set -euo pipefail
cd "$(dirname "$0")/.."
. tests/install/wine-window.sh
runs=${1:-3}
cache=${K52_WINDOWS_CACHE:-$HOME/.cache/k52cfg-windows}
work=$(mktemp -d)
xvfb_pid=""
program=""
cleanup() {
  if [ -n "$program" ]; then kill "$program" 2>/dev/null || true; fi
  WINEPREFIX=$work/prefix wineserver -k 2>/dev/null || true
  stop_display
  rm -rf "$work"
}
trap cleanup EXIT

cp -a "$cache/wineprefix" "$work/prefix"
export WINEPREFIX=$work/prefix WINEDEBUG=-all
start_display
wineserver -p 60 </dev/null >/dev/null 2>&1 &
wine cmd /c exit </dev/null >/dev/null 2>&1 || true

now() { date +%s.%N; }
since() { echo "$(now) - $1" | bc; }
shown() { xdotool search --onlyvisible --name "$1" 2>/dev/null | tail -1; }
list_rows() { xwd -silent -id "$1" 2>/dev/null | convert xwd:- -crop 240x110+20+125 +repage rgb:- 2>/dev/null | md5sum; }

# figures <label> <settings file> <program and arguments...>
figures() {
  local label=$1 settings=$2
  shift 2
  local starts=() uploads=() closes=() t main before
  mkdir -p "$(dirname "$settings")"
  for _ in $(seq "$runs"); do
    printf '[Settings]\nDisplayLanguage=English.lng\n[ComSettings]\nCOMPortName=sim:\n' >"$settings"
    t=$(now)
    "$@" </dev/null >/dev/null 2>&1 &
    program=$!
    local deadline=$((SECONDS + 30))
    until main=$(shown '^K52CFG') && [ -n "$main" ]; do
      [ $SECONDS -lt $deadline ] || { echo "$label: no window" >&2; return 1; }
      sleep 0.02
    done
    starts+=("$(since "$t")")
    sleep 2
    xdotool windowfocus --sync "$main"
    sleep 0.3
    # The upload's end shows in the slot list (the demo station's modules
    # in place of the empty rows): its top rows, away from where the progress
    # window sits, are watched until they change.
    before=$(list_rows "$main")
    t=$(now)
    xdotool key alt+u
    local deadline=$((SECONDS + 20))
    until [ "$(list_rows "$main")" != "$before" ] || [ $SECONDS -ge $deadline ]; do :; done
    uploads+=("$(since "$t")")
    sleep 1
    t=$(now)
    xdotool key alt+F4
    while kill -0 "$program" 2>/dev/null; do sleep 0.01; done
    closes+=("$(since "$t")")
    program=""
  done
  median() { printf '%s\n' "$@" | sort -n | sed -n "$(((runs + 1) / 2))p"; }
  printf '%-28s start %6.2f s   demo upload %6.2f s   close %6.2f s\n' "$label" \
    "$(median "${starts[@]}")" "$(median "${uploads[@]}")" "$(median "${closes[@]}")"
}

appdata=$(winepath -u "$(wine cmd /c 'echo %APPDATA%' </dev/null 2>/dev/null | tr -d '\r')")
figures "k52cfg.exe under Wine" "$appdata/K52CFG/k52cfg.ini" wine build/windows-gui/bin/k52cfg.exe
export XDG_CONFIG_HOME=$work/config
# On the X display, even where the caller's environment asks Qt for its
# offscreen platform (as the test command does).
QT_QPA_PLATFORM=xcb figures "k52cfg on Linux" "$XDG_CONFIG_HOME/K-VANTRO/k52cfg.conf" build/default/bin/k52cfg
