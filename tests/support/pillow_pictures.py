#!/usr/bin/python3
"""Palette pictures made, and saved pictures read back, by another program than ours.

  pillow_pictures.py make CASE FILE   writes the picture of CASE to FILE; the format by its
                                      extension (BMP of 1 and 4 bits written here by hand,
                                      as Pillow writes every palette BMP in 8 bits)
  pillow_pictures.py dump FILE OUT    writes FILE's pixels as RGB to OUT (a PPM), and prints
                                      Pillow's mode and the number of palette entries
"""
import struct
import sys
from PIL import Image, ImageDraw


def shapes(img, ink):
    d = ImageDraw.Draw(img)
    d.rectangle((20, 20, 120, 100), fill=ink)
    d.ellipse((160, 40, 300, 200), fill=ink)
    d.polygon([(30, 220), (90, 130), (140, 225)], fill=ink)


# Each case: the picture (mode P), its bits per pixel and its palette entries.
def make(case):
    img = Image.new("P", (320, 240), 0)
    if case == "bw":  # black shapes on white
        pal, bits = [(0, 0, 0), (255, 255, 255)], 1
        img.paste(1, (0, 0, 320, 240))
        shapes(img, 0)
    elif case == "navy":  # yellow shapes on navy
        pal, bits = [(0, 0, 128), (255, 255, 0)], 1
        shapes(img, 1)
    elif case == "full256":  # every one of the 256 entries in use
        pal, bits = [((i * 37) % 256, (i * 91 + 17) % 256, 255 - i) for i in range(256)], 8
        px = img.load()
        for y in range(240):
            for x in range(320):
                px[x, y] = (x // 20 + 16 * (y // 15)) % 256
    elif case == "sixteen":  # 16 entries, 3 in use
        pal = [(255, 255, 255), (0, 0, 0), (0, 128, 0)] + [(10 * i, 10 * i, 200) for i in range(13)]
        bits = 4
        shapes(img, 1)
        ImageDraw.Draw(img).rectangle((200, 10, 310, 30), fill=2)
    else:
        raise SystemExit("unknown case " + case)
    img.putpalette([c for rgb in pal for c in rgb])
    return img, bits, pal


def write_bmp(name, img, bits, pal):
    w, h = img.size
    row = ((w * bits + 31) // 32) * 4
    px = img.load()
    data = bytearray()
    for y in range(h - 1, -1, -1):
        line = bytearray(row)
        for x in range(w):
            v = px[x, y]
            if bits == 8:
                line[x] = v
            elif bits == 4:
                line[x >> 1] |= v << (0 if x & 1 else 4)
            else:
                line[x >> 3] |= v << (7 - (x & 7))
        data += line
    colours = b"".join(bytes((b, g, r, 0)) for (r, g, b) in pal)
    offset = 14 + 40 + len(colours)
    head = b"BM" + struct.pack("<IHHI", offset + len(data), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, bits, 0, len(data), 3780, 3780, len(pal), 0)
    with open(name, "wb") as f:
        f.write(head + info + colours + data)


def main():
    if len(sys.argv) == 4 and sys.argv[1] == "make":
        img, bits, pal = make(sys.argv[2])
        name = sys.argv[3]
        if name.lower().endswith(".bmp") and bits < 8:
            write_bmp(name, img, bits, pal)
        elif name.lower().endswith(".pcx") and bits == 1 and pal == [(0, 0, 0), (255, 255, 255)]:
            img.convert("1").save(name)
        else:
            img.save(name)
        return
    if len(sys.argv) == 4 and sys.argv[1] == "dump":
        img = Image.open(sys.argv[2])
        entries = len(img.getpalette()) // 3 if img.mode == "P" and img.getpalette() else 0
        img.convert("RGB").save(sys.argv[3], "PPM")
        print(img.mode, entries)
        return
    raise SystemExit(__doc__)


if __name__ == "__main__":
    main()
