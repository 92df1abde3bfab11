#!/usr/bin/env bash
# Installs the Debian 12 packages the desk needs to build, run and test it,
# when any of them is missing.
set -euo pipefail

packages=(
    cmake g++ make
    qt6-base-dev qt6-base-dev-tools libgl-dev qt6-translations-l10n
    libqt6sql6-mysql libqt6sql6-odbc
    mariadb-server odbc-mariadb unixodbc
    fonts-dejavu-core xvfb xauth
    chromium chromium-driver
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi
