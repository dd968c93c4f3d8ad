#pragma once
// Windows bitmap files: our own writer (in the picture's declared depth) and a
// reader that checks the headers against the file before handing it to Qt.
#include "Picture.h"

#include <QByteArray>

namespace vermeo::formats {

// 1-, 4- and 8-bit pictures are written with their palette; 16- and 32-bit ones as
// 24 bits (the common form every reader takes). A palette picture without a palette
// is written as 24 bits rather than with an invented one.
QByteArray encodeBmp(const Picture &pic);

// Reads any common BMP (1/4/8/16/24/32 bits, RLE4, RLE8, bit fields, top-down,
// OS/2 header). The declared depth and palette of the file are kept. Throws
// VermeoError (French reason) for damaged or absurd files.
Picture decodeBmp(const QByteArray &data);

// Bytes per row of a bottom-up, 4-byte aligned bitmap.
inline qsizetype bmpRowSize(qsizetype width, int bits) { return ((width * bits + 31) / 32) * 4; }

} // namespace vermeo::formats
