#!/bin/sh
# Installs into a temporary prefix and checks what a user's system receives.
# Usage: tests/app/install_check.sh files|desktop|appstream|man BUILD_DIR SOURCE_DIR
set -eu
mode=$1
build=$(cd "$2" && pwd)
src=$(cd "$3" && pwd)
need() { command -v "$1" >/dev/null || { echo "$1 is missing: skipped"; exit 77; }; }
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix/usr" >/dev/null
cd "$prefix/usr"

case $mode in
files)
  # Exactly these files: nothing missing, and no test program or library slipped in.
  find . -type f -o -type l | sed 's|^\./||' | sort > "$prefix/list"
  diff -u "$src/tests/app/installed-files.txt" "$prefix/list"
  [ -x bin/vermeo ] && [ -x bin/vermeo-cli ]
  ;;
desktop)
  need desktop-file-validate
  for f in share/applications/*.desktop; do
    desktop-file-validate "$f"
    # Its icon is in the theme at every size a desktop asks for.
    icon=$(sed -n 's/^Icon=//p' "$f")
    for size in 16x16 22x22 24x24 32x32 48x48 64x64 128x128 256x256; do
      file "share/icons/hicolor/$size/apps/$icon.png" | grep -q "PNG image data, ${size%x*} x ${size#*x}" ||
        { echo "no $size icon $icon"; exit 1; }
    done
    [ -f "share/icons/hicolor/scalable/apps/$icon.svg" ]
  done
  ;;
appstream)
  need appstreamcli
  appstreamcli validate --no-net --strict share/metainfo/*.metainfo.xml
  # It names the desktop entry that is installed.
  id=$(sed -n 's|.*<launchable type="desktop-id">\(.*\)</launchable>.*|\1|p' share/metainfo/*.metainfo.xml)
  [ -f "share/applications/$id" ] || { echo "launchable $id is not installed"; exit 1; }
  ;;
man)
  need man
  export LC_ALL=C.UTF-8 MANWIDTH=100
  for page in vermeo vermeo-cli; do
    man --warnings -l "share/man/man1/$page.1.gz" > "$prefix/$page.txt" 2> "$prefix/$page.err"
    if [ -s "$prefix/$page.err" ]; then cat "$prefix/$page.err"; exit 1; fi
    grep -q '^NOM' "$prefix/$page.txt"
  done
  # Every line vermeo-cli --help prints is in its page: commands, operations, options.
  tr -s '[:space:]' ' ' < "$prefix/vermeo-cli.txt" > "$prefix/page"
  QT_QPA_PLATFORM=offscreen bin/vermeo-cli --help > "$prefix/help"
  missing=0
  while IFS= read -r line; do
    text=$(printf '%s' "$line" | tr -s '[:space:]' ' ' | sed 's/^ //; s/ $//')
    case $text in ''|*' :') continue ;; esac
    grep -qF -- "$text" "$prefix/page" || { echo "not in the man page: $text"; missing=1; }
  done < "$prefix/help"
  [ $missing -eq 0 ]
  # The program's own --help names its options too.
  bin/vermeo --help | grep -q -- --version
  ;;
*) echo "unknown check $mode"; exit 2 ;;
esac
