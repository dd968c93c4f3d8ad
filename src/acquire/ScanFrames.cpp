#include "ScanFrames.h"
#include "Bytes.h"

#include "Error.h"
#include "PixelRows.h"

#include <cstring>

namespace vermeo::acquire {

namespace {
int channelsOf(int format) { return format == FrameRgb ? 3 : 1; }

// Sample i (0-based, counted along the row) of a row, scaled to 0..255.
// 1-bit grey: a set bit is black; 1-bit colour: a set bit is the channel at full strength.
inline int sampleAt(const uchar *row, int i, int depth, bool inverted1Bit)
{
    switch (depth) {
    case 1: {
        const bool set = (row[i >> 3] >> (7 - (i & 7))) & 1;
        return set != inverted1Bit ? 255 : 0;
    }
    case 8: return row[i];
    default: {
        quint16 u;
        std::memcpy(&u, row + 2 * qsizetype(i), sizeof u); // the machine's byte order
        const int v = u;
        return (v * 255 + 32767) / 65535; // rounded, as a 16-bit picture file is read
    }
    }
}
} // namespace

void checkFrameLayout(const RawFrame &f)
{
    if (f.format < FrameGray || f.format > FrameBlue)
        throw VermeoError(
            QStringLiteral("Acquisition : format d'image du scanner non pris en charge (%1)").arg(f.format));
    if (f.depth != 1 && f.depth != 8 && f.depth != 16)
        throw VermeoError(QStringLiteral("Acquisition : profondeur de %1 bits non prise en charge").arg(f.depth));
    const long long needed = (static_cast<long long>(f.pixelsPerLine) * channelsOf(f.format) * f.depth + 7) / 8;
    if (f.pixelsPerLine <= 0 || f.bytesPerLine < needed)
        throw VermeoError(
            QStringLiteral("Acquisition : le scanner annonce des lignes incohérentes (%1 points, %2 octets)")
                .arg(f.pixelsPerLine)
                .arg(f.bytesPerLine));
    const long long lines = f.lines < 0 ? 1 : f.lines;
    if (f.lines == 0 || !isHoldableSize(f.pixelsPerLine, lines))
        throw VermeoError(QStringLiteral("Acquisition : taille d'image impossible (%1 x %2 points)")
                              .arg(f.pixelsPerLine)
                              .arg(f.lines));
}

int frameRows(const RawFrame &f)
{
    const long long arrived = f.bytesPerLine > 0 ? f.bytes.size() / f.bytesPerLine : 0;
    return f.lines < 0 ? int(arrived) : f.lines;
}

QImage frameToImage(const RawFrame &f)
{
    checkFrameLayout(f);
    const int h = frameRows(f);
    QImage img = newWorkingImage(f.pixelsPerLine, h, qRgb(255, 255, 255));
    const int whole = int(std::min<long long>(h, f.bytes.size() / f.bytesPerLine));
    const auto rows = rowsOf(img);
    const auto *data = bytesOf(f.bytes);
    for (int y = 0; y < whole; ++y) {
        const uchar *src = data + qsizetype(y) * f.bytesPerLine;
        QRgb *dst = rows[y];
        if (f.format == FrameRgb) {
            for (int x = 0; x < f.pixelsPerLine; ++x)
                dst[x] = qRgb(sampleAt(src, 3 * x, f.depth, false), sampleAt(src, 3 * x + 1, f.depth, false),
                              sampleAt(src, 3 * x + 2, f.depth, false));
        } else {
            for (int x = 0; x < f.pixelsPerLine; ++x) {
                const int v = sampleAt(src, x, f.depth, true);
                dst[x] = qRgb(v, v, v);
            }
        }
    }
    return img;
}

void mergeBand(QImage &target, const RawFrame &f)
{
    checkFrameLayout(f);
    const int h = frameRows(f);
    if (target.isNull() || target.width() != f.pixelsPerLine || target.height() != h)
        target = newWorkingImage(f.pixelsPerLine, h, qRgb(255, 255, 255));
    const int shift = f.format == FrameRed ? 16 : f.format == FrameGreen ? 8 : 0;
    const int whole = int(std::min<long long>(h, f.bytes.size() / f.bytesPerLine));
    const auto rows = rowsOf(target);
    const auto *data = bytesOf(f.bytes);
    for (int y = 0; y < whole; ++y) {
        const uchar *src = data + qsizetype(y) * f.bytesPerLine;
        QRgb *dst = rows[y];
        for (int x = 0; x < f.pixelsPerLine; ++x) {
            const QRgb v = QRgb(sampleAt(src, x, f.depth, false));
            dst[x] = (dst[x] & ~(QRgb(0xFF) << shift)) | (v << shift);
        }
    }
}

} // namespace vermeo::acquire
