#!/usr/bin/env bash
# Installs what is missing, cross-builds Varnolt for 64-bit Windows in Release into build-windows/ and makes
# its packages there: build-windows/Varnolt-<version>-setup.exe and build-windows/Varnolt-<version>-windows-x64.zip.
#   ./package-windows.sh [--tests]   with --tests, the Windows tests are built too (ctest --test-dir build-windows)
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh --windows
build=build-windows
qt=$(tools/windows/unpack-qt.sh "$build")
tests=OFF
[ "${1:-}" = "--tests" ] && tests=ON
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/toolchain-mingw64.cmake" -DCMAKE_PREFIX_PATH="$qt" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DVARNOLT_BUILD_TESTS="$tests" >/dev/null
cmake --build "$build" -j "${JOBS:-2}"
