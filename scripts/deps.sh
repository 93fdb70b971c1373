#!/usr/bin/env bash
# Installs the Debian packages Vesk needs to build and test, when any is missing
# (an X server with its tools for the tests of the desktop on a display).
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-svg-dev qt6-multimedia-dev qt6-tools-dev qt6-l10n-tools libqt6sql6-sqlite
  zlib1g-dev libgtest-dev libgmock-dev libbenchmark-dev
  sqlite3
  fonts-inter fonts-dejavu-core
  xvfb xdotool x11-apps
  libxcb1-dev libxcb-ewmh-dev libxcb-icccm4-dev openbox
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
