#!/usr/bin/env bash
# Installs the Debian packages Vesk needs to build and test, when any is missing
# (an X server with its tools for the tests of the desktop on a display; the
# icon renderer, the validators of the desktop entry and metainfo, and
# dpkg-shlibdeps for the package; libsodium for the updates' signatures and
# openssl for scripts/sign-update.sh).
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-svg-dev qt6-multimedia-dev qt6-tools-dev qt6-l10n-tools libqt6sql6-sqlite
  zlib1g-dev libxcb1-dev libgtest-dev libgmock-dev libbenchmark-dev
  sqlite3
  librsvg2-bin desktop-file-utils appstream dpkg-dev
  fonts-inter fonts-dejavu-core
  xvfb xdotool x11-apps x11-utils openbox
  libglib2.0-bin gsettings-desktop-schemas
  libxcb-ewmh-dev libxcb-icccm4-dev libxcb-xinput-dev libxcb-randr0-dev
  libsodium-dev openssl
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
