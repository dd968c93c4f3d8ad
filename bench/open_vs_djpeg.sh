#!/bin/sh
# Opening a 6000 x 4000 photo: `vermeo-cli info` decodes the whole JPEG or BMP into the
# working picture by the reading path of "&Ouvrir...", against `djpeg` decoding the
# same JPEG to a file, in one run. Each figure is the best of RUNS runs (default 5),
# with the files in memory (/dev/shm where there is one); the ratio is ours / djpeg's
# (aim: under 1.5).
# Usage: bench/open_vs_djpeg.sh [path/to/vermeo-cli]
set -eu
CLI=${1:-build/test/src/cli/vermeo-cli}
for tool in djpeg convert bc; do
  command -v $tool >/dev/null || { echo "$tool missing (scripts/setup.sh installs it)" >&2; exit 1; }
done
BASE=/dev/shm
[ -d "$BASE" ] && [ -w "$BASE" ] || BASE=${TMPDIR:-/tmp}
WORK=$(mktemp -d "$BASE/vermeo-bench.XXXXXX")
trap 'rm -rf "$WORK"' EXIT
export QT_QPA_PLATFORM=offscreen
convert -size 6000x4000 -seed 7 plasma:fractal -blur 0x2 -type truecolor BMP3:"$WORK/photo.bmp"
convert "$WORK/photo.bmp" -quality 90 -interlace none "$WORK/photo.jpg"

RUNS=${RUNS:-5}
now() { date +%s.%N; }
best() {
  b=""
  for _ in $(seq "$RUNS"); do
    t0=$(now); "$@" >/dev/null 2>&1 || { echo "failed: $*" >&2; exit 1; }; t1=$(now)
    t=$(echo "$t1 - $t0" | bc -l)
    if [ -z "$b" ] || [ "$(echo "$t < $b" | bc -l)" = 1 ]; then b=$t; fi
  done
  echo "$b"
}
d=$(best djpeg -outfile "$WORK/out.ppm" "$WORK/photo.jpg")
j=$(best "$CLI" info "$WORK/photo.jpg")
b=$(best "$CLI" info "$WORK/photo.bmp")
printf 'djpeg JPEG -> PPM      %7.3f s\n' "$d"
printf 'vermeo open JPEG       %7.3f s   ratio %5.2f\n' "$j" "$(echo "$j / $d" | bc -l)"
printf 'vermeo open BMP        %7.3f s   ratio %5.2f\n' "$b" "$(echo "$b / $d" | bc -l)"
