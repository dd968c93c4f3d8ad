#!/bin/bash
# Seeds for the fuzz targets, written by other programs (ImageMagick, netpbm, libjpeg's
# cjpeg, cwebp, heif-enc), so the decoders start from what real files look like.
# Usage: fuzz/make_seeds.sh OUTDIR  -> OUTDIR/<kind>/ for each fuzz target kind.
set -eu
out=${1:?usage: make_seeds.sh OUTDIR}
here=$(cd "$(dirname "$0")" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
for k in bmp jpg gif pcx wmf emf ico webp heic avif photo_metadata; do mkdir -p "$out/$k"; done

# Source pictures: a pattern, a ramp, and a small photo-like noise picture.
ppmpat -g2 -color rgb:ff/00/00,rgb:00/00/ff 37 23 > "$tmp/pat.ppm"
pgmramp -lr 40 9 > "$tmp/ramp.pgm"
convert -size 48x32 plasma:fractal -depth 8 "$tmp/plasma.ppm" 2>/dev/null || cp "$tmp/pat.ppm" "$tmp/plasma.ppm"
pnmquant 16 "$tmp/plasma.ppm" > "$tmp/q16.ppm" 2>/dev/null
ppmtopgm "$tmp/pat.ppm" | pgmtopbm > "$tmp/mono.pbm" 2>/dev/null

# BMP: netpbm and ImageMagick, several depths and ImageMagick's RLE.
ppmtobmp -bpp 24 "$tmp/pat.ppm" > "$out/bmp/netpbm24.bmp" 2>/dev/null
ppmtobmp -bpp 8 "$tmp/q16.ppm" > "$out/bmp/netpbm8.bmp" 2>/dev/null
ppmtobmp -bpp 4 "$tmp/q16.ppm" > "$out/bmp/netpbm4.bmp" 2>/dev/null
ppmtobmp -bpp 1 "$tmp/mono.pbm" > "$out/bmp/netpbm1.bmp" 2>/dev/null
ppmtobmp -os2 "$tmp/q16.ppm" > "$out/bmp/netpbm-os2.bmp" 2>/dev/null
convert "$tmp/q16.ppm" -compress RLE BMP3:"$out/bmp/magick-rle8.bmp"
convert "$tmp/plasma.ppm" -alpha set BMP:"$out/bmp/magick32.bmp"
convert "$tmp/plasma.ppm" -define bmp:subtype=RGB565 BMP:"$out/bmp/magick565.bmp"

# JPEG: cjpeg baseline, progressive, grey, restart markers; ImageMagick CMYK.
cjpeg -quality 80 "$tmp/plasma.ppm" > "$out/jpg/cjpeg.jpg"
cjpeg -progressive "$tmp/plasma.ppm" > "$out/jpg/cjpeg-progressive.jpg"
cjpeg -grayscale "$tmp/pat.ppm" > "$out/jpg/cjpeg-grey.jpg"
cjpeg -restart 1 -sample 2x2 "$tmp/plasma.ppm" > "$out/jpg/cjpeg-restart.jpg"
cjpeg -arithmetic "$tmp/pat.ppm" > "$out/jpg/cjpeg-arith.jpg" 2>/dev/null || true
convert "$tmp/plasma.ppm" -colorspace CMYK "$out/jpg/magick-cmyk.jpg"

# GIF: netpbm, ImageMagick interlaced and animated with a transparent colour.
pamtogif "$tmp/q16.ppm" > "$out/gif/netpbm.gif" 2>/dev/null
convert "$tmp/q16.ppm" -interlace GIF "$out/gif/magick-interlaced.gif"
convert -delay 10 "$tmp/q16.ppm" "$tmp/pat.ppm" -transparent red "$out/gif/magick-anim.gif"
convert "$tmp/mono.pbm" "$out/gif/magick-mono.gif"

# PCX: netpbm (palette and 24-bit planes) and ImageMagick.
ppmtopcx "$tmp/q16.ppm" > "$out/pcx/netpbm16.pcx" 2>/dev/null
ppmtopcx -24bit "$tmp/pat.ppm" > "$out/pcx/netpbm24.pcx" 2>/dev/null
ppmtopcx -8bit "$tmp/q16.ppm" > "$out/pcx/netpbm8.pcx" 2>/dev/null
ppmtopcx "$tmp/mono.pbm" > "$out/pcx/netpbm1.pcx" 2>/dev/null
convert "$tmp/plasma.ppm" "$out/pcx/magick.pcx"

# ICO: netpbm and ImageMagick (several sizes, one PNG-compressed).
pamtowinicon "$tmp/q16.ppm" > "$out/ico/netpbm.ico" 2>/dev/null || ppmtowinicon "$tmp/q16.ppm" > "$out/ico/netpbm.ico" 2>/dev/null
convert "$tmp/plasma.ppm" -define icon:auto-resize=32,16 "$out/ico/magick.ico"
convert -size 256x256 gradient:red-blue "$out/ico/magick-256.ico"

# WebP and HEIF: their own encoders.
convert "$tmp/plasma.ppm" "$tmp/plasma.png"
cwebp -quiet "$tmp/plasma.png" -o "$out/webp/cwebp.webp"
cwebp -quiet -lossless "$tmp/plasma.png" -o "$out/webp/cwebp-lossless.webp"
heif-enc -q 50 "$tmp/plasma.png" -o "$out/heic/heif-enc.heic" >/dev/null 2>&1 || true
heif-enc -A -q 50 "$tmp/plasma.png" -o "$out/avif/heif-enc.avif" >/dev/null 2>&1 || true

# Metafiles: no tool here writes them; the ones made by LibreOffice and our test script.
cp "$here"/../tests/data/formats/*.wmf "$out/wmf/"
cp "$here"/../tests/data/formats/*.emf "$out/emf/"

# The reproducers and seeds kept with the regression test join each corpus.
for k in bmp jpg gif pcx wmf emf ico webp heic avif; do
  cp "$here"/../tests/data/fuzz/$k/* "$out/$k/" 2>/dev/null || true
done

# The metadata readers take photos of any of their formats.
cp "$out"/jpg/* "$out"/webp/* "$out"/heic/* "$out/photo_metadata/"
cp "$here"/../tests/data/fuzz/png/* "$here"/../tests/data/fuzz/tif/* "$out/photo_metadata/"
convert "$tmp/plasma.ppm" -compress lzw "$out/photo_metadata/magick.tif"
