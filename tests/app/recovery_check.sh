#!/bin/sh
# The real program killed (SIGKILL) with two modified pictures, one new and unnamed, one
# from a palette file, then started again: the recovery dialog brings both back, and
# saving them writes the pixels, size, depth and name they had before the kill.
# Usage: tests/app/recovery_check.sh BUILD_DIR [SHOTS_DIR]
set -eu
build=$(cd "$1" && pwd)
vermeo=$build/src/app/vermeo
python=/usr/bin/python3
for tool in xvfb-run xdotool import; do
  command -v "$tool" >/dev/null || { echo "$tool is missing: skipped"; exit 77; }
done
$python -c 'import PIL' 2>/dev/null || { echo "python3-pil is missing: skipped"; exit 77; }
dir=$(mktemp -d)
trap '[ -n "${KEEP:-}" ] || rm -rf "$dir"' EXIT
shots=${2:-$dir}
cd "$dir"
mkdir home state
# 240 x 160, four colours in an 8-bit palette; black is one of them (the pen's).
$python - <<'PY'
from PIL import Image, ImageDraw
im = Image.new("P", (240, 160), 1)
im.putpalette([0, 0, 0, 40, 170, 210, 250, 200, 40, 200, 30, 60] + [0, 0, 0] * 252)
d = ImageDraw.Draw(im)
d.rectangle([20, 20, 100, 80], fill=2)
d.ellipse([120, 40, 220, 140], fill=3)
im.save("pal.bmp")
PY
cp pal.bmp pal-original.bmp

cat > run.sh <<'SCRIPT'
set -u
vermeo=$1 shots=$2
: > started
export HOME=$PWD/home XDG_STATE_HOME=$PWD/state XDG_CONFIG_HOME=$PWD/home/.config LC_ALL=C.UTF-8
python=/usr/bin/python3
openbox >/dev/null 2>&1 &
sleep 0.5
until_true() { # tries, command...: until the command succeeds
  n=$1; shift
  while ! "$@" >/dev/null 2>&1; do n=$((n - 1)); [ $n -le 0 ] && return 1; sleep 0.2; done
}
journals() { ls state/vermeo/*.vjournal 2>/dev/null | wc -l; }
has_journals() { [ "$(journals)" -eq "$1" ]; }
# The top-left corner on the screen of the picture with this colour (r,g,b).
corner() {
  import -window root corner.png
  $python - "$1" <<'PY'
import sys
from PIL import Image
want = tuple(int(v) for v in sys.argv[1].split(","))
im = Image.open("corner.png").convert("RGB")
w, h = im.size
px = im.load()
for y in range(h):
    for x in range(w):
        if px[x, y] == want:
            print(x, y)
            sys.exit(0)
sys.exit(1)
PY
}
# The colour (r,g,b) of a pixel of the screen.
pixel() {
  import -window root -crop 1x1+$1+$2 +repage pixel.png && $python -c '
from PIL import Image
print("%d,%d,%d" % Image.open("pixel.png").convert("RGB").getpixel((0, 0)))'
}
pixel_is() { [ "$(pixel "$1" "$2")" = "$3" ]; }
pixel_is_not() { [ "$(pixel "$1" "$2")" != "$3" ]; }
stroke() { # x0 y0 x1 y1 x2 y2: a pencil stroke through three points
  xdotool mousemove "$1" "$2"; sleep 0.2
  xdotool mousedown 1; sleep 0.2
  xdotool mousemove "$3" "$4"; sleep 0.2
  xdotool mousemove "$5" "$6"; sleep 0.2
  xdotool mouseup 1; sleep 0.3
}
main_window() { xdotool search --onlyvisible --name '^Vermeo$' | head -n 1; }
to_main() { # keys to the main window, as typed
  xdotool windowactivate --sync "$(main_window)" 2>/dev/null; sleep 0.3
  xdotool key "$@"; sleep 0.5
}

QT_QPA_PLATFORM=xcb "$vermeo" pal.bmp > out1.txt 2>&1 &
pid=$!
until_true 100 main_window || { echo "no main window"; exit 1; }
# The palette picture's background colour is found at its top-left corner.
until_true 100 corner 40,170,210 || { echo "pal.bmp is not shown"; exit 1; }
set -- $(corner 40,170,210)
px=$1 py=$2
stroke $((px + 10)) $((py + 100)) $((px + 120)) $((py + 65)) $((px + 200)) $((py + 30))
sleep 1
import -window root -crop 240x160+$px+$py +repage pal-before.png
# A new picture (Fichier, Nouveau..., OK): 400 x 300, white, cascaded 24 pixels further.
to_main alt+f
xdotool key n; sleep 1
until_true 25 xdotool search --onlyvisible --name '^Nouveau$' || { echo "no Nouveau dialog"; exit 1; }
xdotool key Return
nx=$((px + 24)) ny=$((py + 24))
until_true 50 pixel_is $((nx + 2)) $((ny + 2)) 255,255,255 || { echo "the new picture is not shown"; exit 1; }
sleep 0.5
stroke $((nx + 30)) $((ny + 40)) $((nx + 200)) $((ny + 250)) $((nx + 380)) $((ny + 20))
stroke $((nx + 50)) $((ny + 280)) $((nx + 150)) $((ny + 150)) $((nx + 390)) $((ny + 290))
until_true 150 has_journals 2 || { echo "the journals were not written: $(journals)"; ls -la state/vermeo; exit 1; }
sleep 0.5
import -window root -crop 400x300+$nx+$ny +repage new-before.png
import -window root "$shots/before-kill.png"
kill -9 $pid
wait $pid 2>/dev/null
has_journals 2 || { echo "the kill took the journals"; exit 1; }
[ "$(stat -c %a state/vermeo)" = 700 ] || { echo "the journal folder is not private"; exit 1; }
for f in state/vermeo/*.vjournal; do
  [ "$(stat -c %a "$f")" = 600 ] || { echo "$f is not private"; exit 1; }
done

QT_QPA_PLATFORM=xcb "$vermeo" > out2.txt 2>&1 &
pid=$!
until_true 100 xdotool search --onlyvisible --name '^Récupération des images$' || { echo "no recovery dialog"; cat out2.txt; exit 1; }
sleep 1
import -window root "$shots/recovery-dialog.png"
xdotool windowactivate --sync "$(xdotool search --onlyvisible --name '^Récupération des images$')" 2>/dev/null
sleep 0.3
xdotool key Return
until_true 50 pixel_is $((nx + 2)) $((ny + 2)) 255,255,255 || { echo "the new picture did not come back"; exit 1; }
until_true 50 pixel_is $((px + 2)) $((py + 2)) 40,170,210 || { echo "pal.bmp did not come back"; exit 1; }
sleep 1
import -window root -crop 400x300+$nx+$ny +repage new-recovered.png
import -window root "$shots/recovered.png"
# The active picture is the new one: "Enregistrer" asks for a name.
to_main ctrl+s
until_true 50 xdotool search --onlyvisible --name "^Enregistrer sous$" || { echo "no save dialog for the unnamed picture"; exit 1; }
sleep 0.5
xdotool type --delay 20 "$PWD/new.bmp"; sleep 0.3
# The first Return may only close the list of names that completes the one typed.
xdotool key Return; sleep 0.5
[ -f new.bmp ] || xdotool key Return
until_true 25 test -f new.bmp || { import -window root "$shots/save-failed.png"; echo "new.bmp was not written"; exit 1; }
sleep 0.5
# Then the palette picture, active once the other is closed: saved under its own name.
to_main alt+f
xdotool key f
until_true 50 pixel_is_not $((nx + 300)) $((ny + 250)) 255,255,255 || { echo "new.bmp did not close"; exit 1; }
sleep 0.5
import -window root -crop 240x160+$px+$py +repage pal-recovered.png
to_main ctrl+s
until_true 50 has_journals 0 || { echo "saving left journals: $(journals)"; exit 1; }
kill $pid
wait $pid 2>/dev/null
exit 0
SCRIPT
# Another X server starting at the same moment may take the display: then again.
for attempt in 1 2 3; do
  rm -f started
  status=0
  xvfb-run -a -s "-screen 0 1024x768x24" sh run.sh "$vermeo" "$shots" || status=$?
  [ -f started ] && break
  echo "the X server did not start: again"
  sleep 2
done
[ "$status" -eq 0 ] || exit 1

$python - <<'PY'
import sys
from PIL import Image, ImageChops
def same(a, b, what):
    if a.size != b.size or ImageChops.difference(a.convert("RGB"), b.convert("RGB")).getbbox() is not None:
        sys.exit(what + " differs")
before = Image.open("pal-before.png")
pal = Image.open("pal.bmp")
orig = Image.open("pal-original.bmp")
if pal.size != (240, 160) or pal.mode != "P":
    sys.exit("pal.bmp came back as %s %s" % (pal.size, pal.mode))
if open("pal.bmp", "rb").read()[28] != 8:
    sys.exit("pal.bmp is not 8 bits a pixel")
if pal.getpalette()[:12] != orig.getpalette()[:12]:
    sys.exit("pal.bmp's palette changed")
same(pal, before, "pal.bmp against the picture before the kill")
same(Image.open("pal-recovered.png"), before, "the recovered palette picture's window")
if ImageChops.difference(pal.convert("RGB"), orig.convert("RGB")).getbbox() is None:
    sys.exit("the stroke on pal.bmp was lost")
new = Image.open("new.bmp")
if new.size != (400, 300) or new.mode != "RGB":
    sys.exit("new.bmp came back as %s %s" % (new.size, new.mode))
same(new, Image.open("new-before.png"), "new.bmp against the picture before the kill")
same(Image.open("new-recovered.png"), Image.open("new-before.png"), "the recovered window")
if new.convert("L").getextrema()[0] != 0:
    sys.exit("the strokes on the new picture were lost")
print("both pictures came back whole")
PY
