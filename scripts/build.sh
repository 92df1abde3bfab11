#!/usr/bin/env bash
# Configures and builds everything into build/. VITRANA_WERROR=ON (as CI
# sets it) turns compiler warnings into errors.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVITRANA_WERROR="${VITRANA_WERROR:-OFF}"
cmake --build build -j"$(nproc)"
