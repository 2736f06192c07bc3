#!/usr/bin/env bash
# The Windows installer from end to end, under Wine on a virtual display, as
# an engineer meets it: a silent per-user install; K52CFG started from where
# the installer put it; an upload from the demo station and one from a paced
# k52sim on COM5 (with its progress window and a cancelled first try), each
# saved through the file dialog, all with real key events; the window in
# Japanese; and the uninstaller, which must leave the user's settings and
# files. Works on a copy of the Wine prefix, so the prefix the other tests use
# stays as it was.
#
#   tests/install/windows-setup.sh <K52CFG-x.y.z-setup.exe> [folder for the screenshots]
#
# Needs build/default (k52sim), scripts/setup-windows.sh, Xvfb and xdotool.
set -euo pipefail
cd "$(dirname "$0")/../.."
. tests/install/wine-window.sh

setup=$(realpath "$1")
shots=$(realpath -m "${2:-build/windows-setup}")
mkdir -p "$shots"
cache=${K52_WINDOWS_CACHE:-$HOME/.cache/k52cfg-windows}
k52sim=$PWD/build/default/bin/k52sim

work=$(mktemp -d)
sim=""
program=""
xvfb_pid=""
cleanup() {
  local status=$?
  if [ $status -ne 0 ] && [ -n "${DISPLAY:-}" ] && [ -n "$xvfb_pid" ]; then
    xwd -silent -root | convert xwd:- "$shots/failure.png" 2>/dev/null || true
    echo "what the screen showed: $shots/failure.png" >&2
  fi
  if [ -n "$program" ]; then kill "$program" 2>/dev/null || true; fi
  if [ -n "$sim" ]; then kill "$sim" 2>/dev/null || true; fi
  WINEPREFIX=$work/prefix wineserver -k 2>/dev/null || true
  stop_display
  rm -rf "$work"
}
trap cleanup EXIT

fail() { echo "windows-setup: $*" >&2; exit 1; }
step() { echo "-- $*"; }

cp -a "$cache/wineprefix" "$work/prefix"
export WINEPREFIX=$work/prefix WINEDEBUG=-all
start_display
wineserver -p 10 </dev/null >/dev/null 2>&1 &

windows_path() { winepath -u "$(wine cmd /c "echo $1" </dev/null 2>/dev/null | tr -d '\r')"; }
installed=$(windows_path '%LOCALAPPDATA%')/Programs/K52CFG
roaming=$(windows_path '%APPDATA%')
settings=$roaming/K52CFG/k52cfg.ini
menu=$roaming/Microsoft/Windows/Start\ Menu/Programs/K52CFG
saved=$(winepath -w "$work")

step "silent install"
wine "$setup" /S </dev/null >/dev/null 2>&1
for file in k52cfg.exe k52ctl.exe English.lng Japanese.lng translations/qtbase_ja.qm THIRD-PARTY.txt uninstall.exe; do
  [ -f "$installed/$file" ] || fail "the installer did not put $file into $installed"
done
[ -f "$menu/K52CFG.lnk" ] || fail "no Start menu entry K52CFG"

# The settings K52CFG finds at its start: the display language only; the port
# is chosen in the window.
language() {
  mkdir -p "$(dirname "$settings")"
  if [ -f "$settings" ]; then
    sed -i "s/^DisplayLanguage=.*/DisplayLanguage=$1/" "$settings"
    grep -q '^DisplayLanguage=' "$settings" || printf '[Settings]\r\nDisplayLanguage=%s\r\n' "$1" >>"$settings"
  else
    printf '[Settings]\r\nDisplayLanguage=%s\r\n' "$1" >"$settings"
  fi
}

start_k52cfg() {
  wine "$installed/k52cfg.exe" </dev/null >"$work/k52cfg.out" 2>&1 &
  program=$!
  main=$(wait_window '^K52CFG' 60) || fail "K52CFG's window did not appear"
}

close_k52cfg() {
  keys "$main" alt+F4
  local deadline=$((SECONDS + 20))
  while kill -0 "$program" 2>/dev/null; do
    [ $SECONDS -lt $deadline ] || fail "K52CFG did not end after Alt+F4"
    sleep 0.2
  done
  program=""
}

# Waits until no progress window is shown for a moment: the transfer is over.
transfer_over() {
  local deadline=$((SECONDS + ${1:-60})) quiet=0
  while [ $quiet -lt 5 ]; do
    [ $SECONDS -lt $deadline ] || fail "the transfer did not end"
    if xdotool search --onlyvisible --name '^(Processing|処理中)' >/dev/null 2>&1; then quiet=0; else quiet=$((quiet + 1)); fi
    sleep 0.2
  done
}

# save_as <file name>: Save File, the name typed into the file dialog, Enter.
save_as() {
  local dialog
  keys "$main" alt+s
  dialog=$(new_window "$main" 20) || fail "no file dialog after Alt+S"
  sleep 0.5
  type_text "$dialog" "$saved\\$1"
  keys "$dialog" Return
  local deadline=$((SECONDS + 20))
  until [ -s "$work/$1" ]; do
    [ $SECONDS -lt $deadline ] || fail "$1 was not saved"
    sleep 0.2
  done
  wait_gone "$dialog" 10
}

# The modules a saved file holds, in slot order (the file's card types).
modules_of() { grep -o '<type>[^<]*</type>' "$1" | sed 's/<[^>]*>//g' | tr '\n' ' '; }

# monitor_shots <language>: the monitor window and its trend for a few seconds
# of readings, as pictures, closed again with its own button.
monitor_shots() {
  local monitor trend
  keys "$main" alt+m
  monitor=$(wait_window '^(Monitor|モニタ)' 20) || fail "no monitor window after Alt+M"
  # The trend shows the module chosen in the list: the first I/O module.
  keys "$monitor" Home Down alt+t
  trend=$(wait_window '^(Trend|トレンド)' 10) || fail "no trend window after Alt+T"
  # Its shortest span (the first of the list after Pause), so that a few
  # seconds of readings fill it.
  keys "$trend" Tab Home
  sleep 12
  shot "$monitor" "$shots/monitor-$1.png"
  shot "$trend" "$shots/trend-$1.png"
  keys "$trend" Escape
  wait_gone "$trend" 10 || fail "Escape did not close the trend window"
  keys "$monitor" alt+c
  wait_gone "$monitor" 20 || fail "the monitor window did not close"
}

step "K52CFG in English: an upload from the demo station, saved"
language English.lng
# COM5 as Windows lists it (its driver's entry in the registry), on a paced
# k52sim: a small rack, so that its upload takes a few seconds.
wine reg add 'HKLM\HARDWARE\DEVICEMAP\SERIALCOMM' /v '\Device\Serial4' /t REG_SZ /d COM5 /f </dev/null >/dev/null 2>&1
"$k52sim" --pace --modules 0=K52HQ8,1=JK7W,2=JK7W,5=JK7W >"$work/sim.out" </dev/null &
sim=$!
for _ in $(seq 50); do [ -s "$work/sim.out" ] && break; sleep 0.1; done
ln -sfn "$(head -1 "$work/sim.out")" "$WINEPREFIX/dosdevices/com5"

start_k52cfg
shot "$main" "$shots/start.png"
# The port list: the demo station is its last entry.
keys "$main" alt+t End alt+u
sleep 1
transfer_over 30
save_as demo.cfg
demo=$(modules_of "$work/demo.cfg")
[ -n "$demo" ] || fail "demo.cfg holds no modules: $(head -c 300 "$work/demo.cfg")"
shot "$main" "$shots/main-english.png"

step "an upload from k52sim on COM5: the progress window, cancelled, then a whole upload; the monitor"
keys "$main" alt+t
type_text "$main" COM5
keys "$main" alt+u
progress=$(wait_window '^Processing' 20) || fail "no progress window for the upload from COM5"
sleep 1
shot "$progress" "$shots/progress.png"
keys "$progress" Escape
wait_gone "$progress" 10 || fail "Escape did not end the upload"
# A cancel is the user's own act and says nothing: the next Alt+U reaches
# the main window (a message box in the way would take it instead).
keys "$main" alt+u
wait_window '^Processing' 20 >/dev/null || fail "no progress window for the second upload"
transfer_over 120
save_as station.cfg
station=$(modules_of "$work/station.cfg")
for type in K52HQ8 JK7W; do
  grep -q "$type" <<<"$station" || fail "station.cfg lacks $type: $station"
done
[ "$(grep -o JK7W <<<"$station" | wc -l)" -eq 3 ] || fail "station.cfg should hold three JK7W: $station"
monitor_shots english
close_k52cfg
kill "$sim"
sim=""

step "K52CFG in Japanese: the preferences, an upload from the demo station, the monitor"
language Japanese.lng
start_k52cfg
keys "$main" alt+p
preferences=$(wait_window '^環境設定' 20) || fail "the preferences window is not in Japanese"
shot "$preferences" "$shots/preferences-japanese.png"
keys "$preferences" Escape
wait_gone "$preferences" 10
keys "$main" alt+t End alt+u
sleep 1
transfer_over 30
shot "$main" "$shots/main-japanese.png"
monitor_shots japanese
close_k52cfg
# Japanese glyphs drawn, not the empty boxes of a missing font: the window's
# many colours of anti-aliased text (boxes would be a handful).
colours=$(identify -format '%k' "$shots/main-japanese.png")
[ "$colours" -gt 20 ] || fail "the Japanese window shows $colours colours only"

step "uninstall"
# A file of the user's in the program's folder: the uninstaller removes what
# it installed, by name, and leaves the folder with that file.
cp "$work/station.cfg" "$installed/my-station.cfg"
wine "$installed/uninstall.exe" /S </dev/null >/dev/null 2>&1
deadline=$((SECONDS + 30))
while [ -e "$installed/k52cfg.exe" ] || [ -d "$menu" ]; do
  [ $SECONDS -lt $deadline ] || fail "the uninstaller left $(ls "$installed" "$menu" 2>/dev/null | tr '\n' ' ')"
  sleep 0.3
done
sleep 1
left=$(cd "$installed" && find . -mindepth 1 | LC_ALL=C sort | tr '\n' ' ')
[ "$left" = "./my-station.cfg " ] || fail "the uninstaller left $left(only the user's file should stay)"
[ -f "$settings" ] || fail "the uninstaller removed the user's settings"
if wine reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\K52CFG' </dev/null >/dev/null 2>&1; then
  fail "the uninstaller left its registry entry"
fi
echo "windows-setup: passed; screenshots in $shots"
