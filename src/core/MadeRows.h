#pragma once
// Results made a band of rows at a time, for writers that take them as they come.
#include "PixelRows.h"

#include <functional>
#include <memory>

namespace vermeo {

// A true-colour picture made on demand, a band of rows at a time, for results written
// straight to a file: make(y0, count, rows) fills rows[0 .. count) with picture rows
// y0 .. y0 + count - 1, top to bottom. band: the rows it likes to make at once (0: any).
struct MadeRows {
    int width = 0;
    int height = 0;
    std::function<void(int y0, int count, RowsOf<QRgb> rows)> make;
    int band = 0;
};

// The rows of a picture read on demand, top to bottom: read(rows, count) fills
// rows[0 .. count) with the next count rows of the width x height picture.
struct RowFeed {
    int width = 0;
    int height = 0;
    std::function<void(RowsOf<QRgb> rows, int count)> read;
};

// A true-colour picture whose pixels lie packed elsewhere (the rows of a mapped file):
// row y starts at base + y * stride bytes (a negative stride for rows kept bottom up),
// each pixel 3 bytes (blue, green, red) or 4 (blue, green, red, unused). keep holds what
// the bytes live in; check() throws VermeoError when they could not all be read.
struct PackedPixels {
    int width = 0;
    int height = 0;
    const uchar *base = nullptr;
    qsizetype stride = 0;
    int bytesPerPixel = 3;
    std::shared_ptr<const void> keep;
    std::function<void()> check;

    const uchar *row(int y) const { return base + y * stride; }
    QRgb pixel(int x, int y) const
    {
        const uchar *p = row(y) + x * bytesPerPixel;
        return 0xFF000000u | (QRgb(p[2]) << 16) | (QRgb(p[1]) << 8) | p[0];
    }
};

} // namespace vermeo
