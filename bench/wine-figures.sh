#!/usr/bin/env bash
# The Windows k52ctl.exe under Wine, against a Linux k52sim on a COM port of
# the Wine prefix:
#  - upload and download of a full rack (K52HQ8 and sixteen JK7W) from a
#    paced station, against the wire bound that bench_transfer reports for the
#    same rack (every byte at 10 bits, 9600 bit/s); the program's whole run,
#    Wine's start-up included, and without the start-up of a program under
#    Wine (measured with "k52ctl.exe --help");
#  - processor use of "k52ctl.exe monitor" on a COM port that is not there,
#    its own and that of the Wine server it talks to.
# Needs the default and windows builds and scripts/setup-windows.sh.
# bench/wine-figures.sh [seconds of monitoring, default 20] [monitor: that part only]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
bin=$PWD/build/default/bin
exe=$PWD/build/windows/bin/k52ctl.exe
export WINEPREFIX=${K52_WINDOWS_CACHE:-$HOME/.cache/k52cfg-windows}/wineprefix WINEDEBUG=-all
work=$(mktemp -d)
sim=""
cleanup() {
  if [ -n "$sim" ]; then kill "$sim" 2>/dev/null || true; fi
  rm -f "$WINEPREFIX/dosdevices/com5"
  rm -rf "$work"
}
trap cleanup EXIT

wineserver -p 30 </dev/null >/dev/null 2>&1 &
wine "$exe" --help >/dev/null 2>&1 || true

now() { date +%s.%N; }
elapsed() { echo "$(now) - $1" | bc; }

starts=()
for _ in 1 2 3; do
  t=$(now); wine "$exe" --help >/dev/null; starts+=("$(elapsed "$t")")
done
start=$(printf '%s\n' "${starts[@]}" | sort -n | sed -n 2p)
echo "start of k52ctl.exe under Wine (median of 3): $start s"

if [ "${2:-}" != monitor ]; then
  echo "wire bound from bench_transfer (Linux, in-process):"
  # bench_transfer fails when its own ratio misses its bound (a busy machine);
  # only the wire bounds it prints are needed here.
  (cd "$bin" && ./bench_transfer || true) | tee "$work/linux.txt" | grep -E "^(upload|download) .*ratio"
  bound() { awk -v what="$1" '$1 == what && /wire bound/ { for (i = 1; i <= NF; ++i) if ($i == "bound") print $(i + 1) }' "$work/linux.txt"; }

  modules=0=K52HQ8
  for slot in $(seq 1 16); do modules+=",$slot=JK7W"; done
  "$bin/k52sim" --pace --modules "$modules" >"$work/sim.out" </dev/null &
  sim=$!
  for _ in $(seq 50); do [ -s "$work/sim.out" ] && break; sleep 0.1; done
  ln -sfn "$(head -1 "$work/sim.out")" "$WINEPREFIX/dosdevices/com5"

  measure() {
    local name=$1
    shift
    local t taken b
    t=$(now)
    wine "$exe" "$@" --port COM5
    taken=$(elapsed "$t")
    b=$(bound "$name")
    printf '%-9s k52ctl.exe %7.3f s  wire bound %7.3f s  ratio %.4f  (without the start %.4f)\n' "$name" \
      "$taken" "$b" "$(echo "$taken / $b" | bc -l)" "$(echo "($taken - $start) / $b" | bc -l)"
  }
  measure upload upload --output "$work/rack.cfg"
  measure download download "$work/rack.cfg"
  kill "$sim"
  sim=""
fi

# Processor use: the program's own (user and system time of the Wine
# process, as it ended) and the Wine server's over the same time.
server=$(pgrep -n -x wineserver64 || pgrep -n -x wineserver || true)
ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
hz=$(getconf CLK_TCK)
serverBefore=$([ -n "$server" ] && ticks "$server" || echo 0)
/usr/bin/time -f "%U %S %e" -o "$work/time" wine "$exe" monitor --port '\\.\COM199' --cycles 0 \
  >/dev/null 2>&1 &
monitor=$!
sleep "$seconds"
serverAfter=$([ -n "$server" ] && ticks "$server" || echo 0)
kill -INT "$(pgrep -n -P "$monitor")" 2>/dev/null || true
wait "$monitor" || true
read -r user system ran < <(tail -1 "$work/time")
printf 'k52ctl.exe monitor, missing port: %.2f%% of one core over %.1f s (start-up included), ' \
  "$(echo "($user + $system) * 100 / $ran" | bc -l)" "$ran"
printf 'the Wine server %.2f%%\n' "$(echo "($serverAfter - $serverBefore) * 100 / $hz / $seconds" | bc -l)"
