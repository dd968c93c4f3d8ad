#pragma once
// Pictures read and written by bands of rows, from the top down, so that a whole-file
// conversion never holds the whole picture (nor the whole file) in memory. The same
// readers and writers serve whole pictures: one band of every row.
#include "FileAccess.h"
#include "MadeRows.h"
#include "Picture.h"
#include "PixelRows.h"

#include <QImage>
#include <QList>
#include <QRgb>
#include <memory>

namespace vermeo::formats {

// What a stream holds: size, declared depth and palette (depths 1, 4 and 8).
struct PictureShape {
    int width = 0;
    int height = 0;
    int depth = 24;
    QList<QRgb> palette;
    Resolution resolution;
};

// The shape a picture is written with.
inline PictureShape shapeOf(const Picture &pic)
{
    return {pic.width(), pic.height(), pic.depth, pic.palette, pic.resolution};
}

class RowReader {
public:
    virtual ~RowReader() = default;
    const PictureShape &shape() const { return m_shape; }
    // The next count rows, as working pixels, into rows[0..count). Throws VermeoError.
    virtual void readRows(RowsOf<QRgb> rows, int count) = 0;

protected:
    PictureShape m_shape;
};

class RowWriter {
public:
    virtual ~RowWriter() = default;
    // The next count rows, from the top down. Pixels of a palette picture must use
    // palette colours (see fitPalette); others take the nearest entry.
    virtual void writeRows(RowsOf<const QRgb> rows, int count) = 0;
    // After the last row: whatever follows the pixels.
    virtual void finish() {}
};

// Rows per band: a few megabytes of a wide picture, so the band stays in the caches.
inline int bandRows(int width) { return std::max(1, (1 << 20) / std::max(1, width)); }

// A new working picture that a decoder fills whole: not filled first, and backed by
// large pages where the system offers them (a 24-megapixel picture otherwise costs
// 24 000 page faults to fill).
QImage newDecodedPicture(int width, int height);

// Reads every row of a reader into a new working picture.
QImage readAllRows(RowReader &reader);
// Writes every row of a picture, then finishes.
void writeAllRows(RowWriter &writer, const QImage &image);

// Writes every row a maker makes through one reused band, then finishes: the picture
// is never held whole.
void writeMadeRows(RowWriter &writer, const MadeRows &made);

// A whole picture coded in memory by the writer a format makes.
using RowWriterMaker = std::unique_ptr<RowWriter> (*)(ByteSink &, const PictureShape &);
QByteArray encodeWhole(const Picture &pic, RowWriterMaker makeWriter);

} // namespace vermeo::formats
