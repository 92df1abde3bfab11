#!/usr/bin/env bash
# Installs what is missing, builds and runs every test. The tests start their
# own MariaDB server (the desk's private server) under build/test-server.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh --test
./scripts/build.sh
cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2 "$@"
