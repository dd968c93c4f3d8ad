#!/bin/sh
# How vermeo-cli's time and peak memory grow with the picture: 1000 x 750, 6000 x 4000
# and 12000 x 8000 (1:32:128 in pixels), for open (BMP read and written again),
# Luminosité 40, rotate 90 and Mitchell to half size, as whole processes.
# Each time is the median/min of ROUNDS interleaved rounds (default 5; the machine may be
# shared); peak memory is the largest resident size of those runs. Columns per size:
# ms per megapixel (flat when linear in pixels) and peak memory over the picture's
# working size (4 bytes a pixel; the target is at most 2.5).
# Usage: bench/scaling.sh [PATH/TO/vermeo-cli]
set -eu
CLI=${1:-build/release/src/cli/vermeo-cli}
. "$(dirname "$0")/rounds.sh"
ROUNDS=${ROUNDS:-5}
for tool in "$CONVERT" bc /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "$tool missing" >&2; exit 1; }
done
bench_work
SIZES=${SIZES:-"1000x750 6000x4000 12000x8000"}
for s in $SIZES; do
  # Made small and enlarged: plasma noise of 12000 x 8000 takes ImageMagick minutes.
  [ -f "$WORK/$s.bmp" ] || "$CONVERT" -size 1500x1000 -seed 7 plasma:fractal -blur 0x2 -resize "$s!" \
    -type truecolor BMP3:"$WORK/$s.bmp"
done
# One run of "$CLI ARGS...": "seconds peak-KiB".
measure() {
  /usr/bin/time -f '%e %M' -o "$WORK/time" "$CLI" "$@" >/dev/null 2>&1 || { echo "failed: $*" >&2; exit 1; }
  cat "$WORK/time"
}
# The process's own memory without a picture (libraries, Qt): `info` reads the header only.
BASE=$(measure info "$WORK/1000x750.bmp"); BASE=${BASE#* }
echo "memory: peak resident size over 4 bytes a pixel; in brackets after the $((BASE / 1024)) MiB the process takes without a picture"
printf '%-14s' ""
for s in $SIZES; do printf ' %31s' "$s"; done
printf '\n%-14s' ""
for s in $SIZES; do printf ' %31s' "med/min s, ms/MP, mem/pic"; done
echo
op_row() { # label, the command's words before ENTRÉE SORTIE (split at spaces), "half" for L H
  printf '%-14s' "$1"
  for s in $SIZES; do
    w=${s%x*}; h=${s#*x}
    times=""; peak=0
    for _ in $(seq "$ROUNDS"); do
      # shellcheck disable=SC2086
      r=$(measure $2 ${3:+$((w / 2)) $((h / 2))} "$WORK/$s.bmp" "$WORK/out.bmp")
      times="$times ${r% *}"
      kb=${r#* }
      [ "$kb" -gt "$peak" ] && peak=$kb
    done
    st=$(echo $times | tr ' ' '\n' | bench_stats)
    med=${st% *}; min=${st#* }
    mp=$(echo "$w * $h / 1000000" | bc -l)
    printf ' %6.3f/%-6.3f %6.1f %5.2f(%5.2f)' "$med" "$min" "$(echo "$med * 1000 / $mp" | bc -l)" \
      "$(echo "$peak * 1024 / ($w * $h * 4)" | bc -l)" "$(echo "($peak - $BASE) * 1024 / ($w * $h * 4)" | bc -l)"
  done
  echo
}
op_row "open" "convert"
op_row "luminosite 40" "apply luminosite 40"
op_row "rotate 90" "apply rotation gauche"
op_row "Mitchell 1/2" "apply rechantillonner" half
