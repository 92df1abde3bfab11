#!/usr/bin/env bash
# Installs what is missing, builds and starts the desk. Arguments go to the
# application (--config FILE, --empty-hotel). It needs a display; without
# one, install xvfb and run it as: xvfb-run -a ./scripts/run.sh
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
./scripts/build.sh
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "No display. Run it under Xvfb: sudo apt-get install xvfb; xvfb-run -a ./scripts/run.sh" >&2
    exit 1
fi
exec ./build/vitrana "$@"
