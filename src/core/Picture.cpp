#include "Picture.h"
#include "Error.h"
#include "Parallel.h"
#include "PixelBuffers.h"

#include <QPainter>

namespace vermeo {

QImage toWorkingImage(const QImage &img)
{
    if (img.isNull())
        return {};
    if (img.format() == QImage::Format_RGB32)
        return img;
    if (img.hasAlphaChannel()) {
        // Transparent areas become the white background, as on a fresh picture.
        QImage out = newWorkingImage(img.width(), img.height(), 0xFFFFFFFFu);
        QPainter p(&out);
        p.drawImage(0, 0, img);
        return out;
    }
    return img.convertToFormat(QImage::Format_RGB32);
}

QImage newWorkingImage(int w, int h)
{
    if (!isHoldableSize(w, h))
        throw VermeoError(QStringLiteral("Taille d'image impossible : %1 x %2.").arg(w).arg(h));
    QImage img = pooledImage(w, h);
    if (img.isNull())
        throw VermeoError(QStringLiteral("Mémoire insuffisante pour une image de %1 x %2.").arg(w).arg(h));
    return img;
}

QImage newWorkingImage(int w, int h, QRgb fill)
{
    QImage img = newWorkingImage(w, h);
    // Filled on every core: the kernel's clearing of the fresh pages is shared out too.
    forBandsInParallel(h, kBandRows, eachRow(img, [w, fill](QRgb *row, int) { std::fill_n(row, w, fill); }));
    return img;
}

Picture Picture::fromImage(const QImage &img)
{
    Picture p;
    p.image = toWorkingImage(img);
    p.depth = 24;
    return p;
}

Picture Picture::withPalette(const QImage &img, int depth, QList<QRgb> palette)
{
    Picture p;
    p.image = toWorkingImage(img);
    p.depth = depth;
    p.palette = std::move(palette);
    return p;
}

} // namespace vermeo
