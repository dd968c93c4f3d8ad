#!/bin/sh
# Whole-process times of `vermeo-cli convert` (BMP to BMP, TIFF, PCX, JPEG) and
# `vermeo-cli apply luminosite 40` on a 6000 x 4000 24-bit BMP, against libvips (`vips`)
# and ImageMagick (`convert`) doing the same work, in one run. Each figure is the best
# of RUNS runs (default 3). The files live in memory (/dev/shm where there is one), so
# the disk's write-back is timed for no tool.
# libvips reads and writes PPM natively but not BMP or PCX: it is given the same
# picture as PPM, writes PPM where we write BMP, and writes PCX through its ImageMagick
# saver (marked "magick").
# WebP, read and written, is timed against cwebp/dwebp (libwebp's own tools, -mt as we
# use both cores) and vips in interleaved rounds (ROUNDS, default 5): each round runs the
# three tools once in turn, so a busy spell of the machine falls on all of them; the
# table gives the median and the minimum of each.
# Usage: bench/files_vs_vips_imagemagick.sh [path/to/vermeo-cli]
set -eu
CLI=${1:-build/test/src/cli/vermeo-cli}
for tool in vips convert bc cwebp dwebp; do
  command -v $tool >/dev/null || { echo "$tool missing (scripts/setup.sh installs it)" >&2; exit 1; }
done
BASE=/dev/shm
[ -d "$BASE" ] && [ -w "$BASE" ] || BASE=${TMPDIR:-/tmp}
WORK=$(mktemp -d "$BASE/vermeo-bench.XXXXXX")
trap 'rm -rf "$WORK"' EXIT
# ImageMagick with a private policy rather than the system's.
. "$(dirname "$0")/rounds.sh"
bench_magick_policy "$WORK"
export QT_QPA_PLATFORM=offscreen
# Photographic-like: plasma noise, so run-length and JPEG coders do real work.
convert -size 6000x4000 -seed 7 plasma:fractal -blur 0x2 -type truecolor BMP3:"$WORK/src.bmp"
convert "$WORK/src.bmp" "$WORK/src.ppm"

RUNS=${RUNS:-3}
now() { date +%s.%N; }
best() { # the shortest wall time of RUNS runs of "$@", in seconds
  b=""
  for _ in $(seq "$RUNS"); do
    t0=$(now); "$@" >/dev/null 2>&1 || { echo "failed: $*" >&2; exit 1; }; t1=$(now)
    t=$(echo "$t1 - $t0" | bc -l)
    if [ -z "$b" ] || [ "$(echo "$t < $b" | bc -l)" = 1 ]; then b=$t; fi
  done
  echo "$b"
}
row() { # label, vermeo, vips, imagemagick (seconds)
  printf '%-22s %8.3f %8.3f %8.3f   %6.2f %6.2f\n' "$1" "$2" "$3" "$4" \
    "$(echo "$3 / $2" | bc -l)" "$(echo "$4 / $2" | bc -l)"
}

printf '%-22s %8s %8s %8s   %6s %6s\n' "" vermeo vips imagick "vips/v" "im/v"
v=$(best "$CLI" convert "$WORK/src.bmp" "$WORK/v.bmp")
l=$(best vips copy "$WORK/src.ppm" "$WORK/l.ppm")
i=$(best convert "$WORK/src.bmp" -type truecolor BMP3:"$WORK/i.bmp")
row "convert BMP->BMP (ppm)" "$v" "$l" "$i"
v=$(best "$CLI" convert "$WORK/src.bmp" "$WORK/v.tif")
l=$(best vips copy "$WORK/src.ppm" "$WORK/l.tif")
i=$(best convert "$WORK/src.bmp" -compress none "$WORK/i.tif")
row "convert BMP->TIFF" "$v" "$l" "$i"
v=$(best "$CLI" convert "$WORK/src.bmp" "$WORK/v.pcx")
l=$(best vips magicksave "$WORK/src.ppm" "$WORK/l.pcx")
i=$(best convert "$WORK/src.bmp" "$WORK/i.pcx")
row "convert BMP->PCX (magick)" "$v" "$l" "$i"
v=$(best "$CLI" convert "$WORK/src.bmp" "$WORK/v.jpg")
# The same JPEG for all: quality 90 with 4:2:0 chroma, as we write (both others write
# 4:4:4 at quality 90 unless told).
l=$(best vips copy "$WORK/src.ppm" "$WORK/l.jpg[Q=90,subsample_mode=on]")
i=$(best convert "$WORK/src.bmp" -quality 90 -sampling-factor 4:2:0 -interlace none "$WORK/i.jpg")
row "convert BMP->JPEG" "$v" "$l" "$i"
# Luminosité 40 %: an offset of 102 on each channel.
v=$(best "$CLI" apply luminosite 40 "$WORK/src.bmp" "$WORK/v.bmp")
l=$(best vips linear "$WORK/src.ppm" "$WORK/l.ppm" 1 102 --uchar)
i=$(best convert "$WORK/src.bmp" -evaluate add 40% BMP3:"$WORK/i.bmp")
row "apply luminosite (ppm)" "$v" "$l" "$i"

# WebP at quality 90 (lossy), written from the BMP and read back into BMP.
"$CLI" convert "$WORK/src.bmp" "$WORK/src.webp"
ROUNDS=${ROUNDS:-5}
once() { # wall time of one run of "$@", in seconds
  t0=$(now); "$@" >/dev/null 2>&1 || { echo "failed: $*" >&2; exit 1; }; t1=$(now)
  echo "$t1 - $t0" | bc -l
}
stats() { # median and minimum of the numbers on stdin
  sort -g | awk '{ v[NR] = $1 } END { m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2; printf "%.3f %.3f", m, v[1] }'
}
webp_rows() { # label, then the command lines of vermeo, libwebp and vips
  label=$1; shift
  a=""; b=""; c=""
  for _ in $(seq "$ROUNDS"); do
    a="$a $(once sh -c "$1")"; b="$b $(once sh -c "$2")"; c="$c $(once sh -c "$3")"
  done
  set -- $(echo $a | tr ' ' '\n' | stats) $(echo $b | tr ' ' '\n' | stats) $(echo $c | tr ' ' '\n' | stats)
  printf '%-22s %7.3f/%-7.3f %7.3f/%-7.3f %7.3f/%-7.3f  %5.2f %5.2f\n' "$label" "$1" "$2" "$3" "$4" "$5" "$6" \
    "$(echo "$3 / $1" | bc -l)" "$(echo "$5 / $1" | bc -l)"
}
echo
printf '%-22s %15s %15s %15s  %5s %5s\n' "median/min" vermeo libwebp vips "lw/v" "vips/v"
webp_rows "write BMP->WebP q90" \
  "\"$CLI\" convert \"$WORK/src.bmp\" \"$WORK/v.webp\"" \
  "cwebp -quiet -mt -q 90 \"$WORK/src.ppm\" -o \"$WORK/c.webp\"" \
  "vips copy \"$WORK/src.ppm\" \"$WORK/l.webp[Q=90]\""
webp_rows "read WebP->BMP (ppm)" \
  "\"$CLI\" convert \"$WORK/src.webp\" \"$WORK/v.bmp\"" \
  "dwebp -quiet -mt \"$WORK/src.webp\" -bmp -o \"$WORK/d.bmp\"" \
  "vips copy \"$WORK/src.webp\" \"$WORK/l.ppm\""
