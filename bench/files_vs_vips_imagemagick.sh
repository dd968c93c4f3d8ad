#!/bin/sh
# Whole-process times of `vermeo-cli convert` (BMP to BMP, TIFF, PCX, JPEG, PNG, WebP and
# back) and `vermeo-cli apply luminosite 40` on a 6000 x 4000 24-bit BMP, against
# libvips (`vips`) and ImageMagick (`convert`) doing the same work. Rounds are
# interleaved (ROUNDS, default 5): each round runs the three tools once in turn, so a
# busy spell of a shared machine falls on all of them; the table gives the median and
# the minimum of each, and the other tools' medians divided by ours (above 1: we are
# faster). The files live in memory (/dev/shm where there is one), so the disk's
# write-back is timed for no tool. ImageMagick runs under a policy of its own
# (MAGICK_CONFIGURE_PATH), not the system's.
# libvips reads and writes PPM natively but not BMP or PCX: it is given the same
# picture as PPM, writes PPM where we write BMP, and writes PCX through its ImageMagick
# saver (marked "magick"). JPEG is written by all at quality 90 with 4:2:0 chroma
# subsampling. PNG is written by all at zlib level 6 with no row filter (libvips'
# default; ImageMagick's -quality 60, which ImageMagick 6 still writes with row filters,
# about a third of the size, slower), and the sizes of the three files are printed.
# WebP is timed against cwebp/dwebp (libwebp's own tools, -mt as we use both cores).
# Usage: [ROUNDS=n] bench/files_vs_vips_imagemagick.sh [path/to/vermeo-cli]
set -eu
CLI=${1:-build/test/src/cli/vermeo-cli}
CONVERT=${CONVERT:-/usr/bin/convert}
for tool in vips "$CONVERT" bc cwebp dwebp; do
  command -v "$tool" >/dev/null || { echo "$tool missing (scripts/setup.sh installs it)" >&2; exit 1; }
done
ROUNDS=${ROUNDS:-5}
# A work folder in memory and ImageMagick's private policy.
. "$(dirname "$0")/rounds.sh"
bench_work
# Photographic-like: plasma noise, so run-length and JPEG coders do real work.
"$CONVERT" -size 6000x4000 -seed 7 plasma:fractal -blur 0x2 -type truecolor BMP3:"$WORK/src.bmp"
"$CONVERT" "$WORK/src.bmp" "$WORK/src.ppm"

row() { # label, then the command lines of vermeo, the second tool and the third
  label=$1; shift
  a=""; b=""; c=""
  for _ in $(seq "$ROUNDS"); do
    a="$a $(bench_once "$1")"; b="$b $(bench_once "$2")"; c="$c $(bench_once "$3")"
  done
  # shellcheck disable=SC2046,SC2086
  set -- $(echo $a | tr ' ' '\n' | bench_stats) $(echo $b | tr ' ' '\n' | bench_stats) $(echo $c | tr ' ' '\n' | bench_stats)
  printf '%-26s %7.3f/%-7.3f %7.3f/%-7.3f %7.3f/%-7.3f  %5.2f %5.2f\n' "$label" "$1" "$2" "$3" "$4" "$5" "$6" \
    "$(echo "$3 / $1" | bc -l)" "$(echo "$5 / $1" | bc -l)"
}
W=$WORK
echo "6000 x 4000, $ROUNDS interleaved rounds, $(nproc) cores (figures: median/minimum, seconds)"
printf '%-26s %15s %15s %15s  %5s %5s\n' "" vermeo vips imagick "vips/v" "im/v"
row "convert BMP->BMP (ppm)" "\"$CLI\" convert $W/src.bmp $W/v.bmp" "vips copy $W/src.ppm $W/l.ppm" \
  "$CONVERT $W/src.bmp -type truecolor BMP3:$W/i.bmp"
row "convert BMP->TIFF" "\"$CLI\" convert $W/src.bmp $W/v.tif" "vips copy $W/src.ppm $W/l.tif" \
  "$CONVERT $W/src.bmp -compress none $W/i.tif"
row "convert BMP->PCX (magick)" "\"$CLI\" convert $W/src.bmp $W/v.pcx" "vips magicksave $W/src.ppm $W/l.pcx" \
  "$CONVERT $W/src.bmp $W/i.pcx"
row "convert BMP->JPEG" "\"$CLI\" convert $W/src.bmp $W/v.jpg" "vips copy $W/src.ppm '$W/l.jpg[Q=90,subsample-mode=on]'" \
  "$CONVERT $W/src.bmp -quality 90 -sampling-factor 4:2:0 -interlace none $W/i.jpg"
row "convert BMP->PNG" "\"$CLI\" convert $W/src.bmp $W/v.png" "vips copy $W/src.ppm $W/l.png" \
  "$CONVERT $W/src.bmp -quality 60 $W/i.png"
echo "PNG sizes (bytes): vermeo $(wc -c < "$W/v.png"), vips $(wc -c < "$W/l.png"), imagick $(wc -c < "$W/i.png")"
row "read PNG->BMP (ppm)" "\"$CLI\" convert $W/l.png $W/v.bmp" "vips copy $W/l.png $W/l.ppm" \
  "$CONVERT $W/l.png -type truecolor BMP3:$W/i.bmp"
# Luminosité 40 %: an offset of 102 on each channel.
row "apply luminosite (ppm)" "\"$CLI\" apply luminosite 40 $W/src.bmp $W/v.bmp" \
  "vips linear $W/src.ppm $W/l.ppm 1 102 --uchar" "$CONVERT $W/src.bmp -evaluate add 40% BMP3:$W/i.bmp"

# WebP at quality 90 (lossy), written from the BMP and read back into BMP; the second
# column is libwebp's own tools, the third vips.
"$CLI" convert "$W/src.bmp" "$W/src.webp"
echo
printf '%-26s %15s %15s %15s  %5s %5s\n' "" vermeo libwebp vips "lw/v" "vips/v"
row "write BMP->WebP q90" "\"$CLI\" convert $W/src.bmp $W/v.webp" "cwebp -quiet -mt -q 90 $W/src.ppm -o $W/c.webp" \
  "vips copy $W/src.ppm '$W/l.webp[Q=90]'"
row "read WebP->BMP (ppm)" "\"$CLI\" convert $W/src.webp $W/v.bmp" "dwebp -quiet -mt $W/src.webp -bmp -o $W/d.bmp" \
  "vips copy $W/src.webp $W/l.ppm"
