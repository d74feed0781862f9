#!/usr/bin/env bash
# Installs the Debian packages the build (with dlib and its 68-point face landmark model),
# the tests (with the tools that make HEIC and WebP files and check the desktop entry),
# the benchmarks and the fuzz targets (clang with its libFuzzer and sanitizer runtimes) need.
# Does nothing when everything is already present.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev libgl-dev
  qt6-image-formats-plugins qt6-translations-l10n qt6-svg-dev
  libjpeg62-turbo-dev libjpeg-turbo-progs libpng-dev zlib1g-dev libtiff-dev
  libheif-dev libheif-examples webp
  libdlib-dev libdlib-data
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-arphic-uming fonts-dejavu-core
  xvfb xdotool x11-utils x11-apps imagemagick xauth
  desktop-file-utils appstream
  clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
