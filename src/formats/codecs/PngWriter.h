#pragma once
// The PNG writer: zlib at level 6 with no row filter (libvips' own choice, a fraction of
// the time of adaptive filters for a file about as large as theirs on photographs), the
// rows deflated in independent blocks on every core and joined into one zlib stream.
#include "Picture.h"

#include <QByteArray>

namespace vermeo::formats {

// A palette PNG of 1, 4 or 8 bits for those declared depths (each point keeps its
// index), else 8-bit RGB; the resolution in pHYs (96 dpi when unknown).
QByteArray encodePng(const Picture &pic);

} // namespace vermeo::formats
