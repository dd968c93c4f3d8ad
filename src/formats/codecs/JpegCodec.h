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
// converted to sRGB from its embedded ICC profile when it has one.
Picture decodeJpeg(const QByteArray &data);
// The same at a reduced size (a half, a quarter or an eighth) that still covers atLeast
// on both sides when the picture does; fullSize receives the picture's own (upright) size.
Picture decodeJpegReduced(const QByteArray &data, QSize atLeast, QSize *fullSize = nullptr);
// Quality 90, baseline, colour.
QByteArray encodeJpeg(const Picture &pic, int quality = 90);
std::unique_ptr<RowWriter> jpegWriter(ByteSink &sink, const PictureShape &shape, int quality = 90);

} // namespace vermeo::formats
