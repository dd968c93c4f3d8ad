#!/bin/sh
# Screen capture on a virtual X server, bare and (where openbox is installed) under a
# window manager that minimises windows as on a desktop.
# Usage: tests/acquire/capture_check.sh [build-dir]
set -eu
build=${1:-build}
exe="$build/tests/acquire/acquire_tests"
[ -x "$exe" ] || { echo "acquire_tests not built in $build" >&2; exit 2; }
run() {
  VERMEO_CAPTURE_CHECK=1 QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x1024x24" sh -c "$1"
}
run "'$exe' --gtest_filter='CaptureX11.*'"
if command -v openbox >/dev/null; then
  run "openbox & wm=\$!; sleep 1; '$exe' --gtest_filter='CaptureX11.*'; rc=\$?; kill \$wm; exit \$rc"
fi
