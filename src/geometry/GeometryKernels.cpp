#include "GeometryKernels.h"

#include "Canvas.h"
#include "Error.h"
#include "Picture.h"

#include <cstring>
#include <vector>

namespace vermeo::geometry {

namespace {
QImage working(const QImage &src)
{
    return src.format() == QImage::Format_RGB32 ? src : toWorkingImage(src);
}

// A picture of the same size as src, or a French error when memory is short.
QImage sameSize(const QImage &src)
{
    QImage dst(src.size(), QImage::Format_RGB32);
    if (dst.isNull())
        throw VermeoError(QStringLiteral("Mémoire insuffisante pour cette opération."));
    return dst;
}

const QRgb *row(const QImage &img, int y) { return reinterpret_cast<const QRgb *>(img.constScanLine(y)); }
QRgb *row(QImage &img, int y) { return reinterpret_cast<QRgb *>(img.scanLine(y)); }
} // namespace

QImage stretchImage(const QImage &srcIn, int w, int h)
{
    if (srcIn.isNull())
        throw VermeoError(QStringLiteral("Aucune image à redimensionner."));
    if (w < 1 || h < 1)
        throw VermeoError(QStringLiteral("La largeur et la hauteur doivent valoir au moins 1."));
    const QImage src = working(srcIn);
    QImage dst = makeWorkingImage(w, h, 0xFFFFFFFFu);
    const int sw = src.width(), sh = src.height();
    std::vector<int> colMap(static_cast<size_t>(w));
    for (int x = 0; x < w; ++x)
        colMap[size_t(x)] = int((long long)x * sw / w);
    for (int y = 0; y < h; ++y) {
        const QRgb *s = row(src, int((long long)y * sh / h));
        QRgb *d = row(dst, y);
        for (int x = 0; x < w; ++x)
            d[x] = s[colMap[size_t(x)]];
    }
    return dst;
}

QImage enlargeCanvas(const QImage &srcIn, int w, int h, QPoint offset)
{
    const QImage src = working(srcIn);
    QImage dst = makeWorkingImage(w, h, 0xFFFFFFFFu);
    const QRect target = QRect(offset, src.size()).intersected(dst.rect());
    for (int y = target.top(); y <= target.bottom(); ++y)
        std::memcpy(row(dst, y) + target.left(), row(src, y - offset.y()) + (target.left() - offset.x()),
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

void drawFrame(QImage &img, int thickness, TColor colour)
{
    if (thickness < 1 || img.isNull())
        return;
    Canvas c(&img);
    c.setPenMode(PenMode::Copy);
    c.setPenStyle(psSolid);
    c.setBrushStyle(bsClear);
    c.setPenColor(colour);
    c.setPenWidth(thickness);
    c.Rectangle(0, 0, img.width(), img.height());
}

QImage mirrorHorizontal(const QImage &srcIn)
{
    const QImage src = working(srcIn);
    QImage dst = sameSize(src);
    const int h = src.height();
    const size_t bytes = size_t(src.width()) * sizeof(QRgb);
    for (int y = 0; y < h; ++y)
        std::memcpy(row(dst, y), row(src, h - 1 - y), bytes);
    return dst;
}

QImage mirrorVertical(const QImage &srcIn)
{
    const QImage src = working(srcIn);
    QImage dst = sameSize(src);
    const int w = src.width();
    for (int y = 0; y < src.height(); ++y) {
        const QRgb *s = row(src, y);
        QRgb *d = row(dst, y);
        for (int x = 0; x < w; ++x)
            d[x] = s[w - 1 - x];
    }
    return dst;
}

} // namespace vermeo::geometry
