#!/bin/sh
# Times `vermeo-cli apply` / `vermeo-cli count` as whole processes against ImageMagick
# doing the same work on the same 6000 x 4000 BMP, best of three runs each.
# Usage: bench/colour_vs_imagemagick.sh PATH/TO/vermeo-cli [WORKDIR]
# The ratio is ImageMagick's time divided by ours (above 1: we are faster).
set -eu
CLI=${1:?usage: $0 PATH/TO/vermeo-cli [WORKDIR]}
WORK=${2:-$(mktemp -d)}
CONVERT=${CONVERT:-/usr/bin/convert}
IDENTIFY=${IDENTIFY:-/usr/bin/identify}
export QT_QPA_PLATFORM=offscreen
mkdir -p "$WORK"
# ImageMagick with a private policy rather than the system's.
. "$(dirname "$0")/rounds.sh"
bench_magick_policy "$WORK"
IN="$WORK/in.bmp"
if [ ! -f "$IN" ]; then
  "$CONVERT" -size 6000x4000 gradient:'#ff2010-#1040e0' \( -size 6000x4000 gradient:'#00ff00-#000000' -rotate 90 \) \
    -compose Difference -composite -type TrueColor BMP3:"$IN"
fi

now() { date +%s.%N; }
best() { # best of three wall times of "$@"
  b=""
  for _ in 1 2 3; do
    t0=$(now); "$@" >/dev/null 2>&1 || echo "failed: $*" >&2; t1=$(now)
    t=$(echo "$t1 - $t0" | bc -l)
    if [ -z "$b" ] || [ "$(echo "$t < $b" | bc -l)" = 1 ]; then b=$t; fi
  done
  echo "$b"
}
row() { # label, our time, their time
  printf '%-28s vermeo %6.3f s   ImageMagick %6.3f s   ratio %5.2f\n' "$1" "$2" "$3" "$(echo "$3 / $2" | bc -l)"
}
compare() { # label, vermeo apply arguments, convert arguments
  label=$1; ours=$2; theirs=$3
  # shellcheck disable=SC2086
  a=$(best "$CLI" apply $ours "$IN" "$WORK/ours.bmp")
  # shellcheck disable=SC2086
  b=$(best "$CONVERT" "$IN" $theirs BMP3:"$WORK/theirs.bmp")
  row "$label" "$a" "$b"
}

compare "luminosite 40 / +40%"      "luminosite 40"   "-evaluate add 40%"
compare "gris / grayscale average"  "gris"            "-grayscale Average"
compare "inverse / negate"          "inverse"         "-negate"
compare "solariser 128 / solarize"  "solariser 128"   "-solarize 50%"
compare "permuter BVR / swap r-b"   "permuter BVR"    "-separate -swap 0,2 -combine"
compare "balance 40 0 -40 / add"    "balance 40 0 -40" "-channel R -evaluate add 40% -channel B -evaluate subtract 40% +channel"
compare "monochrome / threshold"    "monochrome"      "-threshold 50% -type bilevel"
a=$(best "$CLI" count "$IN")
b=$(best "$IDENTIFY" -format %k "$IN")
row "count / identify %k" "$a" "$b"
