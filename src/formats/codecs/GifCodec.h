#pragma once
// GIF through giflib. Reading gives the first frame on a white background (where the
// file is transparent); writing reduces a true-colour picture to at most 256 colours
// with dithering (libimagequant) and writes a palette picture with its own palette.
#include "Picture.h"

#include <QByteArray>
#include <QSize>

namespace vermeo::formats {

// Data that end inside the first frame are an error ("fichier tronqué"), unless
// truncated is given: then the lines read are kept and *truncated set.
Picture decodeGif(const QByteArray &data, bool *truncated = nullptr);
// The logical screen's size from the headers, with the first frame's data blocks walked
// but not decoded; refused and "fichier tronqué" as decodeGif would say.
QSize gifFileSize(const QByteArray &data);
QByteArray encodeGif(const Picture &pic);

} // namespace vermeo::formats
