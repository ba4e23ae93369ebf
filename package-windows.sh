#!/usr/bin/env bash
# Installs what is missing, cross-builds Varnolt for 64-bit Windows in Release into build-windows/ and makes
# its packages there: build-windows/Varnolt-<version>-setup.exe (NSIS) and
# build-windows/Varnolt-<version>-windows-x64.zip (the same tree, to unpack anywhere).
#   ./package-windows.sh           the program and its packages
#   ./package-windows.sh --tests [ctest options]   also the Windows tests, run under Wine on a virtual X display
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh --windows
build=build-windows
qt=$(tools/windows/unpack-qt.sh "$build")
tests=OFF
if [ "${1:-}" = "--tests" ]; then
    tests=ON
    shift
fi
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/toolchain-mingw64.cmake" -DCMAKE_PREFIX_PATH="$qt" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DVARNOLT_BUILD_TESTS="$tests" -DVARNOLT_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j "${JOBS:-2}"
if [ "$tests" = ON ]; then
    # The program's own windows need a display under Wine; the window tests draw offscreen.
    xvfb-run -a -s "-screen 0 1280x1024x24" ctest --test-dir "$build" --output-on-failure --timeout 900 "$@"
fi
cmake --build "$build" --target windows_packages
