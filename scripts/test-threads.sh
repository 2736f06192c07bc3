#!/usr/bin/env bash
# Sets up, builds with the thread sanitizer and runs the tests in which more
# than one thread is at work: the link's cancel and the serial code over
# pseudo-terminals, the upload and download threads, the monitoring thread,
# and the simulated station's own threads. Any report of the sanitizer fails
# the run. The windows are left out: Qt is not built with the sanitizer, and
# its uninstrumented threads would only give false reports.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

# The test programs built and the tests run: the one place to change the
# selection. The fault soak (label "soak") runs at full length in the normal
# builds; here a short run of it drives the transfer threads, the port's
# time-outs and the pseudo-terminal server under faults.
programs=(test_link test_rack test_monitor test_station test_cli test_soak)
tests=(
  'LinkTest\.' 'LinkFrame\.' 'SerialIO\.' 'MutexHandle\.'          # test_link: peers on pseudo-terminals
  'ProgressThread\.' 'TransferTest\.'                              # test_rack: transfer threads
  'MonitorThreadTest\.' 'MonitorCommand\.'                         # test_monitor: monitoring thread
  'StationLinkTest\.'                                              # test_station: ports and servers
  'ControlProgramTest\.'                                           # test_cli: k52ctl's transfers and Ctrl-C
)
regex=$(IFS='|'; echo "${tests[*]}")

jobs=${K52_JOBS:-$(nproc)}
cmake --preset tsan >/dev/null
cmake --build --preset tsan -j "$jobs" --target "${programs[@]}"

# halt_on_error: the first report ends the test program with a failure.
# second_deadlock_stack: a lock-order report shows where both locks were taken.
export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 exitcode=66 history_size=4${K52_TSAN_OPTIONS:+ $K52_TSAN_OPTIONS}"

ctest --preset tsan -j "$jobs" -R "$regex" -LE soak
K52_SOAK_EXCHANGES=2000 ctest --preset tsan -L soak
