#include "GeometryKernels.h"

#include "Canvas.h"
#include "Error.h"
#include "Parallel.h"
#include "PixelRows.h"

#include <cstring>

namespace vermeo::geometry {

QImage stretchImage(const QImage &srcIn, int w, int h)
{
    if (srcIn.isNull())
        throw VermeoError(QStringLiteral("Aucune image à redimensionner."));
    if (w < 1 || h < 1)
        throw VermeoError(QStringLiteral("La largeur et la hauteur doivent valoir au moins 1."));
    QImage dst = newWorkingImage(w, h);
    Canvas(&dst).StretchDraw(dst.rect(), toWorkingImage(srcIn));
    return dst;
}

QImage enlargeCanvas(const QImage &srcIn, int w, int h, QPoint offset)
{
    const QImage src = toWorkingImage(srcIn);
    QImage dst = newWorkingImage(w, h);
    const QRect target = QRect(offset, src.size()).intersected(dst.rect());
    const auto in = rowsOf(src);
    const auto out = rowsOf(dst);
    // Each row once: white around the picture, the picture's pixels inside.
    forBandsInParallel(h, 64, [&](int y0, int y1) {
        for (int y = y0; y < y1; ++y) {
            QRgb *d = out[y];
            if (y < target.top() || y > target.bottom() || target.isEmpty()) {
                std::fill_n(d, w, 0xFFFFFFFFu);
                continue;
            }
            std::fill_n(d, target.left(), 0xFFFFFFFFu);
            std::memcpy(d + target.left(), in[y - offset.y()] + (target.left() - offset.x()),
                        size_t(target.width()) * sizeof(QRgb));
            std::fill(d + target.right() + 1, d + w, 0xFFFFFFFFu);
        }
    });
    return dst;
}

QImage cropImage(const QImage &srcIn, const QRect &r)
{
    const QRect n = r.normalized();
    if (n.width() < 1 || n.height() < 1)
        throw VermeoError(QStringLiteral("La sélection est vide."));
    // Same as drawing the picture into a white bitmap of the area's size.
    return enlargeCanvas(srcIn, n.width(), n.height(), -n.topLeft());
}

void drawFrame(QImage &img, int thickness, TColour colour)
{
    if (thickness < 1 || img.isNull())
        return;
    Canvas c(&img);
    c.setPenMode(PenMode::Copy);
    c.setPenStyle(psSolid);
    c.setBrushStyle(bsClear);
    c.setPenColour(colour);
    c.setPenWidth(thickness);
    c.Rectangle(0, 0, img.width(), img.height());
}

QImage mirrorHorizontal(const QImage &srcIn)
{
    const QImage src = toWorkingImage(srcIn);
    QImage dst = newWorkingImage(src.width(), src.height());
    const int h = src.height();
    const size_t bytes = size_t(src.width()) * sizeof(QRgb);
    const auto in = rowsOf(src);
    const auto out = rowsOf(dst);
    forBandsInParallel(h, 64, [&](int y0, int y1) {
        for (int y = y0; y < y1; ++y)
            std::memcpy(out[y], in[h - 1 - y], bytes);
    });
    return dst;
}

QImage mirrorVertical(const QImage &srcIn)
{
    const QImage src = toWorkingImage(srcIn);
    QImage dst = newWorkingImage(src.width(), src.height());
    const int w = src.width();
    const auto in = rowsOf(src);
    const auto out = rowsOf(dst);
    forBandsInParallel(src.height(), 64, [&](int y0, int y1) {
        for (int y = y0; y < y1; ++y) {
            const QRgb *s = in[y];
            QRgb *d = out[y];
            for (int x = 0; x < w; ++x)
                d[x] = s[w - 1 - x];
        }
    });
    return dst;
}

} // namespace vermeo::geometry
