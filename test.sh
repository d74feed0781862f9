#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
# Ends with a line "N passed, N failed".
set -uo pipefail
cd "$(dirname "$0")"

scripts/install-deps.sh || exit 1
scripts/build.sh || exit 1
scripts/run-tests.sh build
