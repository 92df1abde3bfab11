#!/usr/bin/env bash
# Makes the README's pictures, drawn by the desk itself on a throwaway
# private server with the sample hotel, Czech regional settings:
# docs/screenshot.png (the main window) and docs/nova-rezervace.png (the new
# reservation dialog with a price and its night-by-night tooltip).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
./scripts/build.sh
tmp=$(mktemp -d /tmp/vitrana-shot.XXXXXX)
trap 'rm -rf "$tmp"' EXIT
printf '[database]\nmode = private\ndatadir = %s/server\n' "$tmp" > "$tmp/hotel.conf"
mkdir -p docs
shoot() {
    LANG=cs_CZ.UTF-8 LC_ALL= QT_QPA_PLATFORM=offscreen \
    VITRANA_DB_USER="$(id -un)" VITRANA_DB_PASSWORD="" \
        ./build/vitrana_screenshot "$@" --config "$tmp/hotel.conf"
}
shoot docs/screenshot.png
echo "docs/screenshot.png written"
shoot docs/nova-rezervace.png --nova-rezervace
echo "docs/nova-rezervace.png written"
