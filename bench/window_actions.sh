#!/bin/sh
# The whole-picture actions timed from the X event to the repaint in the real window:
# one Vermeo with a 6000 x 4000 picture and one with a 400 x 300 picture, each on an
# Xvfb display of its own under openbox, driven by XTest events (bench/window_actions.c),
# in interleaved rounds, with a plain pass over the pictures and their decode by djpeg as
# the baselines. Not part of the test suite; on a shared machine the figures are noisy.
# Usage: bench/window_actions.sh [path/to/vermeo] [ROUNDS]   (default build/release, 7)
set -eu
VERMEO=${1:-build/release/src/app/vermeo}
ROUNDS=${2:-7}
W=${LARGE_W:-6000}
H=${LARGE_H:-4000}
for tool in Xvfb openbox convert djpeg gcc xdotool; do
  command -v $tool >/dev/null || { echo "$tool missing (scripts/setup.sh installs it)" >&2; exit 1; }
done
[ -x "$VERMEO" ] || { echo "no $VERMEO: build it first" >&2; exit 1; }
BASE=/dev/shm
[ -d "$BASE" ] && [ -w "$BASE" ] || BASE=${TMPDIR:-/tmp}
WORK=$(mktemp -d "$BASE/vermeo-window.XXXXXX")
PIDS=""
cleanup() {
  for p in $PIDS; do kill "$p" 2>/dev/null || true; done
  rm -rf "$WORK"
}
trap cleanup EXIT INT TERM

gcc -O2 -o "$WORK/window_actions" "$(dirname "$0")/window_actions.c" -lX11 -lXtst

# Green pictures with black bars, which move when the view is reduced.
picture() {
  bars=""
  x=128
  while [ $x -lt "$1" ]; do bars="$bars rectangle $x,0 $((x + 15)),$2"; x=$((x + 256)); done
  convert -size "$1x$2" 'gradient:rgb(30,150,80)-rgb(70,200,120)' -fill black -draw "$bars" \
    -quality 90 -type truecolor "$3"
}
picture 400 300 "$WORK/small.jpg"
picture "$W" "$H" "$WORK/large.jpg"

# A display, a window manager and Vermeo with the picture, in a home of their own.
start() {
  display=$1 file=$2 home="$WORK/home$1"
  mkdir -p "$home/config" "$home/data" "$home/cache" "$home/runtime"
  chmod 700 "$home/runtime"
  Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  PIDS="$PIDS $!"
  for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.05; done
  DISPLAY=":$display" HOME="$home" openbox >/dev/null 2>&1 &
  PIDS="$PIDS $!"
  sleep 0.5
  DISPLAY=":$display" HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" \
    XDG_CACHE_HOME="$home/cache" XDG_RUNTIME_DIR="$home/runtime" LC_ALL=C.UTF-8 \
    "$VERMEO" "$file" >"$WORK/vermeo$display.log" 2>&1 &
  PIDS="$PIDS $!"
  DISPLAY=":$display" xdotool search --sync --onlyvisible --class vermeo windowmove 0 0 windowsize 1280 1000 \
    >/dev/null 2>&1 || true
}
free_display() {
  n=$1
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  echo $n
}
D1=$(free_display 71)
start "$D1" "$WORK/small.jpg"
D2=$(free_display $((D1 + 1)))
start "$D2" "$WORK/large.jpg"
sleep 2

"$WORK/window_actions" "$ROUNDS" ":$D1" ":$D2" "$WORK/small.jpg" "$WORK/large.jpg" "$W" "$H"
