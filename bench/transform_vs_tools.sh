#!/bin/sh
# Whole processes of `vermeo-cli apply` (rotation, filtre, rechantillonner) against
# libvips doing the same work on the same 6000 x 4000 photo-like picture, in ROUNDS
# interleaved rounds (default 7): median and minimum of each, beside one plain
# read+write pass of each tool (vermeo-cli convert, vips copy) over the same files.
# Formats: vermeo reads and writes 24-bit BMP, libvips its own uncompressed PPM (it has
# no BMP saver of its own); both are raw 8-bit RGB of the same size. ImageMagick
# (convert, BMP to BMP, private policy) runs with MAGICK=1.
# Columns: med/min of each, vermeo / vips (below 1: we are faster), vermeo / our plain
# pass, and our median over our minimum (the scatter). BEFORE=PATH/TO/other/vermeo-cli
# times that build too, in the same rounds: a line under each row, with now / before.
# Usage: bench/transform_vs_tools.sh [PATH/TO/vermeo-cli] [WIDTH HEIGHT]
set -eu
CLI=${1:-build/release/src/cli/vermeo-cli}
W=${2:-6000}
H=${3:-4000}
VIPS=${VIPS:-vips}
. "$(dirname "$0")/rounds.sh"
for tool in "$VIPS" "$CONVERT" bc; do
  command -v "$tool" >/dev/null || { echo "$tool missing (scripts/setup.sh installs it)" >&2; exit 1; }
done
bench_work
bench_picture "$W" "$H"
I="$WORK/src.bmp"
P="$WORK/src.ppm"
# The sharpen filter in hundredths (1,24 in the centre, -0,06 on the four sides); libvips
# gets it once as an integer mask with a scale of 100, once as a real-valued mask.
printf '3 3 100 0\n0 -6 0\n-6 124 -6\n0 -6 0\n' >"$WORK/int.mat"
printf '3 3 1 0\n0 -0.06 0\n-0.06 1.24 -0.06\n0 -0.06 0\n' >"$WORK/float.mat"
SHARP="0 -0,06 0 -0,06 1,24 -0,06 0 -0,06 0"

echo "$W x $H, $(nproc) cores, $ROUNDS interleaved rounds, times in s as median/min (the machine may be shared)"
# The build to compare with, as one more command of each round; "true" when there is none.
OLD=true
[ -z "${BEFORE:-}" ] || OLD="\"$BEFORE\""
before() { # the line of the other build: its command's median and minimum
  [ -z "${BEFORE:-}" ] || printf '%-28s before %6.3f/%-6.3f now %6.3f/%-6.3f now/before %5.2f\n' "" "$1" "$2" "$3" "$4" \
    "$(bench_ratio "$3" "$1")"
}
bench_rounds "\"$CLI\" convert \"$I\" \"$WORK/c.bmp\"" "$VIPS copy \"$P\" \"$WORK/c.ppm\"" \
  "$OLD convert \"$I\" \"$WORK/b.bmp\""
PV=$M1; PVN=$N1; PL=$M2; PLN=$N2; PB=$M3; PBN=$N3
printf '%-28s %13s %13s %13s %7s %7s %6s\n' "" vermeo vips "vermeo plain" "v/vips" "v/plain" "scat."
printf '%-28s %6.3f/%-6.3f %6.3f/%-6.3f %13s\n' "plain read+write pass" "$PV" "$PVN" "$PL" "$PLN" ""
before "$PB" "$PBN" "$PV" "$PVN"
row() { # label, vermeo apply arguments, vips command line after the input and output
  bench_rounds "\"$CLI\" apply $2 \"$I\" \"$WORK/v.bmp\"" "$VIPS $3" \
    "\"$CLI\" convert \"$I\" \"$WORK/c.bmp\"" "$OLD apply $2 \"$I\" \"$WORK/b.bmp\""
  printf '%-28s %6.3f/%-6.3f %6.3f/%-6.3f %6.3f/%-6.3f %7.2f %7.2f %6.2f\n' "$1" "$M1" "$N1" "$M2" "$N2" "$M3" "$N3" \
    "$(bench_ratio "$M1" "$M2")" "$(bench_ratio "$M1" "$M3")" "$(bench_ratio "$M1" "$N1")"
  before "$M4" "$N4" "$M1" "$N1"
  if [ "${MAGICK:-0}" = 1 ]; then
    bench_rounds "\"$CONVERT\" \"$I\" $4 BMP3:\"$WORK/m.bmp\""
    printf '%-28s ImageMagick %6.3f/%-6.3f\n' "" "$M1" "$N1"
  fi
}
row "rotate 90" "rotation gauche" "rot \"$P\" \"$WORK/l.ppm\" d270" "-rotate -90"
row "sharpen 3 x 3 (real mask)" "filtre $SHARP" "conv \"$P\" \"$WORK/l.ppm\" \"$WORK/float.mat\"" \
  "-morphology Convolve '3x3: 0,-0.06,0 -0.06,1.24,-0.06 0,-0.06,0'"
row "sharpen 3 x 3 (integer mask)" "filtre $SHARP" "conv \"$P\" \"$WORK/l.ppm\" \"$WORK/int.mat\" --precision integer" \
  "-morphology Convolve '3x3: 0,-0.06,0 -0.06,1.24,-0.06 0,-0.06,0'"
row "Mitchell to half size" "rechantillonner $((W / 2)) $((H / 2))" \
  "resize \"$P\" \"$WORK/l.ppm\" 0.5 --kernel mitchell" "-filter Mitchell -resize $((W / 2))x$((H / 2))!"
row "rotate 45" "rotation 45" "rotate \"$P\" \"$WORK/l.ppm\" 45 --interpolate nearest" "-background white -rotate -45"
row "Mitchell to double size" "rechantillonner $((W * 2)) $((H * 2))" \
  "resize \"$P\" \"$WORK/l.ppm\" 2 --kernel mitchell" "-filter Mitchell -resize $((W * 2))x$((H * 2))!"
