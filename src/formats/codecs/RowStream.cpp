#include "RowStream.h"
#include "Error.h"

namespace vermeo::formats {

QImage newDecodedPicture(int width, int height) { return newWorkingImage(width, height); }

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

void writeMadeRows(RowWriter &writer, const MadeRows &made)
{
    // About a million pixels of rows (a whole number of the maker's bands), reused from
    // one band to the next: its pages are faulted in once, and it stays in the caches.
    int band = std::min(made.height, bandRows(made.width));
    if (made.band > 0 && band > made.band)
        band -= band % made.band;
    QImage rows = newWorkingImage(made.width, std::max(1, band));
    for (int y = 0; y < made.height; y += band) {
        const int n = std::min(band, made.height - y);
        made.make(y, n, rowsOf(rows));
        writer.writeRows(rowsOf(std::as_const(rows)), n);
    }
    writer.finish();
}

QByteArray encodeWhole(const Picture &pic, RowWriterMaker makeWriter)
{
    if (pic.isNull())
        throw VermeoError(QStringLiteral("image vide"));
    QByteArray out;
    ArraySink sink(out);
    const auto writer = makeWriter(sink, shapeOf(pic));
    writeAllRows(*writer, pic.image);
    return out;
}

} // namespace vermeo::formats
