#!/usr/bin/env bash
# Runs every test of a built tree (the build folder, build/ unless told) on a private X
# display. Ends with a line "N passed, N failed".
set -uo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
log="$build/ctest.log"
scripts/with-xvfb.sh ctest --test-dir "$build" --output-on-failure -j 2 --timeout 300 2>&1 | tee "$log"
summary=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
if [ -z "$summary" ]; then
  echo "0 passed, 1 failed"
  exit 1
fi
failed=$(echo "$summary" | sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/')
total=$(echo "$summary" | sed -E 's/.* failed out of ([0-9]+).*/\1/')
echo "$((total - failed)) passed, $failed failed"
[ "$failed" -eq 0 ]
