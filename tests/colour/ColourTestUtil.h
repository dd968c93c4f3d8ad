#pragma once
#include "ColourValue.h"

#include <QImage>

namespace vermeo::test {

// A w x h picture of one colour value.
inline QImage filled(int w, int h, TColour c)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(toQRgb(c));
    return img;
}

inline QImage onePixel(int r, int g, int b) { return filled(1, 1, ComposeCouleur(r, g, b)); }

inline TColour at(const QImage &img, int x, int y) { return fromQRgb(img.pixel(x, y)); }

// A picture whose every pixel differs, to compare kernels with a slow reference.
inline QImage varied(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb((x * 37 + y * 11) & 255, (x * 5 + y * 91) & 255, (x * y * 7 + 3) & 255));
    return img;
}

} // namespace vermeo::test
