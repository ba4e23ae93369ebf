#!/usr/bin/env bash
# Builds the whole suite with AddressSanitizer, LeakSanitizer and UndefinedBehaviorSanitizer in build-asan/
# and runs every test there. Any report fails the run; leaks inside Qt and fontconfig that outlive the
# program on purpose are listed, with their reasons, in tools/lsan.supp.
#   tools/sanitize.sh [ctest options]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${VARNOLT_ASAN_BUILD:-build-asan}
tools/install-deps.sh --test
flags="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARNOLT_BUILD_TESTS=ON -DVARNOLT_BUILD_BENCH=OFF \
    -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
cmake --build "$build" -j "${JOBS:-2}"

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1"
export LSAN_OPTIONS="suppressions=$PWD/tools/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
ctest --test-dir "$build" --output-on-failure --timeout 600 -j "${JOBS:-2}" "$@"
