#!/bin/sh
# Batch conversion of 100 JPEG photos (1600 x 1200): `vermeo-cli conversions` (the loop
# of "Conversions multiples", on every core) against ImageMagick's `mogrify -format`
# doing the same conversion, in one run, for each target format both can write. Each
# figure is the best of RUNS runs (default 3); the ratio is vermeo / mogrify (aim: below
# 1 everywhere, below 0.5 for BMP, PCX and TIFF). WMF and EMF, which mogrify cannot
# write, are timed alone.
# Usage: [RUNS=n] [FORMATS="Bmp Pcx"] bench/conversions_vs_mogrify.sh [path/to/vermeo-cli]
set -eu
CLI=${1:-build/test/src/cli/vermeo-cli}
for tool in convert mogrify bc; do
  command -v $tool >/dev/null || { echo "$tool missing (scripts/setup.sh installs it)" >&2; exit 1; }
done
BASE=/dev/shm
[ -d "$BASE" ] && [ -w "$BASE" ] || BASE=${TMPDIR:-/tmp}
WORK=$(mktemp -d "$BASE/vermeo-conv.XXXXXX")
trap 'rm -rf "$WORK"' EXIT
export QT_QPA_PLATFORM=offscreen
mkdir "$WORK/in"
# One photographic-like picture, rolled a different way for each file.
convert -size 1600x1200 -seed 5 plasma:fractal -blur 0x1 "$WORK/base.png"
for i in $(seq 1 100); do
  convert "$WORK/base.png" -roll "+$((i * 13))+$((i * 7))" -quality 90 "$WORK/in/photo$(printf %03d "$i").jpg"
done

RUNS=${RUNS:-3}
now() { date +%s.%N; }
best() {
  b=""
  for _ in $(seq "$RUNS"); do
    rm -rf "$WORK/out"; mkdir "$WORK/out"
    t0=$(now); "$@" >/dev/null 2>&1 || { echo "failed: $*" >&2; exit 1; }; t1=$(now)
    t=$(echo "$t1 - $t0" | bc -l)
    if [ -z "$b" ] || [ "$(echo "$t < $b" | bc -l)" = 1 ]; then b=$t; fi
  done
  echo "$b"
}

printf "%-6s %10s %10s %8s\n" format vermeo mogrify ratio
for fmt in ${FORMATS:-Bmp Pcx Tif Jpg Gif Wmf Emf}; do
  case $fmt in Wmf|Emf) continue ;; esac
  ext=$(echo "$fmt" | tr 'A-Z' 'a-z')
  case $fmt in
    Jpg) opts="-quality 90 -interlace none" ;;
    Tif) opts="-compress none" ;;
    Bmp) opts="-type truecolor" ;;
    *)   opts="" ;;
  esac
  v=$(best "$CLI" conversions "$fmt" "$WORK/out" "$WORK"/in/*.jpg)
  # shellcheck disable=SC2086
  m=$(best mogrify -path "$WORK/out" -format "$ext" $opts "$WORK"/in/*.jpg)
  printf "%-6s %9.2fs %9.2fs %8.2f\n" "$fmt" "$v" "$m" "$(echo "$v / $m" | bc -l)"
done
for fmt in ${FORMATS:-Wmf Emf}; do
  case $fmt in Wmf|Emf) ;; *) continue ;; esac
  v=$(best "$CLI" conversions "$fmt" "$WORK/out" "$WORK"/in/*.jpg)
  printf "%-6s %9.2fs %10s\n" "$fmt" "$v" "-"
done
