#!/usr/bin/env bash
# Installs the Debian 12 packages the desk needs to build and run it, when
# any of them is missing. With --test, also what only the tests need (a
# browser and its driver, hundreds of MB); with --package, what building
# and checking the Debian package needs.
#   ./scripts/setup.sh [--test] [--package]
set -euo pipefail

packages=(
    cmake g++ make zlib1g-dev
    qt6-base-dev qt6-base-dev-tools libgl-dev qt6-translations-l10n qt6-qpa-plugins
    libqt6sql6-mysql libqt6sql6-odbc
    # The charts' CMake package needs the OpenGL one, which Debian 12 does not pull in.
    qt6-charts-dev libqt6opengl6-dev
    mariadb-server odbc-mariadb unixodbc
    fonts-dejavu-core
)
test_packages=(
    chromium chromium-driver
    # The cluster tests run three mariadbd nodes joined by Galera, with rsync state transfers.
    galera-4 rsync
)
# dpkg-shlibdeps finds the package's library dependencies; CPack asks file
# which files are programs.
package_packages=(
    dpkg-dev file lintian
)

for option in "$@"; do
    case "$option" in
        --test) packages+=("${test_packages[@]}") ;;
        --package) packages+=("${package_packages[@]}") ;;
        *) echo "Usage: $0 [--test] [--package]" >&2; exit 2 ;;
    esac
done

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
fi
