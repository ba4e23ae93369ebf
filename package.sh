#!/usr/bin/env bash
# Installs what is missing, builds in Release into build-release/ and makes the Debian package there:
# build-release/varnolt_<version>_<arch>.deb.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh --package
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DVARNOLT_BUILD_TESTS=OFF -DVARNOLT_BUILD_BENCH=OFF >/dev/null
cmake --build build-release
(cd build-release && cpack -G DEB)
