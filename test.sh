#!/usr/bin/env bash
# Installs what is missing, builds and runs every test headless.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh --test
export QT_QPA_PLATFORM=offscreen
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARNOLT_BUILD_TESTS=ON >/dev/null
cmake --build build
ctest --test-dir build --output-on-failure --timeout 300 "$@"
