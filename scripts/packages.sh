# Shared by the set-up scripts (sourced, not run): installing Debian packages
# and reaching Debian's source packages.

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi

# Installs those of the named packages that are not installed yet.
install_missing() {
  local missing=()
  for package in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$package")
    fi
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing ${missing[*]} ..." >&2
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  fi
}

# Adds a deb-src entry for Debian's own archive unless one is there, so that
# "apt-get source" works.
ensure_deb_src() {
  if grep -rqs '^Types:.*deb-src\|^deb-src ' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    return
  fi
  echo "Adding a deb-src entry for Debian's source packages ..." >&2
  local codename
  codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
  $sudo tee /etc/apt/sources.list.d/k52cfg-deb-src.sources >/dev/null <<SOURCES
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: $codename
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
  $sudo apt-get update -qq
}
