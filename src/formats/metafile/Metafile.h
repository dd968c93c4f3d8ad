#pragma once
// Windows metafiles (WMF) and enhanced metafiles (EMF). Our writer stores the picture
// as one device-independent bitmap record at its size; the reader plays the records
// that real drawings use with QPainter and skips the others.
#include "Picture.h"

#include <QByteArray>

namespace vermeo::formats {

QByteArray encodeWmf(const Picture &pic);
QByteArray encodeEmf(const Picture &pic);

// Either kind, told apart by its header; rendered at its own size on white.
Picture decodeMetafile(const QByteArray &data);

// The metafile's size in pixels, from its header (throws for damaged headers).
QSize metafileSize(const QByteArray &data);
// That size as decodeMetafile takes it: refused where decoding would refuse it.
QSize metafilePictureSize(const QByteArray &data);
// Rendered at a reduced size that still covers atLeast on both sides, for thumbnails;
// fullSize receives the picture's own size.
Picture decodeMetafileReduced(const QByteArray &data, QSize atLeast, QSize *fullSize = nullptr);

} // namespace vermeo::formats
