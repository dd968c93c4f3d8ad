#include "Error.h"
#include "Metafile.h"
#include "MetafilePlayer.h"

#include <QPainter>
#include <cmath>

namespace vermeo::formats {

namespace {
// A few bytes of drawing can ask for any size: metafiles are rendered up to 8000 x 8000,
// or larger when the file is big enough to hold a bitmap of that size.
QSize checkedSize(QSize s, qsizetype fileBytes)
{
    const long long bound =
        std::min<long long>(kMaxPixels, std::max<long long>(64'000'000LL, (long long)fileBytes / 2));
    if (s.width() <= 0 || s.height() <= 0 || s.width() > 32767 || s.height() > 32767 ||
        (long long)s.width() * s.height() > bound)
        throw metafile::bad(QStringLiteral("taille %1 x %2").arg(s.width()).arg(s.height()));
    return s;
}
} // namespace

QSize metafileSize(const QByteArray &d) { return metafile::isEmf(d) ? metafile::emfSize(d) : metafile::wmfSize(d); }

QSize metafilePictureSize(const QByteArray &d) { return checkedSize(metafileSize(d), d.size()); }

namespace {
// The records played onto a picture of size shown, the file's own size scaled to it.
Picture render(const QByteArray &d, QSize size, QSize shown)
{
    QImage img = newWorkingImage(shown.width(), shown.height(), qRgb(255, 255, 255));
    {
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setRenderHint(QPainter::SmoothPixmapTransform, false);
        const QTransform scale =
            QTransform::fromScale(double(shown.width()) / size.width(), double(shown.height()) / size.height());
        if (metafile::isEmf(d))
            metafile::playEmf(d, p, size, scale);
        else
            metafile::playWmf(d, p, size, scale);
    }
    return Picture::fromImage(img);
}
} // namespace

Picture decodeMetafile(const QByteArray &d)
{
    const QSize size = metafilePictureSize(d);
    return render(d, size, size);
}

Picture decodeMetafileReduced(const QByteArray &d, QSize atLeast, QSize *fullSize)
{
    const QSize size = metafilePictureSize(d);
    if (fullSize)
        *fullSize = size;
    if (atLeast.isEmpty() || size.width() <= atLeast.width() || size.height() <= atLeast.height())
        return render(d, size, size);
    // As small as still covers the area both ways, in the picture's shape.
    const double s = std::max(double(atLeast.width()) / size.width(), double(atLeast.height()) / size.height());
    return render(d, size,
                  QSize(std::max(1, int(std::ceil(size.width() * s))), std::max(1, int(std::ceil(size.height() * s)))));
}

} // namespace vermeo::formats
