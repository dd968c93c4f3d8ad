#!/bin/sh
# Opening a 6000 x 4000 photo: `vermeo-cli convert` decodes the whole JPEG or BMP into the
# working picture by the reading path of "&Ouvrir..." and writes it as an uncompressed BMP,
# against `djpeg` decoding the same JPEG to an uncompressed PPM (`info` reads the header
# alone, so it would time nothing of the decode), in one run: ROUNDS interleaved rounds
# (default 7), each figure the median and the minimum, with the files in memory (/dev/shm
# where there is one); the ratio is ours / djpeg's, of the medians (aim: under 1.5).
# Usage: bench/open_vs_djpeg.sh [path/to/vermeo-cli]
set -eu
CLI=${1:-build/test/src/cli/vermeo-cli}
for tool in djpeg convert bc; do
  command -v $tool >/dev/null || { echo "$tool missing (scripts/setup.sh installs it)" >&2; exit 1; }
done
# A work folder in memory, ImageMagick's private policy and the interleaved rounds.
. "$(dirname "$0")/rounds.sh"
bench_work
convert -size 6000x4000 -seed 7 plasma:fractal -blur 0x2 -type truecolor BMP3:"$WORK/photo.bmp"
convert "$WORK/photo.bmp" -quality 90 -interlace none "$WORK/photo.jpg"

bench_rounds "djpeg -outfile $WORK/out.ppm $WORK/photo.jpg" "\"$CLI\" convert $WORK/photo.jpg $WORK/out.bmp" \
  "\"$CLI\" convert $WORK/photo.bmp $WORK/out.bmp"
printf 'djpeg JPEG -> PPM      %7.3f/%-7.3f s\n' "$M1" "$N1"
printf 'vermeo open JPEG       %7.3f/%-7.3f s   ratio %5.2f\n' "$M2" "$N2" "$(bench_ratio "$M2" "$M1")"
printf 'vermeo open BMP        %7.3f/%-7.3f s   ratio %5.2f\n' "$M3" "$N3" "$(bench_ratio "$M3" "$M1")"
