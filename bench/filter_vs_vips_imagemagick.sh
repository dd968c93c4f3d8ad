#!/bin/sh
# The "Filtres" convolution (a sharpen filter: 1,24 in the centre, -0,06 on the four
# sides) on a 6000 x 4000 picture, in one run: in-process (filter_bench), and as whole
# processes `vermeo-cli apply filtre` beside libvips (`vips conv`) and ImageMagick
# (`convert -morphology Convolve`) with the same matrix. Each figure is the best of RUNS
# runs (default 3). The files live in memory (/dev/shm where there is one).
# libvips reads and writes PPM natively but not BMP: it is given the same picture as PPM.
# Ratios: the other tool's time divided by ours (above 1: we are faster).
# Usage: bench/filter_vs_vips_imagemagick.sh [path/to/vermeo-cli] [path/to/filter_bench]
set -eu
CLI=${1:-build/test/src/cli/vermeo-cli}
BENCH=${2:-build/test/bench/filter_bench}
for tool in vips convert bc; do
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
convert -size 6000x4000 -seed 7 plasma:fractal -blur 0x2 -type truecolor BMP3:"$WORK/src.bmp"
convert "$WORK/src.bmp" "$WORK/src.ppm"
# vips: an integer mask with a scale of 100, as our hundredths.
printf '3 3 100 0\n0 -6 0\n-6 124 -6\n0 -6 0\n' >"$WORK/sharpen.mat"

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

if [ -x "$BENCH" ]; then
  echo "In process (ms, and times one plain pass that makes a new picture):"
  "$BENCH" --benchmark_filter='PlainPass|Convolve' --benchmark_min_time=1 2>/dev/null | sed -n '/\/ plain/,$p'
  echo
fi
# Copies alone, for the share of reading and writing in each tool's time.
cv=$(best "$CLI" convert "$WORK/src.bmp" "$WORK/c.bmp")
cl=$(best vips copy "$WORK/src.ppm" "$WORK/c.ppm")
ci=$(best convert "$WORK/src.bmp" -type truecolor BMP3:"$WORK/c2.bmp")
v=$(best "$CLI" apply filtre 0 -0,06 0 -0,06 1,24 -0,06 0 -0,06 0 "$WORK/src.bmp" "$WORK/v.bmp")
l=$(best vips conv "$WORK/src.ppm" "$WORK/l.ppm" "$WORK/sharpen.mat" --precision integer)
i=$(best convert "$WORK/src.bmp" -morphology Convolve '3x3: 0,-0.06,0 -0.06,1.24,-0.06 0,-0.06,0' \
  -type truecolor BMP3:"$WORK/i.bmp")
printf '%-26s %8s %8s %8s   %6s %6s\n' "whole process (s)" vermeo vips imagick "vips/v" "im/v"
printf '%-26s %8.3f %8.3f %8.3f   %6.2f %6.2f\n' "copy, no filter" "$cv" "$cl" "$ci" \
  "$(echo "$cl / $cv" | bc -l)" "$(echo "$ci / $cv" | bc -l)"
printf '%-26s %8.3f %8.3f %8.3f   %6.2f %6.2f\n' "sharpen 3 x 3" "$v" "$l" "$i" \
  "$(echo "$l / $v" | bc -l)" "$(echo "$i / $v" | bc -l)"
