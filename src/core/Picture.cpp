#include "Picture.h"
#include "Error.h"
#include "Parallel.h"

#include <QPainter>

#include <sys/mman.h>
#include <unistd.h>

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

namespace {
// Large pictures ask for large memory pages: a 24-megapixel picture is then faulted
// in with a few dozen page faults instead of some 24 000. A hint: failure changes nothing.
void preferLargePages(QImage &img)
{
#ifdef MADV_HUGEPAGE
    constexpr qsizetype kLarge = 8 << 20;
    if (img.sizeInBytes() < kLarge)
        return;
    uchar *bits = img.bits();
    const quintptr page = quintptr(sysconf(_SC_PAGESIZE)), base = quintptr(bits);
    const quintptr begin = (base + page - 1) & ~(page - 1);
    const quintptr end = (base + quintptr(img.sizeInBytes())) & ~(page - 1);
    if (end > begin)
        madvise(bits + (begin - base), end - begin, MADV_HUGEPAGE);
#else
    (void)img;
#endif
}
} // namespace

QImage newWorkingImage(int w, int h)
{
    if (!isHoldableSize(w, h))
        throw VermeoError(QStringLiteral("Taille d'image impossible : %1 x %2.").arg(w).arg(h));
    QImage img(w, h, QImage::Format_RGB32);
    if (img.isNull())
        throw VermeoError(QStringLiteral("Mémoire insuffisante pour une image de %1 x %2.").arg(w).arg(h));
    preferLargePages(img);
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
