#pragma once
// GIF through giflib. Reading gives the first frame on a white background (where the
// file is transparent); writing reduces a true-colour picture to at most 256 colours
// with dithering (libimagequant) and writes a palette picture with its own palette.
#include "Picture.h"

#include <QByteArray>

namespace vermeo::formats {

Picture decodeGif(const QByteArray &data);
QByteArray encodeGif(const Picture &pic);

} // namespace vermeo::formats
