#!/usr/bin/env bash
# The Windows stage: builds the Windows programs (preset "windows"), runs
# their core tests under Wine, the window tests too where Qt for Windows is
# there (preset "windows-gui"), then runs the end-to-end cases of k52ctl with
# the Windows k52ctl.exe under Wine against the Linux k52sim, each station's
# pseudo-terminal reached as a COM port of the Wine prefix, and last the
# installer from end to end (tests/install/windows-setup.sh). Needs the normal
# build (build/default) for k52sim and the end-to-end cases, and
# scripts/setup-windows.sh run once.
set -euo pipefail
cd "$(dirname "$0")/.."

cache=${K52_WINDOWS_CACHE:-$HOME/.cache/k52cfg-windows}
export WINEPREFIX=$cache/wineprefix WINEDEBUG=-all
jobs=$(nproc)

echo "== windows build"
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$jobs"

# One Wine server for the whole stage, its chatter kept out of the output;
# it ends by itself a few seconds after the last program.
wineserver -p 10 </dev/null >/dev/null 2>&1 &
wine cmd /c exit </dev/null >/dev/null 2>&1 || true

echo "== windows tests (under Wine)"
ctest --preset windows -j "$jobs"

# The windows, where Qt for Windows is there (scripts/build-qt-windows.sh):
# their tests that need no pseudo-terminal, on Qt's offscreen platform.
if [ -f "$cache/qt-mingw/lib/cmake/Qt6/Qt6Config.cmake" ]; then
  echo "== windows window build"
  cmake --preset windows-gui >/dev/null
  cmake --build --preset windows-gui -j "$jobs" --target k52cfg k52ctl test_gui
  echo "== windows window tests (under Wine)"
  ctest --preset windows-gui -j "$jobs"
fi

echo "== windows end to end (k52ctl.exe under Wine, k52sim on Linux)"
cmake --preset default >/dev/null
cmake --build --preset default -j "$jobs" --target k52sim test_cli_threads
dosdevices=$WINEPREFIX/dosdevices
cleanup() {
  for number in $(seq 5 16); do
    if [ -L "$dosdevices/com$number" ]; then rm -f "$dosdevices/com$number"; fi
  done
}
trap cleanup EXIT
cases=(
  ControlProgramTest.BackupAndRestoreThroughK52simOnAPseudoTerminal   # upload, show, download
  ControlProgramTest.FailedUploadReportsAndLeavesTheOutputFileAlone   # time-out, missing port
  ControlProgramTest.APortInUseIsRefusedWithItsReason
  ControlProgramTest.CtrlCEndsSilentlyWithStatus130AndWritesNoFile    # paced station
  ControlProgramTest.MonitorComesBackAfterAStallWithoutFalseReadingsAndAnUploadFollows # --csv, stall
  CompareCommandsTest.DiffSaysEqualDifferentOrTroubleByItsStatus
  CompareCommandsTest.VerifyReadsTheStationWithoutWritingAndDownloadVerifyReadsBack
  CompareCommandsTest.ReportWritesOnePageAndReplacesOnlyWhatItMay
)
filter=$(printf '%s:' "${cases[@]}")
K52_TEST_K52CTL=$PWD/build/windows/bin/k52ctl.exe K52_TEST_LAUNCHER=wine K52_TEST_COM_LINKS=$dosdevices \
  K52_TEST_START_MS=${K52_TEST_START_MS:-500} \
  build/default/bin/test_cli_threads --gtest_filter="${filter%:}"

# The installer from end to end: packed from the windows-gui build, installed
# silently into a copy of the Wine prefix, the installed K52CFG driven with
# key events on a virtual display, uninstalled.
if [ -f "$cache/qt-mingw/lib/cmake/Qt6/Qt6Config.cmake" ]; then
  echo "== windows installer end to end (under Wine, on Xvfb)"
  setup=$(K52_WINDOWS_BUILD=build/windows-gui scripts/package-windows.sh build/windows-package | tail -1)
  tests/install/windows-setup.sh "$setup" build/windows-package/screenshots
fi
