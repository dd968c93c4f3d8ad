#include "EdgeEffects.h"

#include "EffectRows.h"

namespace vermeo::geometry::effects {

int cubeIndex(QRgb q)
{
    auto level = [](int v) { return (v + 25) / 51; };
    return level(redOf(q)) * 36 + level(greenOf(q)) * 6 + level(blueOf(q));
}

namespace {

void blackOutlineOnce(QImage &img)
{
    const int w = img.width(), h = img.height();
    if (w < 3 || h < 2)
        return;
    // The reduced copy, one index a pixel.
    std::vector<std::uint8_t> index(size_t(w) * size_t(h));
    forBandsInParallel(img.height(), 32, eachRow(img, [&](QRgb *row, int y) {
                           std::uint8_t *d = index.data() + size_t(y) * size_t(w);
                           for (int x = 0; x < w; ++x)
                               d[x] = std::uint8_t(cubeIndex(row[x]));
                       }));
    auto at = [&](int x, int y) { return int(index[size_t(y) * size_t(w) + size_t(x)]); };
    // The first colour met: the neighbour at the first difference in visiting order.
    // At that first difference the rule below already blackens (x, y), as it must.
    int first = -1;
    for (int y = 0; y < h - 1 && first < 0; ++y)
        for (int x = 0; x < w - 2; ++x) {
            const int c = at(x, y);
            if (at(x + 1, y) != c) {
                first = at(x + 1, y);
                break;
            }
            if (at(x, y + 1) != c) {
                first = at(x, y + 1);
                break;
            }
        }
    if (first < 0)
        return;
    // Pixel (p, q) turns black when the visit of (p, q) blackens itself, or the visit of
    // its left or upper neighbour, having the first colour, blackens it.
    forBandsInParallel(img.height(), 32, eachRow(img, [&](QRgb *row, int q) {
                           for (int p = 0; p < w; ++p) {
                               const int c = at(p, q);
                               bool black = false;
                               if (q < h - 1 && p < w - 2 && c != first && (at(p + 1, q) != c || at(p, q + 1) != c))
                                   black = true;
                               else if (c != first && q < h - 1 && p >= 1 && p <= w - 2 && at(p - 1, q) == first)
                                   black = true;
                               else if (c != first && q >= 1 && p < w - 2 && at(p, q - 1) == first)
                                   black = true;
                               if (black)
                                   row[p] = 0xFF000000u;
                           }
                       }));
}

} // namespace

void blackOutline(QImage &img, int passes)
{
    for (int i = 0; i < passes; ++i)
        blackOutlineOnce(img);
}

void relief(QImage &img)
{
    const int w = img.width(), h = img.height();
    if (w < 4 || h < 2)
        return;
    forRowsReadingAhead(img, 1, true, [&](int y, QRgb *row, auto original) {
        if (y > h - 2)
            return;
        const QRgb *below = original(y + 1);
        for (int x = 0; x <= w - 4; ++x) {
            const QRgb p = row[x], q = below[x + 3];
            row[x] = opaque((255 - redOf(q) + redOf(p)) / 2, (255 - greenOf(q) + greenOf(p)) / 2,
                            (255 - blueOf(q) + blueOf(p)) / 2);
        }
    });
}

void shadow(QImage &img, ShadowSide side)
{
    const int w = img.width(), h = img.height();
    if (w <= 4 || h <= 4)
        return;
    // Each row reads the row four away, which the described order visits later, so
    // every comparison sees the picture as it was.
    const bool south = side == ShadowSide::SouthEast || side == ShadowSide::SouthWest;
    const bool east = side == ShadowSide::SouthEast || side == ShadowSide::NorthEast;
    const int dy = south ? -4 : 4, dx = east ? 4 : -4;
    const int x0 = east ? 0 : 4, x1 = east ? w - 5 : w - 1;
    forRowsReadingAhead(img, 4, !south, [&](int y, QRgb *row, auto original) {
        if (south ? y < 4 : y > h - 5)
            return;
        const QRgb *other = original(y + dy);
        for (int x = x0; x <= x1; ++x) {
            const QRgb q = other[x + dx];
            // 1 added to each byte, with no carry from one byte into the next.
            if (blueOf(q) < blueOf(row[x]))
                row[x] = 0xFF000000u | (((q & 0x7F7F7Fu) + 0x010101u) ^ (q & 0x808080u));
        }
    });
}

} // namespace vermeo::geometry::effects
