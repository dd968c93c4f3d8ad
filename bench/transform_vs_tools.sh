#!/bin/sh
# Times `vermeo-cli apply rechantillonner / rotation` as whole processes against
# ImageMagick (convert) and libvips (vips) doing the same work on the same 6000 x 4000
# picture, best of three runs each. vermeo-cli and convert read and write BMP; vips
# reads and writes the same pixels as PPM, its own uncompressed format.
# Usage: bench/transform_vs_tools.sh PATH/TO/vermeo-cli [WORKDIR]
# Each ratio is the other tool's time divided by ours (above 1: we are faster).
set -eu
CLI=${1:?usage: $0 PATH/TO/vermeo-cli [WORKDIR]}
WORK=${2:-$(mktemp -d)}
CONVERT=${CONVERT:-/usr/bin/convert}
VIPS=${VIPS:-vips}
export QT_QPA_PLATFORM=offscreen
mkdir -p "$WORK"
# Debian's ImageMagick policy allows 256 MiB of memory, too little for 12000 x 8000:
# a policy of its own lets it do the work rather than fail.
mkdir -p "$WORK/magick"
cat > "$WORK/magick/policy.xml" <<'POLICY'
<policymap>
  <policy domain="resource" name="memory" value="8GiB"/>
  <policy domain="resource" name="map" value="8GiB"/>
  <policy domain="resource" name="area" value="1GP"/>
  <policy domain="resource" name="disk" value="16GiB"/>
</policymap>
POLICY
export MAGICK_CONFIGURE_PATH="$WORK/magick"
IN="$WORK/in.bmp"
PPM="$WORK/in.ppm"
if [ ! -f "$IN" ]; then
  "$CONVERT" -size 6000x4000 gradient:'#ff2010-#1040e0' \( -size 6000x4000 gradient:'#00ff00-#000000' -rotate 90 \) \
    -compose Difference -composite -type TrueColor BMP3:"$IN"
fi
[ -f "$PPM" ] || "$CONVERT" "$IN" "$PPM"

now() { date +%s.%N; }
best() { # best of three wall times of "$@"
  b=""
  for _ in 1 2 3; do
    t0=$(now); "$@" >/dev/null 2>&1 || { echo "failed: $*" >&2; exit 1; }; t1=$(now)
    t=$(echo "$t1 - $t0" | bc -l)
    if [ -z "$b" ] || [ "$(echo "$t < $b" | bc -l)" = 1 ]; then b=$t; fi
  done
  echo "$b"
}
row() { # label, our time, ImageMagick's, libvips'
  printf '%-24s vermeo %6.3f s   ImageMagick %6.3f s (x%5.2f)   libvips %6.3f s (x%5.2f)\n' \
    "$1" "$2" "$3" "$(echo "$3 / $2" | bc -l)" "$4" "$(echo "$4 / $2" | bc -l)"
}
compare() { # label, vermeo apply arguments, convert arguments, vips operation and arguments
  label=$1; ours=$2; magick=$3; vips=$4
  # shellcheck disable=SC2086
  a=$(best "$CLI" apply $ours "$IN" "$WORK/ours.bmp")
  # shellcheck disable=SC2086
  b=$(best "$CONVERT" "$IN" $magick BMP3:"$WORK/magick.bmp")
  op=${vips%% *}; rest=${vips#* }
  # shellcheck disable=SC2086
  c=$(best "$VIPS" "$op" "$PPM" "$WORK/vips.ppm" $rest)
  row "$label" "$a" "$b" "$c"
}

echo "6000 x 4000, $(nproc) cores"
compare "Mitchell to 3000 x 2000" "rechantillonner 3000 2000" "-filter Mitchell -resize 3000x2000!" \
  "resize 0.5 --kernel mitchell"
compare "Mitchell to 12000 x 8000" "rechantillonner 12000 8000" "-filter Mitchell -resize 12000x8000!" \
  "resize 2 --kernel mitchell"
compare "rotate 90" "rotation gauche" "-rotate -90" "rot d270"
compare "rotate 45" "rotation 45" "-background white -rotate -45" "rotate 45 --interpolate nearest"
