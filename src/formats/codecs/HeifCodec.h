#pragma once
// HEIC and AVIF (the HEIF container) read through libheif and its HEVC and AV1
// decoders: the primary picture, turned and cropped as the file says (libheif applies
// the container's rotation and mirror, the form HEIF gives orientation), its colour
// profile (ICC, or nclx primaries) converted to sRGB, transparency laid on white, and
// 10- and 12-bit pictures brought to 8 bits.
#include "Picture.h"

#include <QByteArray>

namespace vermeo::formats {

Picture decodeHeif(const QByteArray &data);

} // namespace vermeo::formats
