#!/usr/bin/env bash
# Static checks on our own code (src/, tests/, bench/): no include that runs
# upward in the layering (scripts/upward-includes.sh), then clang-tidy with
# the checks in .clang-tidy, then cppcheck with the suppressions in
# .cppcheck-suppressions, both driven by the default build's
# compile_commands.json. Exits non-zero on any finding.
#   LINT_JOBS=N   parallel clang-tidy processes and cppcheck threads (default 2)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
scripts/setup.sh

echo "== upward includes"
upward_status=0
scripts/upward-includes.sh || upward_status=1

build=build/default
jobs=${LINT_JOBS:-2}

cmake --preset default >/dev/null
# The windows' sources include moc output, so it has to exist before they can
# be parsed; nothing else needs building.
autogen=()
for library in base rack editing monitor app; do
  if ninja -C "$build" -t query k52${library}ui_autogen >/dev/null 2>&1; then
    autogen+=(k52${library}ui_autogen)
  fi
done
if [ ${#autogen[@]} -gt 0 ]; then
  nice -n 10 cmake --build "$build" --target "${autogen[@]}" -j "$jobs" >/dev/null
fi

# Our own translation units, each once (generated moc sources are not ours).
mapfile -t units < <(sed -n 's/^ *"file": "\(.*\)",\{0,1\}$/\1/p' "$build/compile_commands.json" \
  | grep -E "^$root/(src|tests|bench)/" | sort -u)
if [ ${#units[@]} -eq 0 ]; then
  echo "lint: no translation units found in $build/compile_commands.json" >&2
  exit 2
fi

tidy=$(command -v clang-tidy-14 || command -v clang-tidy)
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT

echo "== clang-tidy: ${#units[@]} translation units, $jobs at a time"
start=$SECONDS
tidy_status=0
# One log per unit so that parallel runs do not interleave their output.
printf '%s\n' "${units[@]}" | nice -n 10 xargs -d '\n' -P "$jobs" -I{} sh -c \
  '"$1" -p "$2" --quiet --use-color=false "$3" >"$4/$(printf %s "$3" | md5sum | cut -c1-16).log" 2>&1' \
  _ "$tidy" "$build" {} "$logs" || tidy_status=1
# Headers are checked from every unit that includes them: report each finding once.
cat "$logs"/*.log | grep -v -E '^[0-9]+ warnings? (and [0-9]+ errors? )?generated\.$' >"$logs/tidy.txt" || true
# A library's headers are reached through its include folder in the build
# tree (build/default/src/<folder>/include/<folder>/<entry> -> src/<folder>/<entry>,
# build/default/src/<folder>/uiinclude/<folder>/ui -> src/<folder>/ui): name
# them by their place in src/.
grep -E '^[^ ].*:[0-9]+:[0-9]+: (warning|error): ' "$logs/tidy.txt" \
  | sed -E "s#^$root/$build/src/([a-z]+)/(ui)?include/\1/#$root/src/\1/#" | sort -u >"$logs/tidy-findings.txt" || true
tidy_count=$(wc -l <"$logs/tidy-findings.txt")
if [ "$tidy_count" -gt 0 ]; then
  cat "$logs/tidy-findings.txt"
  echo "-- findings per check:"
  grep -o '\[[a-z0-9.,-]*\]$' "$logs/tidy-findings.txt" | sed 's/,-warnings-as-errors//' | sort | uniq -c | sort -rn
  tidy_status=1
elif [ "$tidy_status" -ne 0 ]; then
  cat "$logs/tidy.txt"
fi
echo "== clang-tidy: $tidy_count findings, $((SECONDS - start)) s"

echo "== cppcheck"
start=$SECONDS
cppcheck_status=0
mkdir -p "$build/cppcheck"
nice -n 10 cppcheck --project="$build/compile_commands.json" \
  --file-filter="src/*" --file-filter="tests/*" --file-filter="bench/*" \
  --cppcheck-build-dir="$build/cppcheck" -j "$jobs" \
  --library=posix --library=qt --library=googletest \
  --enable=warning,performance,portability --inline-suppr --error-exitcode=1 \
  --suppress=missingIncludeSystem --suppressions-list=.cppcheck-suppressions \
  --quiet --template='{file}:{line}:{column}: {severity}: {message} [{id}]' || cppcheck_status=1
echo "== cppcheck: $((SECONDS - start)) s"

if [ "$upward_status" -ne 0 ] || [ "$tidy_status" -ne 0 ] || [ "$cppcheck_status" -ne 0 ]; then
  echo "lint: findings above (upward includes status $upward_status, clang-tidy status $tidy_status," \
    "cppcheck status $cppcheck_status)" >&2
  exit 1
fi
echo "lint: clean"
