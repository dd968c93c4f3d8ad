#!/bin/sh
# Copy in Vermeo, paste with xclip, and the reverse, on a virtual X server.
# Usage: tests/clipboard_xclip_check.sh [build-dir]
set -eu
build=${1:-build}
exe="$build/tests/document/document_tests"
[ -x "$exe" ] || { echo "document_tests not built in $build" >&2; exit 2; }
command -v xclip >/dev/null || { echo "xclip is missing (apt-get install xclip)" >&2; exit 2; }
exec xvfb-run -a env QT_QPA_PLATFORM=xcb VERMEO_XCLIP_CHECK=1 "$exe" --gtest_filter='ClipboardX11.*'
