#!/usr/bin/env bash
# Builds the skin and renders review sheets of it as PNG files:
#   main-states.png / compare-states.png  each window in its normal look and with every
#                                         hover, pressed and disabled image pasted in place
#   extras.png                            cursors with their hotspots, knobs, icon, texture
#   main-in-use.png                       the main window with the sample portrait, a tool
#                                         selected, the knobs shown and its help text
# Usage: scripts/skin-contact-sheet.sh [build folder] [output folder]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
out="${2:-$build/skin-sheets}"
if [ ! -f "$build/build.ninja" ] && [ ! -f "$build/Makefile" ]; then
  cmake -S "$root" -B "$build" -G Ninja
fi
cmake --build "$build" --target skin skin_contact_sheet
QT_QPA_PLATFORM=offscreen "$build/data/skin_contact_sheet" "$build/bin/data" "$out" "$root/samples/portrait.png"
echo "sheets written to $out"
