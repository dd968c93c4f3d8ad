#pragma once
// Windows bitmap files: our own writer (in the picture's declared depth) and a reader
// that checks the headers against the file. Uncompressed files are read and written by
// bands of rows; compressed and bit-field files go through Qt's reader.
#include "Picture.h"
#include "RowStream.h"

#include <QByteArray>

namespace vermeo::formats {

// 1-, 4- and 8-bit pictures are written with their palette; 16- and 32-bit ones as
// 24 bits (the common form every reader takes). A palette picture without a palette
// is written as 24 bits rather than with an invented one. Colours missing from the
// palette take the nearest entry.
QByteArray encodeBmp(const Picture &pic);
std::unique_ptr<RowWriter> bmpWriter(ByteSink &sink, const PictureShape &shape);

// Reads any common BMP (1/4/8/16/24/32 bits, RLE4, RLE8, bit fields, top-down,
// OS/2 header). The declared depth and palette of the file are kept. Throws
// VermeoError (French reason) for damaged or absurd files. An uncompressed file whose
// rows end early is an error ("fichier tronqué") unless truncated is given: then the rows
// present are read, the others left white, and *truncated set.
Picture decodeBmp(const QByteArray &data, bool *truncated = nullptr);
Picture readBmp(std::shared_ptr<ByteSource> source, bool *truncated = nullptr);

// Size, depth and palette from the headers of an uncompressed file (compressed ones are
// decoded); refused as readBmp would refuse the file.
PictureShape bmpFileShape(std::shared_ptr<ByteSource> source);

// A band reader for an uncompressed file, or null for the layouts Qt decodes.
// Throws for damaged files.
std::unique_ptr<RowReader> bmpReader(std::shared_ptr<ByteSource> source);

// Where the pixels of an uncompressed 24- or 32-bit file lie: file row 0 (the bottom
// row, unless topDown) starts at offset, each rowSize bytes long.
struct BmpPixelLayout {
    qint64 offset = 0;
    qsizetype rowSize = 0;
    int width = 0, height = 0, bits = 24;
    bool topDown = false;
};
// That layout, when the file is such a one and holds every row; false for the others
// (palettes, compression, bit fields, a file cut short). Throws for damaged files.
bool bmpPixelLayout(ByteSource &source, BmpPixelLayout &layout);

// Bytes per row of a bottom-up, 4-byte aligned bitmap.
inline qsizetype bmpRowSize(qsizetype width, int bits) { return ((width * bits + 31) / 32) * 4; }

} // namespace vermeo::formats
