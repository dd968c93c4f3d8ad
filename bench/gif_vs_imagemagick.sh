#!/bin/sh
# Whole-process times of writing a photograph as GIF (palette reduction with dithering,
# then LZW): `vermeo-cli convert photo.jpg photo.gif` against ImageMagick (`convert`)
# and libvips (`vips copy`), at 640 x 480 and 6000 x 4000. The tools run in interleaved
# rounds (vermeo, ImageMagick, vips, then again), so that the load of a shared machine
# falls on all of them alike; each line gives the median and the minimum of ROUNDS
# rounds (default 5 at 640 x 480, 3 at 6000 x 4000) and the ratios of the others' medians
# and minima to Vermeo's. The quality of each result against the photograph (PSNR, dB)
# is printed beside it: a faster GIF that looks worse would be no gain.
# Usage: bench/gif_vs_imagemagick.sh [path/to/vermeo-cli]
set -eu
CLI=${1:-build/test/src/cli/vermeo-cli}
IM=/usr/bin/convert
[ -x "$IM" ] || IM=convert
COMPARE=/usr/bin/compare
[ -x "$COMPARE" ] || COMPARE=compare
for tool in vips bc; do
  command -v $tool >/dev/null || { echo "$tool missing (scripts/setup.sh installs it)" >&2; exit 1; }
done
ROUNDS=${ROUNDS:-5}
# A work folder in memory and ImageMagick's private policy.
. "$(dirname "$0")/rounds.sh"
bench_work

took() { # wall seconds of "$@"
  t0=$(bench_now); "$@" >/dev/null 2>&1 || { echo "failed: $*" >&2; exit 1; }; t1=$(bench_now)
  echo "$t1 - $t0" | bc -l
}
median() { sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }
minimum() { sort -n | head -n 1; }
psnr() { "$COMPARE" -metric PSNR "$1" "$2" null: 2>&1 | cut -d' ' -f1; }

run_size() { # width height rounds
  w=$1; h=$2; rounds=$3
  [ "$rounds" -gt 0 ] || return 0
  src="$WORK/photo-${w}x${h}.jpg"
  # Photographic-like: plasma noise, blurred a little, as a camera's JPEG.
  "$IM" -size "${w}x${h}" -seed 7 plasma:fractal -blur 0x2 -quality 90 "$src"
  : >"$WORK/v"; : >"$WORK/i"; : >"$WORK/l"
  for _ in $(seq "$rounds"); do
    took "$CLI" convert "$src" "$WORK/v.gif" >>"$WORK/v"
    took "$IM" "$src" "$WORK/i.gif" >>"$WORK/i"
    took vips copy "$src" "$WORK/l.gif" >>"$WORK/l"
  done
  vm=$(median <"$WORK/v"); vn=$(minimum <"$WORK/v")
  im=$(median <"$WORK/i"); in=$(minimum <"$WORK/i")
  lm=$(median <"$WORK/l"); ln=$(minimum <"$WORK/l")
  printf '%-10s %7.2f %7.2f | %7.2f %7.2f | %7.2f %7.2f | %5.1fx %5.1fx | %5.1fx %5.1fx | %s %s %s\n' \
    "${w}x${h}" "$vm" "$vn" "$im" "$in" "$lm" "$ln" \
    "$(echo "$im / $vm" | bc -l)" "$(echo "$in / $vn" | bc -l)" \
    "$(echo "$lm / $vm" | bc -l)" "$(echo "$ln / $vn" | bc -l)" \
    "$(psnr "$src" "$WORK/v.gif")" "$(psnr "$src" "$WORK/i.gif")" "$(psnr "$src" "$WORK/l.gif")"
}

printf '%-10s %15s | %15s | %15s | %13s | %13s | %s\n' "" "vermeo med min" "imagick med min" \
  "vips med min" "im/v med min" "vips/v med min" "PSNR v im vips"
run_size 640 480 "${ROUNDS:-5}"
run_size 6000 4000 "${ROUNDS_LARGE:-3}"
