#!/usr/bin/env bash
# Configures and builds the project into build/ with Ninja. Warnings are errors under CI.
set -euo pipefail
cd "$(dirname "$0")/.."
werror=OFF
if [ "${CI:-}" = "true" ]; then werror=ON; fi
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMIRAVO_WERROR="$werror" > build-configure.log 2>&1 \
  || { cat build-configure.log; exit 1; }
rm -f build-configure.log
cmake --build build -j "$(nproc)"
