#!/bin/sh
# What every vermeo-cli process pays before and after its work: `--version`, and a plain
# convert of a small BMP (640 x 480) to BMP, against `/bin/true` started the same way (the
# cost of starting any process here), in ROUNDS interleaved rounds (default 21): median
# and minimum of each in milliseconds, and vermeo over true. BEFORE=PATH/TO/other/vermeo-cli
# times that build too, in the same rounds, with now / before.
# Usage: bench/cli_start.sh [PATH/TO/vermeo-cli]
set -eu
CLI=${1:-build/release/src/cli/vermeo-cli}
ROUNDS=${ROUNDS:-21}
. "$(dirname "$0")/rounds.sh"
command -v "$CONVERT" >/dev/null || { echo "$CONVERT missing (scripts/setup.sh installs it)" >&2; exit 1; }
bench_work
"$CONVERT" -size 640x480 -seed 3 plasma:fractal -type truecolor BMP3:"$WORK/small.bmp"
OLD=true
[ -z "${BEFORE:-}" ] || OLD="\"$BEFORE\""
ms() { echo "$1 * 1000" | bc -l; }
echo "$ROUNDS interleaved rounds, $(nproc) cores, times in ms as median/min (the machine may be shared)"
printf '%-22s %15s %15s %9s\n' "" vermeo-cli true "v/true"
bench_rounds "\"$CLI\" --version" "/bin/true" "$OLD --version" \
  "\"$CLI\" convert \"$WORK/small.bmp\" \"$WORK/a.bmp\"" "$OLD convert \"$WORK/small.bmp\" \"$WORK/b.bmp\""
line() { # label, vermeo median and minimum, the other build's
  printf '%-22s %7.1f/%-7.1f %7.1f/%-7.1f %9.2f\n' "$1" "$(ms "$2")" "$(ms "$3")" "$(ms "$M2")" "$(ms "$N2")" \
    "$(bench_ratio "$2" "$M2")"
  [ -z "${BEFORE:-}" ] || printf '%-22s before %6.1f/%-6.1f now/before %5.2f\n' "" "$(ms "$4")" "$(ms "$5")" \
    "$(bench_ratio "$2" "$4")"
}
V1=$M1; V2=$N1; B1=$M3; B2=$N3
line "--version" "$V1" "$V2" "$B1" "$B2"
line "convert 640 x 480 BMP" "$M4" "$N4" "$M5" "$N5"
