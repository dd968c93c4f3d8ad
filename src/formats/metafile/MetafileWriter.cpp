#include "BmpCodec.h"
#include "ByteIO.h"
#include "Error.h"
#include "Metafile.h"
#include "MetafilePlayer.h"
#include "MetafileRecords.h"

#include <cmath>

namespace vermeo::formats {

using namespace metafile;

namespace {
// The picture as a 24-bit DIB: info header and bottom-up rows (a BMP file without
// its 14-byte file header).
QByteArray dib(const Picture &pic)
{
    Picture p = pic;
    p.depth = 24;
    p.palette.clear();
    return encodeBmp(p).mid(14);
}

void checkSize(const Picture &pic, const char *kind)
{
    if (pic.isNull())
        throw VermeoError(QStringLiteral("image vide"));
    // Metafile coordinates are 16-bit; a record's size must fit 32 bits.
    if (pic.width() > 32767 || pic.height() > 32767 || bmpRowSize(pic.width(), 24) * pic.height() > 0x7FFFFFF0LL)
        throw VermeoError(
            QStringLiteral("image trop grande pour un %1 (32 767 points au plus)").arg(QLatin1String(kind)));
}
} // namespace

QByteArray encodeWmf(const Picture &pic)
{
    checkSize(pic, "metafile");
    const int w = pic.width(), h = pic.height();
    const QByteArray bits = dib(pic);
    QByteArray out;
    ByteWriter wr(out);
    // Placeable header: the bounding box in units of 1/96 inch.
    const uint16_t head[10] = {0xCDD7, 0x9AC6, 0, 0, 0, uint16_t(w), uint16_t(h), 96, 0, 0};
    uint16_t sum = 0;
    for (uint16_t v : head) {
        wr.u16(v);
        sum ^= v;
    }
    wr.u16(sum);
    const uint32_t dibRecordWords = uint32_t((28 + bits.size() + 1) / 2);
    const uint32_t totalWords = 9 + 5 + 5 + dibRecordWords + 3;
    wr.u16(1); // in memory
    wr.u16(9); // header words
    wr.u16(0x0300);
    wr.u32(totalWords);
    wr.u16(0); // objects
    wr.u32(dibRecordWords);
    wr.u16(0);
    // SetWindowOrg(0, 0), SetWindowExt(w, h): parameters come y first.
    wr.u32(5);
    wr.u16(META_SETWINDOWORG);
    wr.u16(0);
    wr.u16(0);
    wr.u32(5);
    wr.u16(META_SETWINDOWEXT);
    wr.u16(uint16_t(h));
    wr.u16(uint16_t(w));
    // StretchDIB: rop, usage, src h, src w, y src, x src, dest h, dest w, y dest, x dest.
    wr.u32(dibRecordWords);
    wr.u16(META_STRETCHDIB);
    wr.u32(0x00CC0020); // SRCCOPY
    wr.u16(0);          // RGB colours
    wr.u16(uint16_t(h));
    wr.u16(uint16_t(w));
    wr.u16(0);
    wr.u16(0);
    wr.u16(uint16_t(h));
    wr.u16(uint16_t(w));
    wr.u16(0);
    wr.u16(0);
    wr.bytes(bits.constData(), bits.size());
    if (bits.size() & 1)
        wr.u8(0);
    wr.u32(3);
    wr.u16(META_EOF);
    return out;
}

QByteArray encodeEmf(const Picture &pic)
{
    checkSize(pic, "metafile évolué");
    const int w = pic.width(), h = pic.height();
    const QByteArray bits = dib(pic);
    // A reference device of 96 dots per inch.
    const int devW = 1920, devH = 1440, mmW = 508, mmH = 381; // exactly 96 dpi both ways
    const int frameW = int(std::lround(w * 100.0 * mmW / devW));
    const int frameH = int(std::lround(h * 100.0 * mmH / devH));
    const uint32_t headerSize = 108, dibRecord = 80 + uint32_t(bits.size()), eofSize = 20;
    const uint32_t total = headerSize + dibRecord + eofSize;
    QByteArray out;
    ByteWriter wr(out);
    wr.u32(EMR_HEADER);
    wr.u32(headerSize);
    wr.u32(0);
    wr.u32(0);
    wr.u32(uint32_t(w - 1));
    wr.u32(uint32_t(h - 1)); // bounds, inclusive
    wr.u32(0);
    wr.u32(0);
    wr.u32(uint32_t(frameW));
    wr.u32(uint32_t(frameH)); // frame, 0.01 mm
    wr.u32(metafile::kEmfSignature);
    wr.u32(0x10000);
    wr.u32(total);
    wr.u32(3); // records
    wr.u16(1); // handles (0 is reserved)
    wr.u16(0);
    wr.u32(0);
    wr.u32(0);
    wr.u32(0);
    wr.u32(devW);
    wr.u32(devH);
    wr.u32(mmW);
    wr.u32(mmH);
    wr.u32(0);
    wr.u32(0);
    wr.u32(0); // pixel format, OpenGL
    wr.u32(mmW * 1000);
    wr.u32(mmH * 1000);
    wr.u32(EMR_STRETCHDIBITS);
    wr.u32(dibRecord);
    wr.u32(0);
    wr.u32(0);
    wr.u32(uint32_t(w - 1));
    wr.u32(uint32_t(h - 1));
    wr.u32(0);
    wr.u32(0); // dest x, y
    wr.u32(0);
    wr.u32(0); // src x, y
    wr.u32(uint32_t(w));
    wr.u32(uint32_t(h));
    wr.u32(80);
    wr.u32(40); // info header offset, size
    wr.u32(120);
    wr.u32(uint32_t(bits.size() - 40));
    wr.u32(0);          // RGB colours
    wr.u32(0x00CC0020); // SRCCOPY
    wr.u32(uint32_t(w));
    wr.u32(uint32_t(h));
    wr.bytes(bits.constData(), bits.size());
    wr.u32(EMR_EOF);
    wr.u32(eofSize);
    wr.u32(0);
    wr.u32(16);
    wr.u32(eofSize);
    return out;
}

} // namespace vermeo::formats
