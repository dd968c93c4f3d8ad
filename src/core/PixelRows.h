#pragma once
// The pixel toolkit of the working format (QImage::Format_RGB32, one QRgb a pixel):
// row access and new pictures. Every kernel reaches pixels through these.
#include <QImage>
#include <QRgb>

namespace vermeo {

// Row y of a working picture. The non-const overload detaches a shared picture.
inline const QRgb *rowOf(const QImage &img, int y) { return reinterpret_cast<const QRgb *>(img.constScanLine(y)); }
inline QRgb *rowOf(QImage &img, int y) { return reinterpret_cast<QRgb *>(img.scanLine(y)); }

// All rows of a working picture by base and stride, for hot loops and for bands run on
// several threads (the picture is detached once, here, not at every row).
template <class Pixel>
struct RowsOf {
    Pixel *base;
    qsizetype stride; // in pixels
    Pixel *operator[](int y) const { return base + y * stride; }
};
inline RowsOf<const QRgb> rowsOf(const QImage &img)
{
    return {reinterpret_cast<const QRgb *>(img.constBits()), img.bytesPerLine() / qsizetype(sizeof(QRgb))};
}
inline RowsOf<QRgb> rowsOf(QImage &img)
{
    return {reinterpret_cast<QRgb *>(img.bits()), img.bytesPerLine() / qsizetype(sizeof(QRgb))};
}

// The largest picture we agree to hold (pixels), about 1 GiB of RGB32.
constexpr long long kMaxPixels = 268'435'456LL;
constexpr int kMaxSide = 65536;

// Whether w x h is a size we hold.
constexpr bool isHoldableSize(long long w, long long h)
{
    return w > 0 && h > 0 && w <= kMaxSide && h <= kMaxSide && w * h <= kMaxPixels;
}

// A new working picture of w x h whose pixels the caller writes. Throws VermeoError
// ("Taille d'image impossible" or "Mémoire insuffisante") before anything is changed.
QImage newWorkingImage(int w, int h);
// The same, filled with one colour (QRgb).
QImage newWorkingImage(int w, int h, QRgb fill);

// Converts any QImage to the working format, dropping alpha onto white.
QImage toWorkingImage(const QImage &img);

} // namespace vermeo
