#pragma once
// The one place where a char buffer is seen as unsigned bytes (and back), for the
// parsers of files and scanner data and the libraries that take bytes.
#include <QByteArray>
#include <QRgb>

namespace vermeo {

// The non-const overload detaches a shared array.
inline const uchar *bytesOf(const QByteArray &a) { return reinterpret_cast<const uchar *>(a.constData()); }
inline uchar *bytesOf(QByteArray &a) { return reinterpret_cast<uchar *>(a.data()); }
inline const char *charsOf(const uchar *p) { return reinterpret_cast<const char *>(p); }
inline char *charsOf(uchar *p) { return reinterpret_cast<char *>(p); }
// The bytes of a row of working pixels (B, G, R, x in memory).
inline uchar *bytesOf(QRgb *row) { return reinterpret_cast<uchar *>(row); }
inline const uchar *bytesOf(const QRgb *row) { return reinterpret_cast<const uchar *>(row); }

} // namespace vermeo
