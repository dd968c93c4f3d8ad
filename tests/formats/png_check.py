"""Reads a PNG with Python's own zlib, apart from our code: every chunk's CRC, IHDR,
pHYs, and the IDAT data as one zlib stream with nothing after it, holding each scan line
with a valid filter byte. Prints "W H BITS TYPE PHYSX PHYSY IDATS" or fails."""
import struct
import sys
import zlib

data = open(sys.argv[1], "rb").read()
assert data[:8] == b"\x89PNG\r\n\x1a\n", "no PNG signature"
pos, chunks = 8, []
while pos < len(data):
    length, kind = struct.unpack(">I4s", data[pos:pos + 8])
    body = data[pos + 8:pos + 8 + length]
    (crc,) = struct.unpack(">I", data[pos + 8 + length:pos + 12 + length])
    assert zlib.crc32(kind + body) == crc, "bad CRC in %r" % kind
    chunks.append((kind, body))
    pos += 12 + length
assert chunks[0][0] == b"IHDR" and chunks[-1][0] == b"IEND", "IHDR or IEND misplaced"
w, h, bits, ctype, comp, filt, lace = struct.unpack(">IIBBBBB", chunks[0][1])
assert (comp, filt, lace) == (0, 0, 0)
phys = [b for k, b in chunks if k == b"pHYs"]
px, py, unit = struct.unpack(">IIB", phys[0]) if phys else (0, 0, 1)
assert unit == 1
idat = b"".join(b for k, b in chunks if k == b"IDAT")
z = zlib.decompressobj()
raw = z.decompress(idat) + z.flush()
assert z.eof and not z.unused_data, "IDAT is not one whole zlib stream"
channels = 3 if ctype == 2 else 1
row = 1 + (w * bits * channels + 7) // 8
assert len(raw) == h * row, "%d bytes for %d rows of %d" % (len(raw), h, row)
assert all(raw[y * row] <= 4 for y in range(h)), "bad filter byte"
print(w, h, bits, ctype, px, py, sum(1 for k, _ in chunks if k == b"IDAT"))
