#!/usr/bin/env bash
# Installs what is missing, builds and runs the benchmark, which prints its
# figures (it starts a throwaway private server of its own).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
./scripts/build.sh
QT_QPA_PLATFORM=offscreen exec ./build/vitrana_bench "$@"
