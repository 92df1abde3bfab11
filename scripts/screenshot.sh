#!/usr/bin/env bash
# Makes the README's pictures, drawn by the desk itself on a throwaway
# private server with the sample hotel, Czech regional settings: one PNG in
# docs/ for every window (the main window, the login prompt, the About box
# and each dialog with a choice made in it).
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
    ./build/vitrana_screenshot docs --config "$tmp/hotel.conf"
