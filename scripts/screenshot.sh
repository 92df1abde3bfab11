#!/usr/bin/env bash
# Makes docs/screenshot.png: the main window on the sample hotel, drawn by
# the desk itself on a throwaway private server, Czech regional settings.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
./scripts/build.sh
tmp=$(mktemp -d /tmp/vitrana-shot.XXXXXX)
trap 'rm -rf "$tmp"' EXIT
printf '[database]\nmode = private\ndatadir = %s/server\n' "$tmp" > "$tmp/hotel.conf"
mkdir -p docs
LANG=cs_CZ.UTF-8 LC_ALL= QT_QPA_PLATFORM=offscreen \
VITRANA_DB_USER="$(id -un)" VITRANA_DB_PASSWORD="" \
    ./build/vitrana_screenshot docs/screenshot.png --config "$tmp/hotel.conf"
echo "docs/screenshot.png written"
