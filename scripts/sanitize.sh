#!/usr/bin/env bash
# Builds the tree with AddressSanitizer and UndefinedBehaviorSanitizer in build-sanitize/
# and runs every test there (the benchmarks are left out: they are not tests). Any report
# fails its test. Ends with a line "N passed, N failed".
set -uo pipefail
cd "$(dirname "$0")/.."
root="$(pwd)"
scripts/install-deps.sh || exit 1

build=build-sanitize
flags="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMIRAVO_WERROR=OFF -DMIRAVO_SKIP="bench" \
  -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" > "$build-configure.log" 2>&1 \
  || { cat "$build-configure.log"; exit 1; }
rm -f "$build-configure.log"
cmake --build "$build" -j "$(nproc)" || exit 1

export ASAN_OPTIONS="detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1"
export LSAN_OPTIONS="suppressions=$root/scripts/sanitize-suppressions.txt:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
scripts/run-tests.sh "$build"
