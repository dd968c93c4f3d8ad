#pragma once
// The pictures the benchmarks work on.
#include "PixelRows.h"

#include <QRandomGenerator>

namespace vermeo::bench {

// A photo's worth of pixels: noise, which no pass or codec can take a short cut through.
inline QImage noisePhoto(int w, int h, quint32 seed = 3)
{
    QImage img = newWorkingImage(w, h);
    QRandomGenerator rng(seed);
    for (int y = 0; y < h; ++y) {
        QRgb *row = rowOf(img, y);
        for (int x = 0; x < w; ++x)
            row[x] = 0xFF000000u | (rng.generate() & 0xFFFFFFu);
    }
    return img;
}

} // namespace vermeo::bench
