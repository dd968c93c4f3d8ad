#!/bin/sh
# Times `vermeo-cli convert` against ImageMagick's `convert` writing a 6000 x 4000
# picture as BMP, JPEG (quality 90), PCX, TIFF and GIF, in one run, and prints the
# ratio vermeo / ImageMagick for each (below 1: vermeo is faster). Each figure is the
# best of RUNS runs (default 5), with the disk flushed before each, so that writing back
# an earlier file does not land on the next one's time.
# Usage: bench/convert_vs_imagemagick.sh [path/to/vermeo-cli]
set -e
CLI=${1:-build/src/cli/vermeo-cli}
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
# ImageMagick with a private policy rather than the system's.
. "$(dirname "$0")/rounds.sh"
bench_magick_policy "$WORK"
export QT_QPA_PLATFORM=offscreen
# A photographic-like source: plasma noise, so run-length and LZW coders do real work.
convert -size 6000x4000 -seed 7 plasma:fractal -blur 0x2 -type truecolor "$WORK/src.bmp"

RUNS=${RUNS:-5}
now() { date +%s.%N; }
# best TIME-OF-COMMAND...: the shortest of RUNS runs, in seconds
best() {
  b=""
  for _ in $(seq "$RUNS"); do
    sync
    t0=$(now); "$@" 2>/dev/null || { echo "failed: $*" >&2; exit 1; }; t1=$(now)
    t=$(echo "$t1 - $t0" | bc)
    if [ -z "$b" ] || [ "$(echo "$t < $b" | bc)" = 1 ]; then b=$t; fi
  done
  echo "$b"
}

printf "%-6s %10s %10s %8s\n" format vermeo imagick ratio
for fmt in bmp jpg pcx tif gif; do
  case $fmt in
    jpg) im_opts="-quality 90 -sampling-factor 4:2:0 -interlace none" ;; # our 4:2:0, not its 4:4:4
    tif) im_opts="-compress none" ;;
    bmp) im_opts="-type truecolor" ;;
    *)   im_opts="" ;;
  esac
  v=$(best "$CLI" convert "$WORK/src.bmp" "$WORK/v.$fmt")
  # shellcheck disable=SC2086
  i=$(best convert "$WORK/src.bmp" $im_opts "$WORK/i.$fmt")
  printf "%-6s %9.2fs %9.2fs %8.2f\n" "$fmt" "$v" "$i" "$(echo "$v / $i" | bc -l)"
done
