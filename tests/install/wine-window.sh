# Helpers for driving Windows programs under Wine on a virtual X display, with
# real key events (XTEST), as a user at the keyboard would. Sourced by the
# installer's end-to-end test and the window figures. Needs Xvfb, xdotool,
# xwd and ImageMagick's convert, and openbox as the window manager.

# start_display: an X display of its own for this run; sets DISPLAY and
# xvfb_pid. Start it before any Wine program, so Wine's first program finds it.
start_display() {
  local number
  for number in $(seq 90 120); do
    if [ ! -e "/tmp/.X11-unix/X$number" ] && [ ! -e "/tmp/.X$number-lock" ]; then
      Xvfb ":$number" -screen 0 1920x1200x24 -nolisten tcp >/dev/null 2>&1 &
      xvfb_pid=$!
      export DISPLAY=:$number
      for _ in $(seq 50); do
        if xdpyinfo >/dev/null 2>&1; then
          # A window manager, as every desktop has: without one, Wine waits
          # two seconds for a window manager's answer on hiding each window.
          openbox --sm-disable >/dev/null 2>&1 &
          wm_pid=$!
          for _ in $(seq 50); do
            xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
            sleep 0.1
          done
          echo "openbox did not start" >&2
          return 1
        fi
        sleep 0.1
      done
      echo "Xvfb did not start on :$number" >&2
      return 1
    fi
  done
  echo "no free X display" >&2
  return 1
}

stop_display() {
  if [ -n "${wm_pid:-}" ]; then kill "$wm_pid" 2>/dev/null || true; wait "$wm_pid" 2>/dev/null || true; fi
  wm_pid=""
  if [ -n "${xvfb_pid:-}" ]; then kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true; fi
  xvfb_pid=""
}

# wait_window <title pattern> [seconds]: prints the id of the visible window
# whose title matches, waiting for it; fails after the time (default 30 s).
wait_window() {
  local pattern=$1 seconds=${2:-30} id
  local deadline=$((SECONDS + seconds))
  while [ $SECONDS -lt $deadline ]; do
    id=$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | tail -1 || true)
    if [ -n "$id" ]; then echo "$id"; return 0; fi
    sleep 0.2
  done
  echo "no window \"$pattern\" within $seconds s" >&2
  return 1
}

# visible_windows: the ids of the windows shown now, one per line.
visible_windows() { xdotool search --onlyvisible --name '' 2>/dev/null | sort || true; }

# new_window <window id> [seconds]: prints the id of the window that takes
# the keyboard from the given one (a dialog it opens, which may have no
# title), waiting for it; fails after the time (default 30 s).
new_window() {
  local from=$1 seconds=${2:-30} id
  local deadline=$((SECONDS + seconds))
  while [ $SECONDS -lt $deadline ]; do
    id=$(xdotool getactivewindow 2>/dev/null || true)
    if [ -n "$id" ] && [ "$id" != "$from" ] && visible_windows | grep -qx "$id"; then echo "$id"; return 0; fi
    sleep 0.2
  done
  echo "no new window within $seconds s" >&2
  return 1
}

# wait_gone <window id> [seconds]: waits until the window is no longer shown.
wait_gone() {
  local id=$1 seconds=${2:-30}
  local deadline=$((SECONDS + seconds))
  while [ $SECONDS -lt $deadline ]; do
    if ! visible_windows | grep -qx "$id"; then return 0; fi
    sleep 0.2
  done
  echo "window $id still shown after $seconds s" >&2
  return 1
}

# keys <window id> <key>...: brings the window to the front, as a click on
# it would, and presses the keys there (xdotool key names: alt+u, Escape,
# Return, End ...).
keys() {
  local id=$1
  shift
  xdotool windowactivate --sync "$id" >/dev/null 2>&1 || xdotool windowactivate "$id"
  sleep 0.3
  xdotool key --delay 80 "$@"
}

# type_text <window id> <text>: types the text into the focused control.
type_text() {
  xdotool windowactivate --sync "$1" >/dev/null 2>&1 || xdotool windowactivate "$1"
  sleep 0.3
  xdotool type --delay 30 "$2"
}

# shot <window id> <file.png>: what the window shows, as a PNG. A window
# just shown may not be drawn yet: it is given a moment, and up to 10 s
# while it shows one colour only.
shot() {
  local deadline=$((SECONDS + 10))
  sleep 1
  while :; do
    xwd -silent -id "$1" | convert xwd:- "$2"
    if [ "$(identify -format '%k' "$2")" -gt 1 ] || [ $SECONDS -ge $deadline ]; then return 0; fi
    sleep 0.3
  done
}
