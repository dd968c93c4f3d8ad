#pragma once
// The picture of a document: RGB32 working pixels, plus the depth and palette it was
// declared with (which decide how BMP, PCX and TIFF are written).
#include "PixelRows.h"

#include <QImage>
#include <QList>
#include <QRgb>

namespace vermeo {

// Pixels per metre across and down, as the file gave them; 0 where it gave none.
struct Resolution {
    int x = 0;
    int y = 0;
    bool known() const { return x > 0 && y > 0; }
    friend bool operator==(const Resolution &, const Resolution &) = default;
};

struct Picture {
    QImage image;          // always QImage::Format_RGB32 once set
    int depth = 24;        // declared bits per pixel: 1, 4, 8, 16, 24 or 32
    QList<QRgb> palette;   // for depths 1, 4 and 8
    Resolution resolution; // carried from the file read to the file written

    int width() const { return image.width(); }
    int height() const { return image.height(); }
    bool isNull() const { return image.isNull(); }

    // A true-colour picture of the given image (converted to RGB32).
    static Picture fromImage(const QImage &img);
    // A palette picture: the image's pixels are expected to use palette colours.
    static Picture withPalette(const QImage &img, int depth, QList<QRgb> palette);
};

} // namespace vermeo
