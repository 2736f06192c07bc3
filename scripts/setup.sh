#!/usr/bin/env bash
# Installs the Debian packages that building and testing K52CFG need.
# Idempotent: quiet when everything is there already.
set -euo pipefail

packages=(
  cmake ninja-build g++
  libpugixml-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev libqt6opengl6-dev qt6-translations-l10n
  fonts-dejavu-core fonts-ipafont-gothic
  clang libclang-rt-14-dev clang-tidy cppcheck
  dpkg-dev file librsvg2-bin desktop-file-utils
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi
echo "Installing ${missing[*]} ..."
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
