#!/usr/bin/env python3
"""Writes drawing.wmf and drawing.emf: small metafiles with the records real drawings
use (pens, brushes, fonts, lines, polygons, rectangles, ellipses, text), for the
metafile reader's tests and as fuzzing seeds. Run from this folder."""
import struct

def wmf_record(fn, *words, raw=b''):
    body = b''.join(struct.pack('<h' if w < 0 else '<H', w) for w in words) + raw
    if len(body) % 2:
        body += b'\0'
    return struct.pack('<IH', 3 + len(body) // 2, fn) + body

def wmf():
    recs = [
        wmf_record(0x020B, 0, 0),                 # SetWindowOrg
        wmf_record(0x020C, 100, 200),             # SetWindowExt 200 x 100
        wmf_record(0x02FA, 0, 3, 0, 0x00FF, 0x0000),   # CreatePenIndirect red, width 3 -> slot 0
        wmf_record(0x02FC, 0, 0xFF00, 0x0000, 0),  # CreateBrushIndirect green (00ff00) -> slot 1
        wmf_record(0x012D, 0), wmf_record(0x012D, 1),
        wmf_record(0x041B, 40, 60, 10, 10),      # Rectangle(10,10,60,40): bottom right top left
        wmf_record(0x02FC, 0, 0x0000, 0x00FF, 0),  # blue brush -> slot 2
        wmf_record(0x012D, 2),
        wmf_record(0x0418, 90, 190, 50, 110),    # Ellipse(110,50,190,90)
        wmf_record(0x0214, 95, 5),                # MoveTo(5,95)
        wmf_record(0x0213, 95, 100),              # LineTo(100,95)
        wmf_record(0x0324, 3, 150, 5, 190, 5, 170, 40),   # Polygon
        wmf_record(0x0209, 0, 0),                 # SetTextColor black
        wmf_record(0x02FB, -12 & 0xFFFF, 0, 0, 0, 700, 0, 0, 0, 0, raw=b'Arial\0'),  # font slot 3
        wmf_record(0x012D, 3),
        wmf_record(0x0521, 2, raw=b'Hi' + struct.pack('<HH', 60, 70)),  # TextOut(70,60,"Hi")
        wmf_record(0x9999, 1, 2, 3),              # unknown: skipped
        wmf_record(0x0000),
    ]
    body = b''.join(recs)
    maxrec = max(struct.unpack('<I', r[:4])[0] for r in recs)
    header = struct.pack('<HHHIHIH', 1, 9, 0x0300, 9 + len(body) // 2, 4, maxrec, 0)
    words = struct.unpack('<10H', struct.pack('<IHhhhhHI', 0x9AC6CDD7, 0, 0, 0, 200, 100, 96, 0))
    csum = 0
    for w in words:
        csum ^= w
    place = struct.pack('<IHhhhhHIH', 0x9AC6CDD7, 0, 0, 0, 200, 100, 96, 0, csum)
    open('drawing.wmf', 'wb').write(place + header + body)

def emf_record(t, payload):
    if len(payload) % 4:
        payload += b'\0' * (4 - len(payload) % 4)
    return struct.pack('<II', t, 8 + len(payload)) + payload

def emf():
    recs = [
        emf_record(38, struct.pack('<IIiiI', 1, 0, 3, 0, 0x0000FF)),          # CreatePen red -> 1
        emf_record(39, struct.pack('<IIII', 2, 0, 0x00FF00, 0)),             # brush green -> 2
        emf_record(37, struct.pack('<I', 1)), emf_record(37, struct.pack('<I', 2)),
        emf_record(43, struct.pack('<iiii', 10, 10, 60, 40)),                # Rectangle
        emf_record(39, struct.pack('<IIII', 3, 0, 0xFF0000, 0)),             # brush blue -> 3
        emf_record(37, struct.pack('<I', 3)),
        emf_record(42, struct.pack('<iiii', 110, 50, 190, 90)),              # Ellipse
        emf_record(27, struct.pack('<ii', 5, 95)), emf_record(54, struct.pack('<ii', 100, 95)),
        emf_record(86, struct.pack('<iiiiI', 0, 0, 0, 0, 3) + struct.pack('<6h', 150, 5, 190, 5, 170, 40)),
        emf_record(999, b'\1\2\3\4'),                                        # unknown: skipped
    ]
    text = 'Hi'.encode('utf-16-le')
    ext = struct.pack('<iiiiIff', 0, 0, 0, 0, 1, 1.0, 1.0) + struct.pack('<iiIIIiiiiI', 70, 60, 2, 76, 0, 0, 0, 0, 0, 0) + text
    recs.append(emf_record(84, ext))
    recs.append(emf_record(14, struct.pack('<III', 0, 16, 20)))
    body = b''.join(recs)
    hsize = 108
    total = hsize + len(body)
    # 200 x 100 pixels on a 96 dpi reference device: frame in 0.01 mm.
    header = struct.pack('<II', 1, hsize) + struct.pack('<4i', 0, 0, 199, 99) + struct.pack('<4i', 0, 0, 5292, 2646)
    header += struct.pack('<IIIIHHIII', 0x464D4520, 0x10000, total, len(recs) + 1, 4, 0, 0, 0, 0)
    header += struct.pack('<iiii', 1920, 1080, 508, 286) + struct.pack('<IIIii', 0, 0, 0, 508000, 286000)
    assert len(header) == hsize
    open('drawing.emf', 'wb').write(header + body)

wmf()
emf()
