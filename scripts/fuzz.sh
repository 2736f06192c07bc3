#!/usr/bin/env bash
# Builds the fuzz targets (preset "fuzz") and runs each one for a while over
# a scratch copy of its seed corpus, so that the inputs the fuzzer finds on
# the way stay out of the repository. Fails when any target finds a crash,
# a sanitizer report, a leak or a time-out, and prints the reproducer.
#
#   scripts/fuzz.sh [seconds-per-target]     (default 60)
#
# A reproducer is replayed with: build/fuzz/bin/<target> <reproducer file>
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
scripts/setup.sh

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)"

bin=build/fuzz/bin
results=build/fuzz/results
scratch=$(mktemp -d "${TMPDIR:-/tmp}/k52fuzz-corpus.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
rm -rf "$results"

failed=()
for seeds in fuzz/corpus/*/; do
  target=$(basename "$seeds")
  corpus="$scratch/$target"
  artifacts="$results/$target"
  log="$results/$target.log"
  mkdir -p "$corpus" "$artifacts"
  cp -R "$seeds". "$corpus/"
  status=0
  "$bin/$target" "$corpus" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$artifacts/" -print_final_stats=1 >"$log" 2>&1 || status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n 1)
  reproducers=$(find "$artifacts" -type f | sort)
  if [ "$status" -ne 0 ] || [ -n "$reproducers" ]; then
    failed+=("$target")
    echo "== $target: FAILED (exit $status)"
    grep -E '^(==[0-9]+==ERROR|SUMMARY|\*\*\* k52fuzz finding|.*runtime error)' "$log" | head -n 20 || true
    echo "   log: $log"
    for reproducer in $reproducers; do
      echo "   reproducer: $reproducer"
    done
  else
    echo "== $target: ${runs:-?} runs in ${seconds} s (${speed:-?} per second)"
  fi
done

if [ ${#failed[@]} -ne 0 ]; then
  echo "Fuzzing found faults in: ${failed[*]}"
  exit 1
fi
