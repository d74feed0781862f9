#!/usr/bin/env bash
# Builds the fuzz targets with clang's libFuzzer in build-fuzz/ and runs each on its seed
# corpus for the given number of seconds (60 unless told). A finding fails the run and
# its input is printed, as hex, with the fuzzer's report.
#   scripts/fuzz.sh [seconds]
set -uo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
scripts/install-deps.sh || exit 1
build=build-fuzz
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMIRAVO_FUZZ=ON \
  -DMIRAVO_SKIP="data;compare;app;tests;bench" > "$build-configure.log" 2>&1 \
  || { cat "$build-configure.log"; exit 1; }
rm -f "$build-configure.log"
cmake --build "$build" --target fuzz -j "$(nproc)" || exit 1

failed=0
for target in fuzz_picture_decoder fuzz_skin_bmp fuzz_cursor_file fuzz_exif; do
  corpus="$build/corpus-run/$target"
  findings="$build/findings/$target"
  rm -rf "$corpus" "$findings"
  mkdir -p "$corpus" "$findings"
  cp "$build/fuzz/corpus/$target/"* "$corpus/"
  if [ "$target" = fuzz_picture_decoder ]; then
    # A phone's HEIC too, coded by libheif's own tool from one of the PNG seeds.
    heif-enc -q 50 -o "$corpus/picture.heic" "$corpus/rgb.png" > /dev/null || exit 1
  fi
  log="$build/findings/$target.log"
  echo "== $target: ${seconds} s from $(ls "$corpus" | wc -l) seeds"
  # A file that takes more than 10 s is a finding too; the memory limits are libFuzzer's.
  QT_QPA_PLATFORM=offscreen "$build/bin/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2560 \
    -print_final_stats=1 -artifact_prefix="$findings/" "$corpus" > "$log" 2>&1
  status=$?
  grep -E '^(#[0-9]+.*DONE|stat::number_of_executed_units|stat::peak_rss_mb)' "$log"
  if [ "$status" -ne 0 ] || [ -n "$(ls -A "$findings")" ]; then
    failed=1
    echo "!! $target found a problem (exit $status):"
    tail -n 60 "$log"
    for input in "$findings"/*; do
      [ -f "$input" ] || continue
      echo "-- input $input ($(stat -c %s "$input") bytes):"
      od -A x -t x1z -v "$input" | head -n 200
    done
  fi
done
if [ "$failed" -ne 0 ]; then
  echo "fuzzing: findings above"
  exit 1
fi
echo "fuzzing: no findings"
