#include "Picture.h"
#include "Error.h"

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
        QImage out(img.size(), QImage::Format_RGB32);
        out.fill(Qt::white);
        QPainter p(&out);
        p.drawImage(0, 0, img);
        return out;
    }
    return img.convertToFormat(QImage::Format_RGB32);
}

QImage makeWorkingImage(int w, int h, QRgb fill)
{
    if (w <= 0 || h <= 0 || w > kMaxSide || h > kMaxSide || (long long)w * h > kMaxPixels)
        throw VermeoError(QStringLiteral("Taille d'image impossible : %1 x %2.").arg(w).arg(h));
    QImage img(w, h, QImage::Format_RGB32);
    if (img.isNull())
        throw VermeoError(QStringLiteral("Mémoire insuffisante pour une image de %1 x %2.").arg(w).arg(h));
    img.fill(fill);
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
