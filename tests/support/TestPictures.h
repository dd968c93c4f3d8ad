#pragma once
// The pictures the tests are made of: noise (every pixel random), a varied pattern
// (every pixel differs from its neighbours), one colour, and palette pictures.
#include "ColourValue.h"
#include "MadeRows.h"
#include "Picture.h"
#include "PixelRows.h"

#include <QImage>
#include <QRandomGenerator>
#include <algorithm>
#include <gtest/gtest.h>

namespace vermeo::test {

// Random colours, repeatable by seed.
inline QImage noise(int w, int h, quint32 seed = 11)
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

// Every pixel differs from its neighbours, by a fixed rule.
inline QImage varied(int w, int h)
{
    QImage img = newWorkingImage(w, h);
    for (int y = 0; y < h; ++y) {
        QRgb *row = rowOf(img, y);
        for (int x = 0; x < w; ++x)
            row[x] = qRgb((x * 37 + y * 11) & 255, (x * 5 + y * 91) & 255, (x * y * 7 + 3) & 255);
    }
    return img;
}

// A true-colour picture where every pixel differs from its neighbours (another rule).
inline Picture truecolourPicture(int w, int h)
{
    QImage img = newWorkingImage(w, h);
    for (int y = 0; y < h; ++y) {
        QRgb *row = rowOf(img, y);
        for (int x = 0; x < w; ++x)
            row[x] = qRgb((x * 7 + y) & 0xFF, (y * 5 + x * 3) & 0xFF, (x * y + 11) & 0xFF);
    }
    return Picture::fromImage(img);
}

// One colour value all over.
inline QImage filled(int w, int h, TColour c) { return newWorkingImage(w, h, toQRgb(c)); }

inline QImage onePixel(int r, int g, int b) { return filled(1, 1, ComposeCouleur(r, g, b)); }

inline TColour at(const QImage &img, int x, int y) { return fromQRgb(img.pixel(x, y)); }

// A palette picture of the given depth: palette entry i is a distinct colour and the
// pixels cycle through all entries.
inline Picture palettePicture(int w, int h, int depth)
{
    QList<QRgb> pal;
    const int n = 1 << depth;
    for (int i = 0; i < n; ++i)
        pal.append(depth == 1 ? (i ? qRgb(255, 255, 0) : qRgb(0, 0, 128))
                              : qRgb((i * 37) & 0xFF, (i * 91) & 0xFF, 255 - i));
    QImage img = newWorkingImage(w, h);
    for (int y = 0; y < h; ++y) {
        QRgb *row = rowOf(img, y);
        for (int x = 0; x < w; ++x)
            row[x] = pal[(x + 3 * y) % n];
    }
    return Picture::withPalette(img, depth, pal);
}

// The pixels that differ between two pictures of the same size.
inline int differingPixels(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return a.width() * a.height() + 1;
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            n += (a.pixel(x, y) & 0xFFFFFFu) != (b.pixel(x, y) & 0xFFFFFFu);
    return n;
}

// The pixels that differ from white, as a bounding box.
inline QRect inkBounds(const QImage &img)
{
    QRect r;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if ((img.pixel(x, y) & 0xFFFFFFu) != 0xFFFFFFu)
                r = r.united(QRect(x, y, 1, 1));
    return r;
}

// The rows of src given to a feed top to bottom, as a file's reader gives them; read
// counts the rows given, and a read past the last row fails the test.
inline RowFeed feedOf(const QImage &src, int &read)
{
    return {src.width(), src.height(), [&src, &read](RowsOf<QRgb> rows, int count) {
                ASSERT_LE(read + count, src.height());
                for (int i = 0; i < count; ++i)
                    std::copy_n(rowOf(src, read + i), src.width(), rows[i]);
                read += count;
            }};
}

} // namespace vermeo::test
