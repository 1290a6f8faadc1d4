#!/usr/bin/env bash
# Installs every Debian package the project needs to build, run and test.
# Idempotent; runs as root (or through sudo when it is available).
set -euo pipefail

packages=(
  build-essential binutils cmake pkg-config
  qtbase5-dev qtbase5-dev-tools qttranslations5-l10n
  libqcustomplot-dev
  nlohmann-json3-dev
  libgrantlee5-dev
  libfftw3-dev
  pandoc
  dbus-daemon
  fonts-dejavu-core fontconfig
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update
$SUDO apt-get install -y --no-install-recommends "${missing[@]}"
