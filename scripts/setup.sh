#!/usr/bin/env bash
# Installs every Debian package that building, testing and running Vermeo needs.
# Safe to run again: packages already present are skipped.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-image-formats-plugins libqt6svg6 qt6-translations-l10n
  libgl-dev libxkbcommon-dev
  libjpeg62-turbo-dev libgif-dev libimagequant-dev zlib1g-dev
  liblcms2-dev libwebp-dev libheif-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-liberation fonts-dejavu-core
  xvfb xauth xclip openbox
  libsane-dev libsane1 libsane-common sane-utils tzdata
  python3-pil libtiff-tools imagemagick netpbm
  libvips-tools graphicsmagick libjpeg-turbo-progs bc
  desktop-file-utils appstream man-db file xdotool libx11-dev libxtst-dev
  poppler-utils
  libimage-exiftool-perl liblcms2-utils webp libheif-examples
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
