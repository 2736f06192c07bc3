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

# The tests run are those registered with the label "threads" (tests/: the
# programs made with k52_add_test(... LABEL threads ...)); the target
# k52_tests_threads builds exactly their programs. The fault soak (label
# "soak") runs at full length in the normal builds; here a short run of it
# drives the transfer threads, the port's time-outs and the pseudo-terminal
# server under faults.
jobs=${K52_JOBS:-$(nproc)}
cmake --preset tsan >/dev/null
cmake --build --preset tsan -j "$jobs" --target k52_tests_threads k52_tests_soak

# halt_on_error: the first report ends the test program with a failure.
# second_deadlock_stack: a lock-order report shows where both locks were taken.
export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 exitcode=66 history_size=4${K52_TSAN_OPTIONS:+ $K52_TSAN_OPTIONS}"

ctest --preset tsan -j "$jobs" -L threads
K52_SOAK_EXCHANGES=2000 ctest --preset tsan -L soak
