#include "Error.h"
#include "Metafile.h"
#include "MetafilePlayer.h"

#include <QPainter>

namespace vermeo::formats {

namespace {
// A few bytes of drawing can ask for any size: metafiles are rendered up to 8000 x 8000,
// or larger when the file is big enough to hold a bitmap of that size.
QSize checkedSize(QSize s, qsizetype fileBytes)
{
    const long long bound = std::min<long long>(kMaxPixels, std::max<long long>(64'000'000LL, (long long)fileBytes / 2));
    if (s.width() <= 0 || s.height() <= 0 || s.width() > 32767 || s.height() > 32767
        || (long long)s.width() * s.height() > bound)
        throw metafile::bad(QStringLiteral("taille %1 x %2").arg(s.width()).arg(s.height()));
    return s;
}
} // namespace

QSize metafileSize(const QByteArray &d) { return metafile::isEmf(d) ? metafile::emfSize(d) : metafile::wmfSize(d); }

QSize metafilePictureSize(const QByteArray &d) { return checkedSize(metafileSize(d), d.size()); }

Picture decodeMetafile(const QByteArray &d)
{
    const QSize size = metafilePictureSize(d);
    QImage img = newWorkingImage(size.width(), size.height(), qRgb(255, 255, 255));
    {
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setRenderHint(QPainter::SmoothPixmapTransform, false);
        if (metafile::isEmf(d))
            metafile::playEmf(d, p, size);
        else
            metafile::playWmf(d, p, size);
    }
    return Picture::fromImage(img);
}

} // namespace vermeo::formats
