#!/bin/sh
# Batch conversion of 100 JPEG photos (SIZE, default 1000x750): `vermeo-cli conversions`
# (the loop of "Conversions multiples", on every core) against ImageMagick's
# `mogrify -format` doing the same conversion, for each target format both can write.
# Rounds are interleaved (ROUNDS, default 5): each round runs vermeo then mogrify, so a
# busy spell of a shared machine falls on both; the table gives the median and the
# minimum of each and the ratio of the medians, vermeo / mogrify (aim: 0.33 or below for
# BMP). Same work for both: JPEG at quality 90 with 4:2:0 chroma subsampling (libjpeg's
# default, which vermeo uses), uncompressed TIFF, 24-bit BMP. ImageMagick runs under a
# policy of its own (MAGICK_CONFIGURE_PATH), not the system's. WMF and EMF, which
# mogrify cannot write, are timed alone.
# Usage: [ROUNDS=n] [SIZE=WxH] [FORMATS="Bmp Pcx"] bench/conversions_vs_mogrify.sh [path/to/vermeo-cli]
set -eu
CLI=${1:-build/test/src/cli/vermeo-cli}
CONVERT=${CONVERT:-/usr/bin/convert}
MOGRIFY=${MOGRIFY:-/usr/bin/mogrify}
for tool in "$CONVERT" "$MOGRIFY" bc; do
  command -v "$tool" >/dev/null || { echo "$tool missing (scripts/setup.sh installs it)" >&2; exit 1; }
done
ROUNDS=${ROUNDS:-5}
# A work folder in memory and ImageMagick's private policy.
. "$(dirname "$0")/rounds.sh"
bench_work
mkdir "$WORK/in"
# One photographic-like picture, rolled a different way for each file.
"$CONVERT" -size "${SIZE:-1000x750}" -seed 5 plasma:fractal -blur 0x1 "$WORK/base.png"
for i in $(seq 1 100); do
  "$CONVERT" "$WORK/base.png" -roll "+$((i * 13))+$((i * 7))" -quality 90 -sampling-factor 4:2:0 \
    "$WORK/in/photo$(printf %03d "$i").jpg"
done

once() { # wall time of one run of "$@" into an empty output folder, in seconds
  rm -rf "$WORK/out"; mkdir "$WORK/out"
  t0=$(bench_now); "$@" >/dev/null 2>&1 || { echo "failed: $*" >&2; exit 1; }; t1=$(bench_now)
  echo "$t1 - $t0" | bc -l
}

echo "100 files of ${SIZE:-1000x750}, $ROUNDS interleaved rounds, $(nproc) cores (figures: median/minimum)"
printf "%-6s %15s %15s %8s\n" format vermeo mogrify ratio
for fmt in ${FORMATS:-Bmp Pcx Tif Jpg Gif Wmf Emf}; do
  case $fmt in Wmf|Emf) continue ;; esac
  ext=$(echo "$fmt" | tr 'A-Z' 'a-z')
  case $fmt in
    Jpg) opts="-quality 90 -sampling-factor 4:2:0 -interlace none" ;;
    Tif) opts="-compress none" ;;
    Bmp) opts="-type truecolor" ;;
    *)   opts="" ;;
  esac
  a=""; b=""
  for _ in $(seq "$ROUNDS"); do
    a="$a $(once "$CLI" conversions "$fmt" "$WORK/out" "$WORK"/in/*.jpg)"
    # shellcheck disable=SC2086
    b="$b $(once "$MOGRIFY" -path "$WORK/out" -format "$ext" $opts "$WORK"/in/*.jpg)"
  done
  # shellcheck disable=SC2046,SC2086
  set -- $(echo $a | tr ' ' '\n' | bench_stats) $(echo $b | tr ' ' '\n' | bench_stats)
  printf "%-6s %7.3f/%-7.3f %7.3f/%-7.3f %8.2f\n" "$fmt" "$1" "$2" "$3" "$4" "$(echo "$1 / $3" | bc -l)"
done
for fmt in ${FORMATS:-Wmf Emf}; do
  case $fmt in Wmf|Emf) ;; *) continue ;; esac
  a=""
  for _ in $(seq "$ROUNDS"); do a="$a $(once "$CLI" conversions "$fmt" "$WORK/out" "$WORK"/in/*.jpg)"; done
  # shellcheck disable=SC2046,SC2086
  set -- $(echo $a | tr ' ' '\n' | bench_stats)
  printf "%-6s %7.3f/%-7.3f %15s\n" "$fmt" "$1" "$2" "-"
done
