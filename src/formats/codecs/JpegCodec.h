#pragma once
// JPEG through libjpeg. Errors come back as VermeoError: the library's own error
// handler would end the process.
#include "Picture.h"
#include "RowStream.h"

#include <QByteArray>
#include <QSize>

namespace vermeo::formats {

// Baseline, progressive, grey, CMYK and YCCK files, decoded straight into the working
// picture; the result is a 24-bit picture, turned upright by its EXIF orientation and
// converted to sRGB from its embedded ICC profile when it has one. Data that end before
// the picture does are an error ("fichier tronqué"), unless truncated is given: then the
// part decoded is returned and *truncated set. More than 500 progressive scans, or a
// declared size the data cannot plausibly back (see jpegSizePlausible), are refused.
Picture decodeJpeg(const QByteArray &data, bool *truncated = nullptr);
// Whether bytes of JPEG data could hold a picture of this size: at most 4096 pixels a
// byte (plus a megapixel), and past 16 megapixels at most 1024 pixels a byte.
bool jpegSizePlausible(long long width, long long height, qsizetype bytes);
// The same at a reduced size (a half, a quarter or an eighth) that still covers atLeast
// on both sides when the picture does; fullSize receives the picture's own (upright) size.
Picture decodeJpegReduced(const QByteArray &data, QSize atLeast, QSize *fullSize = nullptr);
// The upright size from the headers alone, without decoding; refused as decodeJpeg
// would refuse it, and "fichier tronqué" when no end marker follows the scans.
QSize jpegFileSize(const QByteArray &data);
// Quality 90, baseline, colour.
QByteArray encodeJpeg(const Picture &pic, int quality = 90);
std::unique_ptr<RowWriter> jpegWriter(ByteSink &sink, const PictureShape &shape, int quality = 90);

} // namespace vermeo::formats
