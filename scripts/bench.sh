#!/usr/bin/env bash
# Builds and runs every benchmark program in build/bin (names ending in _bench).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
for b in build/bin/*_bench; do
  echo "== $b"
  "$b" --benchmark_counters_tabular=true "$@"
done
