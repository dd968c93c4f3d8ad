#pragma once
// Uncompressed little-endian single-strip TIFF: 4- and 8-bit pictures as palette
// colour, 1-bit ones as bilevel (black and white) or a two-entry palette, everything
// else as 8-bit-per-sample RGB.
#include "Picture.h"
#include "RowStream.h"

#include <QByteArray>

namespace vermeo::formats {

QByteArray encodeTiff(const Picture &pic);
std::unique_ptr<RowWriter> tiffWriter(ByteSink &sink, const PictureShape &shape);

} // namespace vermeo::formats
