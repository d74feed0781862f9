#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it, optionally with a picture.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
scripts/build.sh
if [ ! -x build/bin/miravo ]; then
  echo "The main window is not built yet; the build made the libraries and tests only." >&2
  exit 1
fi
exec build/bin/miravo "$@"
