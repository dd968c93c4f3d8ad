#pragma once
// Results made a band of rows at a time, for writers that take them as they come.
#include "PixelRows.h"

#include <functional>

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

} // namespace vermeo
