#!/bin/sh
# Times `vermeo-cli convert` against ImageMagick's `convert` writing a 6000 x 4000
# picture as BMP, JPEG (quality 90), PCX, TIFF and GIF, in one run, and prints the
# ratio vermeo / ImageMagick for each (below 1: vermeo is faster).
# Usage: bench/convert_vs_imagemagick.sh [path/to/vermeo-cli]
set -e
CLI=${1:-build/src/cli/vermeo-cli}
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
export QT_QPA_PLATFORM=offscreen
# A photographic-like source: plasma noise, so run-length and LZW coders do real work.
convert -size 6000x4000 -seed 7 plasma:fractal -blur 0x2 -type truecolor "$WORK/src.bmp"

now() { date +%s.%N; }
elapsed() { echo "$2 - $1" | bc; }

printf "%-6s %10s %10s %8s\n" format vermeo imagick ratio
for fmt in bmp jpg pcx tif gif; do
  case $fmt in
    jpg) im_opts="-quality 90 -interlace none" ;;
    tif) im_opts="-compress none" ;;
    bmp) im_opts="-type truecolor" ;;
    *)   im_opts="" ;;
  esac
  t0=$(now); "$CLI" convert "$WORK/src.bmp" "$WORK/v.$fmt" 2>/dev/null; t1=$(now)
  # shellcheck disable=SC2086
  convert "$WORK/src.bmp" $im_opts "$WORK/i.$fmt"; t2=$(now)
  v=$(elapsed "$t0" "$t1"); i=$(elapsed "$t1" "$t2")
  printf "%-6s %9.2fs %9.2fs %8.2f\n" "$fmt" "$v" "$i" "$(echo "$v / $i" | bc -l)"
done
