#!/usr/bin/env bash
# Builds the Windows programs (release, static: k52cfg.exe and k52ctl.exe
# with no DLLs beside them) and packs them twice:
#   K52CFG-<version>-windows-x64.zip   unpack anywhere and run
#   K52CFG-<version>-setup.exe         the installer (per user, Start menu)
# in build/windows-package (or $1), and prints both paths. Sets up what it
# needs first: the cross compiler and libraries (setup-windows.sh), Qt for
# Windows (build-qt-windows.sh), NSIS, Qt's translations and the licence texts.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-windows.sh
scripts/build-qt-windows.sh

. scripts/packages.sh
install_missing nsis qt6-translations-l10n libpugixml-dev mingw-w64-common gcc-mingw-w64-base zip

out=$(realpath -m "${1:-build/windows-package}")
# K52_WINDOWS_BUILD names a Windows build that exists already (the test
# stage's windows-gui build): its programs are packed instead of making a
# release build of their own, which saves a quarter of an hour.
build=${K52_WINDOWS_BUILD:-}
if [ -n "$build" ]; then
  build=$(realpath "$build")
else
  build=$out/build
  cmake -S . -B "$build" -G Ninja \
    --toolchain cmake/mingw-w64-x86_64.cmake \
    -DCMAKE_BUILD_TYPE=Release \
    -DK52_WINDOWS_QT=ON \
    -DK52_BUILD_GUI=ON \
    -DK52_BUILD_TESTS=OFF \
    -DK52_BUILD_BENCHMARKS=OFF >/dev/null
fi
cmake --build "$build" -j "$(nproc)" --target k52cfg k52ctl >/dev/null

version=$(sed -n 's/^project(K52CFG VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
name=K52CFG-$version
stage=$out/stage/$name
rm -rf "$out/stage"
mkdir -p "$stage/translations" "$stage/licenses"

# Text files with Windows line ends, for whatever editor opens them.
crlf() { sed 's/\r*$/\r/' "$1" >"$2"; }

for program in k52cfg k52ctl; do
  x86_64-w64-mingw32-strip -o "$stage/$program.exe" "$build/bin/$program.exe"
done
cp lang/*.lng data/icons/k52cfg.ico "$stage/"
crlf LICENSE "$stage/LICENSE.txt"
crlf data/windows/THIRD-PARTY.txt "$stage/THIRD-PARTY.txt"
crlf data/windows/README.txt "$stage/README.txt"
# The installer's licence page: ours, then what the programs are built from.
{ cat "$stage/LICENSE.txt"; printf '\r\n\r\n'; cat "$stage/THIRD-PARTY.txt"; } >"$out/stage/licence-page.txt"
cp "$build"/bin/translations/qtbase_*.qm "$stage/translations/"
crlf /usr/share/common-licenses/LGPL-3 "$stage/licenses/LGPL-3.txt"
crlf /usr/share/common-licenses/GPL-3 "$stage/licenses/GPL-3.txt"
crlf /usr/share/doc/libpugixml-dev/copyright "$stage/licenses/pugixml.txt"
crlf /usr/share/doc/mingw-w64-common/copyright "$stage/licenses/mingw-w64.txt"
crlf /usr/share/doc/gcc-mingw-w64-base/copyright "$stage/licenses/gcc-runtime.txt"

# The same archive from the same files: fixed times, sorted names, no extra fields.
zip=$out/$name-windows-x64.zip
rm -f "$zip"
find "$out/stage" -exec touch -h -d "@${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}" {} +
(cd "$out/stage" && find "$name" -print | LC_ALL=C sort | zip -q -X -@ "$zip")

setup=$out/$name-setup.exe
rm -f "$setup"
makensis -V2 -DVERSION="$version" -DSTAGE="$stage" -DLICENCE_PAGE="$out/stage/licence-page.txt" -DOUTFILE="$setup" \
  data/windows/k52cfg.nsi >/dev/null

echo "$zip"
echo "$setup"
