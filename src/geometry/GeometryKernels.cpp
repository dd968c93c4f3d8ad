#include "GeometryKernels.h"

#include "Canvas.h"
#include "Error.h"
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
    QImage dst = newWorkingImage(w, h, 0xFFFFFFFFu);
    const QRect target = QRect(offset, src.size()).intersected(dst.rect());
    for (int y = target.top(); y <= target.bottom(); ++y)
        std::memcpy(rowOf(dst, y) + target.left(), rowOf(src, y - offset.y()) + (target.left() - offset.x()),
                    size_t(target.width()) * sizeof(QRgb));
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
    for (int y = 0; y < h; ++y)
        std::memcpy(rowOf(dst, y), rowOf(src, h - 1 - y), bytes);
    return dst;
}

QImage mirrorVertical(const QImage &srcIn)
{
    const QImage src = toWorkingImage(srcIn);
    QImage dst = newWorkingImage(src.width(), src.height());
    const int w = src.width();
    for (int y = 0; y < src.height(); ++y) {
        const QRgb *s = rowOf(src, y);
        QRgb *d = rowOf(dst, y);
        for (int x = 0; x < w; ++x)
            d[x] = s[w - 1 - x];
    }
    return dst;
}

} // namespace vermeo::geometry
