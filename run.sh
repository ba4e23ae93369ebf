#!/usr/bin/env bash
# Installs what is missing, builds in Release and starts Varnolt. Arguments go to the program.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DVARNOLT_BUILD_TESTS=OFF >/dev/null
cmake --build build-release
exec build-release/bin/varnolt "$@"
