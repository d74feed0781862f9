#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it with a picture: the one
# given, or the bundled sample portrait.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
scripts/build.sh
if [ $# -eq 0 ]; then
  set -- samples/portrait.png
fi
exec build/bin/miravo "$@"
