#pragma once
// Uncompressed little-endian single-strip TIFF: 4- and 8-bit pictures as palette
// colour, 1-bit ones as bilevel, everything else as 8-bit-per-sample RGB.
#include "Picture.h"

#include <QByteArray>

namespace vermeo::formats {

QByteArray encodeTiff(const Picture &pic);

} // namespace vermeo::formats
