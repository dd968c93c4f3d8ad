#include "TiffWriter.h"
#include "PixelRows.h"
#include "ByteIO.h"
#include "Error.h"
#include "PaletteIndex.h"

#include <cstring>
#include <vector>

namespace vermeo::formats {

namespace {
enum : uint16_t { tShort = 3, tLong = 4, tRational = 5, tAscii = 2 };

struct Entry {
    uint16_t tag, type;
    uint32_t count, value;
};

constexpr char kSoftware[10] = {'B', 'r', 'u', 'm', 'e', 'l', 'i', 'n', 'o', 'r'};

void writeDirectory(QByteArray &out, ByteWriter &w, const std::vector<Entry> &entries)
{
    const uint32_t at = uint32_t(out.size());
    w.u16(uint16_t(entries.size()));
    for (const Entry &e : entries) {
        w.u16(e.tag);
        w.u16(e.type);
        w.u32(e.count);
        if (e.type == tShort && e.count == 1) {
            w.u16(uint16_t(e.value)); // short values sit left-justified in the field
            w.u16(0);
        } else {
            w.u32(e.value);
        }
    }
    w.u32(0);
    w.put32At(4, at);
}

// Sizes above 65535 do not fit a short; those are written as longs.
uint16_t sizeType(int v) { return v > 65535 ? tLong : tShort; }
} // namespace

QByteArray encodeTiff(const Picture &pic)
{
    if (pic.isNull())
        throw VermeoError(QStringLiteral("image vide"));
    const int w = pic.width(), h = pic.height();
    int bits = pic.depth;
    if ((bits != 1 && bits != 4 && bits != 8) || pic.palette.isEmpty())
        bits = 24;

    QByteArray out;
    ByteWriter wr(out);
    wr.bytes("II", 2);
    wr.u16(42);
    wr.u32(8);

    if (bits == 24) {
        const uint32_t xres = uint32_t(out.size());
        wr.u32(877); wr.u32(10);
        const uint32_t yres = uint32_t(out.size());
        wr.u32(877); wr.u32(10);
        const uint32_t bps = uint32_t(out.size());
        wr.u16(8); wr.u16(8); wr.u16(8);
        const uint32_t soft = uint32_t(out.size());
        wr.bytes(kSoftware, 10);
        const uint32_t pixelsAt = uint32_t(out.size());
        const qsizetype rowBytes = qsizetype(w) * 3;
        out.resize(pixelsAt + rowBytes * h + 186);
        uchar *dst = reinterpret_cast<uchar *>(out.data()) + pixelsAt;
        for (int y = 0; y < h; ++y) {
            const QRgb *src = rowOf(pic.image, y);
            uchar *row = dst + rowBytes * y;
            for (int x = 0; x < w; ++x) {
                row[3 * x] = uchar(qRed(src[x]));
                row[3 * x + 1] = uchar(qGreen(src[x]));
                row[3 * x + 2] = uchar(qBlue(src[x]));
            }
        }
        out.resize(pixelsAt + rowBytes * h);
        writeDirectory(out, wr, {
            {254, tLong, 1, 0},
            {256, sizeType(w), 1, uint32_t(w)},
            {257, sizeType(h), 1, uint32_t(h)},
            {258, tShort, 3, bps},
            {259, tShort, 1, 1},
            {262, tShort, 1, 2},
            {273, tLong, 1, pixelsAt},
            {277, tShort, 1, 3},
            {278, tLong, 1, uint32_t(h)},
            {279, tLong, 1, uint32_t(rowBytes * h)},
            {282, tRational, 1, xres},
            {283, tRational, 1, yres},
            {284, tShort, 1, 1},
            {296, tShort, 1, 2},
            {305, tAscii, 10, soft},
        });
        return out;
    }

    const QList<QRgb> palette = fullPalette(pic.palette, bits);
    if (bits != 1) {
        for (int shift : {16, 8, 0})
            for (QRgb c : palette)
                wr.u16(uint16_t(((c >> shift) & 0xFF) << 8));
    }
    const uint32_t xres = uint32_t(out.size());
    wr.u32(877); wr.u32(10);
    const uint32_t yres = uint32_t(out.size());
    wr.u32(877); wr.u32(10);
    const uint32_t soft = uint32_t(out.size());
    wr.bytes(kSoftware, 10);
    const uint32_t pixelsAt = uint32_t(out.size());
    // Every row holds the full width, padded to a whole byte.
    const qsizetype rowBytes = (qsizetype(w) * bits + 7) / 8;
    out.resize(pixelsAt + rowBytes * h);
    uchar *dst = reinterpret_cast<uchar *>(out.data()) + pixelsAt;
    std::memset(dst, 0, size_t(rowBytes * h));
    PaletteIndex index(palette);
    // A bilevel TIFF has no palette: white is the lighter of the two entries.
    const bool invert = bits == 1 && qGray(palette[0]) > qGray(palette[1]);
    for (int y = 0; y < h; ++y) {
        const QRgb *src = rowOf(pic.image, y);
        uchar *row = dst + rowBytes * y;
        if (bits == 8) {
            for (int x = 0; x < w; ++x)
                row[x] = uchar(index.indexOf(src[x]));
        } else if (bits == 4) {
            for (int x = 0; x < w; ++x)
                row[x >> 1] |= uchar(index.indexOf(src[x]) << ((x & 1) ? 0 : 4));
        } else {
            for (int x = 0; x < w; ++x)
                if ((index.indexOf(src[x]) != 0) != invert)
                    row[x >> 3] |= uchar(0x80 >> (x & 7));
        }
    }
    std::vector<Entry> dir = {
        {254, tLong, 1, 0},
        {256, sizeType(w), 1, uint32_t(w)},
        {257, sizeType(h), 1, uint32_t(h)},
        {258, tShort, 1, uint32_t(bits)},
        {259, tShort, 1, 1},
        {262, tShort, 1, uint32_t(bits == 1 ? 1 : 3)}, // black is zero, or palette colour
        {273, tLong, 1, pixelsAt},
        {277, tShort, 1, 1},
        {278, tLong, 1, uint32_t(h)},
        {279, tLong, 1, uint32_t(rowBytes * h)},
        {282, tRational, 1, xres},
        {283, tRational, 1, yres},
        {296, tShort, 1, 2},
        {305, tAscii, 10, soft},
    };
    if (bits != 1)
        dir.push_back({320, tShort, uint32_t(3 << bits), 8});
    writeDirectory(out, wr, dir);
    return out;
}

} // namespace vermeo::formats
