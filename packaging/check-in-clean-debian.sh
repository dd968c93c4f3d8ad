#!/bin/sh
# Installs the Debian package in a fresh Debian 12 root and opens a BMP in it the way a
# double click in a file manager does (gio open), on a private X server; a screenshot
# of the result is left beside the package.
# Usage, as root: packaging/check-in-clean-debian.sh build/release/vermeo_*.deb [ROOT]
set -eu
deb=$(readlink -f "$1")
root=${2:-/tmp/vermeo-debian12}
shot=$(dirname "$deb")/clean-debian12.png
command -v debootstrap >/dev/null || apt-get install -y -qq debootstrap
[ -x "$root/usr/bin/apt-get" ] || debootstrap --variant=minbase bookworm "$root" http://deb.debian.org/debian

mountpoint -q "$root/proc" || mount -t proc proc "$root/proc"
mountpoint -q "$root/dev" || mount --bind /dev "$root/dev"
mountpoint -q "$root/sys" || mount -t sysfs sys "$root/sys"
# The X server of the check may still be closing: the last unmount waits for it.
trap 'umount "$root/sys" "$root/proc"; sleep 2; umount "$root/dev" || umount -l "$root/dev"' EXIT
cp /etc/resolv.conf "$root/etc/resolv.conf"
cp "$deb" "$root/tmp/"
in_root() { chroot "$root" env DEBIAN_FRONTEND=noninteractive LANG=C.UTF-8 "$@"; }

in_root apt-get update -qq
# What any desktop has: the MIME database, the desktop-entry cache, gio (file managers' way to open).
in_root apt-get install -y -qq --no-install-recommends shared-mime-info desktop-file-utils libglib2.0-bin
in_root apt-get install -y -qq --reinstall "/tmp/$(basename "$deb")"
# Only for this check: an X server, a way to look at it, and a BMP to open.
in_root apt-get install -y -qq --no-install-recommends xvfb xauth xdotool imagemagick

in_root vermeo --version
in_root vermeo-cli --version
echo "In the desktop's menu:"
in_root sh -c 'grep -E "^(Name|Categories|Exec)=" /usr/share/applications/*.desktop'
echo "The application for BMP files:"
in_root gio mime image/bmp
in_root convert -size 320x200 'xc:rgb(200,30,60)' -fill 'rgb(30,200,90)' -draw 'circle 160,100 160,40' BMP3:/tmp/dessin.bmp
cat > "$root/tmp/double-click.sh" <<'SCRIPT'
gio open /tmp/dessin.bmp
i=0
until xdotool search --onlyvisible --name '^Vermeo$' >/dev/null 2>&1; do
  i=$((i + 1)); [ $i -gt 100 ] && { echo "Vermeo did not start"; exit 1; }; sleep 0.2
done
sleep 3
import -window root /tmp/clean-debian12.png
# Vermeo was started by gio: its window says which process it is.
kill "$(xdotool search --onlyvisible --name '^Vermeo$' getwindowpid | head -n 1)"
SCRIPT
in_root xvfb-run -a -s "-screen 0 1024x768x24" sh /tmp/double-click.sh
cp "$root/tmp/clean-debian12.png" "$shot"
echo "Screenshot: $shot"
