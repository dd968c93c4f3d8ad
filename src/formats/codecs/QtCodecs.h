#pragma once
// Qt's image readers (compressed BMP, PNG, TIFF, icons), held to our own limits: the
// declared size is checked against what the file could hold, Qt's allocation limit is
// raised to our largest picture, and Qt's English texts go to the log. PNG is written
// by PngWriter.
#include "Picture.h"

#include <QByteArray>
#include <QImage>
#include <QString>

namespace vermeo::formats {

// The decoded image (any QImage format). formatName names the format in the French
// message ("fichier PNG endommagé (...)"). Of a file holding several images (icons),
// the largest, with the most colours among equals.
QImage decodeWithQt(const QByteArray &bytes, const char *format, const QString &formatName);
// The same as a picture: palette images keep their palette (depth 1 or 8).
Picture pictureWithQt(const QByteArray &bytes, const char *format, const QString &formatName);

} // namespace vermeo::formats
