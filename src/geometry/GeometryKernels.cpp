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
