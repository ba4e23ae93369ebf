#!/usr/bin/env bash
# Builds one libFuzzer target with clang (ASan + UBSan) and runs it for the given time.
#   tools/fuzz.sh TARGET SECONDS        TARGET: conversion datagram instrument_list ini archive
# New inputs go to build-fuzz/corpus/TARGET (the committed seeds in fuzz/corpus/TARGET stay as they are);
# a finding is written to build-fuzz/findings/ and ends the run with a non-zero status. Share the machine:
#   nice -n 19 tools/fuzz.sh ini 600
set -euo pipefail
cd "$(dirname "$0")/.."
target=${1:?target: conversion datagram instrument_list ini archive}
seconds=${2:?seconds}
build=${VARNOLT_FUZZ_BUILD:-build-fuzz}
tools/install-deps.sh --fuzz

if [ ! -f "$build/CMakeCache.txt" ]; then
    CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARNOLT_FUZZ=ON \
        -DVARNOLT_BUILD_TESTS=OFF -DVARNOLT_BUILD_BENCH=OFF >/dev/null
fi
cmake --build "$build" --target "fuzz_$target" -j "${JOBS:-2}"

mkdir -p "$build/corpus/$target" "$build/findings"
# Freed memory waits in ASan's quarantine so a late use is caught; with the default 256 MB of it the allocator's
# caches grow a long run past 1 GB. A quarantine of 16 MB still holds thousands of the inputs' largest frees.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:quarantine_size_mb=16:thread_local_quarantine_size_kb=256}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export QT_QPA_PLATFORM=offscreen
exec "$build/bin/fuzz_$target" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$build/findings/$target-" "$build/corpus/$target" "fuzz/corpus/$target"
