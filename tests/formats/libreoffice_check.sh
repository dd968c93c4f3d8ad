#!/bin/sh
# LibreOffice reads our metafiles at their size: a 300 x 200 picture written as WMF and
# EMF must come back as an image of 300 x 200 pixels at 96 dpi (79.38 x 52.92 mm) when
# LibreOffice converts the file to SVG. Skipped (77) when LibreOffice is not installed.
# Usage: tests/formats/libreoffice_check.sh path/to/vermeo-cli
set -eu
cli=${1:?usage: libreoffice_check.sh path/to/vermeo-cli}
command -v libreoffice >/dev/null || { echo "libreoffice missing: skipped"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen HOME="$work"
convert -size 300x200 gradient:red-blue "$work/p.bmp"
status=0
for kind in wmf emf; do
  "$cli" convert "$work/p.bmp" "$work/p.$kind"
  mkdir "$work/$kind"
  timeout 180 libreoffice --headless --convert-to svg --outdir "$work/$kind" "$work/p.$kind" >/dev/null 2>&1
  # The picture as LibreOffice placed it, in 0.01 mm.
  size=$(grep -o '<image [^>]*width="[0-9]*" height="[0-9]*"' "$work/$kind/p.svg" | head -n 1 |
         sed 's/.*width="\([0-9]*\)" height="\([0-9]*\)".*/\1 \2/')
  set -- $size
  if [ $# -ne 2 ] || [ $(( $1 - 7938 )) -lt -2 ] || [ $(( $1 - 7938 )) -gt 2 ] ||
     [ $(( $2 - 5292 )) -lt -2 ] || [ $(( $2 - 5292 )) -gt 2 ]; then
    echo "$kind: LibreOffice sized the picture '${size}' (0.01 mm), not 7938 x 5292"
    status=1
  else
    echo "$kind: $1 x $2 (0.01 mm)"
  fi
done
exit $status
