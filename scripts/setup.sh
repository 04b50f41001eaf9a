#!/usr/bin/env bash
# Installs from Debian's packages whatever building, running and testing
# Linkora needs and this machine lacks. Safe to run again.
set -euo pipefail
pkgs=(cmake ninja-build g++ pkg-config libgtest-dev libgmock-dev
      qt6-base-dev qt6-multimedia-dev qt6-svg-dev libqt6svg6 libgl1-mesa-dev libxkbcommon-dev
      libjpeg62-turbo-dev libsqlite3-dev gstreamer1.0-plugins-good
      xvfb xauth imagemagick trayer python3)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
