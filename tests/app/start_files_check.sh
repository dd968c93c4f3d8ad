#!/bin/sh
# The real program started as a file manager starts it: "vermeo a.bmp b.pcx missing.gif"
# shows one message box for the missing file, then both pictures in their windows.
# Usage: tests/app/start_files_check.sh BUILD_DIR
set -eu
build=$(cd "$1" && pwd)
vermeo=$build/src/app/vermeo
cli=$build/src/cli/vermeo-cli
for tool in xvfb-run xdotool import convert; do
  command -v "$tool" >/dev/null || { echo "$tool is missing: skipped"; exit 77; }
done
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cd "$dir"
# Two colours found nowhere else on the screen.
convert -size 64x48 'xc:rgb(200,30,60)' BMP3:a.bmp
convert -size 64x48 'xc:rgb(30,200,90)' BMP3:green.bmp
"$cli" convert green.bmp b.pcx

cat > run.sh <<'SCRIPT'
set -u
vermeo=$1
wait_windows() { # count: until that many visible windows are named "Vermeo"
  i=0
  while [ "$(xdotool search --onlyvisible --name '^Vermeo$' 2>/dev/null | wc -l)" -ne "$1" ]; do
    i=$((i + 1)); [ $i -gt 150 ] && return 1; sleep 0.2
  done
}
QT_QPA_PLATFORM=xcb "$vermeo" a.bmp b.pcx missing.gif > out.txt 2>&1 &
pid=$!
wait_windows 2 || { echo "no message box for missing.gif"; kill $pid; exit 1; }
sleep 1
[ "$(xdotool search --onlyvisible --name '^Vermeo$' | wc -l)" -eq 2 ] || { echo "more than one message"; exit 1; }
box=$(xdotool search --onlyvisible --name '^Vermeo$' | tail -n 1)
xdotool windowfocus --sync "$box" key Return
wait_windows 1 || { echo "the message box did not close"; kill $pid; exit 1; }
sleep 1
kill -0 $pid || { echo "vermeo ended"; cat out.txt; exit 1; }
import -window root shot.png
kill $pid
wait $pid 2>/dev/null
exit 0
SCRIPT
xvfb-run -a -s "-screen 0 1024x768x24" sh run.sh "$vermeo"

count() { # pixels of one colour on the screenshot
  convert shot.png -fill black +opaque "$1" -fill white -opaque "$1" -format '%[fx:round(mean*w*h)]' info:
}
red=$(count 'rgb(200,30,60)')
green=$(count 'rgb(30,200,90)')
echo "a.bmp shows $red pixels, b.pcx $green"
# b.pcx lies over a.bmp (cascade), whole; a.bmp shows around it.
[ "$green" -eq $((64 * 48)) ] || { echo "b.pcx is not shown whole"; exit 1; }
[ "$red" -gt 500 ] || { echo "a.bmp is not shown"; exit 1; }
