#include "RowStream.h"

#include <sys/mman.h>
#include <unistd.h>

namespace vermeo::formats {

QImage newDecodedPicture(int width, int height)
{
    QImage img = newWorkingImage(width, height);
#ifdef MADV_HUGEPAGE
    uchar *bits = img.bits();
    const quintptr page = quintptr(sysconf(_SC_PAGESIZE)), base = quintptr(bits);
    const quintptr begin = (base + page - 1) & ~(page - 1);
    const quintptr end = (base + quintptr(img.sizeInBytes())) & ~(page - 1);
    if (end > begin)
        madvise(bits + (begin - base), end - begin, MADV_HUGEPAGE); // a hint: failure changes nothing
#endif
    return img;
}

QImage readAllRows(RowReader &reader)
{
    const PictureShape &s = reader.shape();
    QImage img = newDecodedPicture(s.width, s.height);
    reader.readRows(rowsOf(img), s.height);
    return img;
}

void writeAllRows(RowWriter &writer, const QImage &image)
{
    const RowsOf<const QRgb> rows = rowsOf(image);
    const int band = bandRows(image.width());
    for (int y = 0; y < image.height(); y += band)
        writer.writeRows({rows[y], rows.stride}, std::min(band, image.height() - y));
    writer.finish();
}

} // namespace vermeo::formats
