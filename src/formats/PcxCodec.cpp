#include "PcxCodec.h"
#include "BmpCodec.h"
#include "ByteIO.h"
#include "Error.h"
#include "FileAccess.h"

#include <cmath>
#include <cstring>

namespace vermeo::formats {

namespace {
VermeoError refuse(const QString &why) { return VermeoError(QStringLiteral("fichier PCX refusé (%1)").arg(why)); }

struct PcxLayout {
    int code = pcxUnknown;
    int bmpBits = 0;
    QList<QRgb> palette;
};

PcxLayout chooseLayout(const uchar *h, const QByteArray &pcx)
{
    const int bits = h[3];
    const int planes = h[65];
    int kind = le16(h + 68);
    PcxLayout l;
    auto headerMap = [h](int n) {
        QList<QRgb> p;
        for (int i = 0; i < n; ++i)
            p.append(qRgb(h[16 + 3 * i], h[17 + 3 * i], h[18 + 3 * i]));
        return p;
    };
    if (planes == 4)
        throw refuse(QStringLiteral("image en 4 plans"));
    if (planes == 1 && bits == 1) {
        if (kind == 1) {
            l.code = pcxMonoPalette;
            l.palette = headerMap(2);
        } else {
            l.code = pcxMonoGrey;
            l.palette = {qRgb(0, 0, 0), qRgb(255, 255, 255)};
        }
        l.bmpBits = 1;
    } else if (planes == 1 && bits == 4) {
        l.bmpBits = 4;
        if (kind == 2) {
            l.code = pcx16Grey;
            for (int i = 0; i < 16; ++i)
                l.palette.append(qRgb(16 * i, 16 * i, 16 * i));
        } else {
            l.code = pcx16Palette;
            l.palette = headerMap(16);
        }
    } else if (planes == 1 && bits == 8) {
        l.bmpBits = 8;
        if (pcx.size() < 128 + 769)
            throw refuse(QStringLiteral("palette absente"));
        const uchar *block = reinterpret_cast<const uchar *>(pcx.constData()) + pcx.size() - 769;
        if (block[0] != 12)
            throw refuse(QStringLiteral("bloc de palette sans l'octet 12"));
        if (kind == 2) {
            l.code = pcx256Grey;
            for (int i = 0; i < 256; ++i)
                l.palette.append(qRgb(i, i, i));
        } else {
            l.code = pcx256Palette;
            for (int i = 0; i < 256; ++i)
                l.palette.append(qRgb(block[1 + 3 * i], block[2 + 3 * i], block[3 + 3 * i]));
        }
    } else if (planes == 3 && bits == 8) {
        l.code = pcxTrueColour;
        l.bmpBits = 24;
    } else {
        throw refuse(QStringLiteral("%1 plan(s) de %2 bits").arg(planes).arg(bits));
    }
    return l;
}
} // namespace

QByteArray pcxToBmp(const QByteArray &pcx, int *format)
{
    if (pcx.size() < 128)
        throw refuse(QStringLiteral("en-tête incomplet"));
    const uchar *h = reinterpret_cast<const uchar *>(pcx.constData());
    if (h[0] != 10)
        throw refuse(QStringLiteral("signature absente"));
    if (h[1] < 1 || h[1] > 5)
        throw refuse(QStringLiteral("version %1").arg(h[1]));
    if (h[2] != 1)
        throw refuse(QStringLiteral("codage %1").arg(h[2]));
    if (h[64] != 0)
        throw refuse(QStringLiteral("octet réservé non nul"));
    if (le16(h + 68) > 2)
        throw refuse(QStringLiteral("type de palette %1").arg(le16(h + 68)));
    const PcxLayout layout = chooseLayout(h, pcx);
    const int planes = h[65];
    const int xmin = le16(h + 4), ymin = le16(h + 6), xmax = le16(h + 8), ymax = le16(h + 10);
    const qint64 width = xmax >= xmin ? xmax - xmin + 1 : xmax - xmin + 1 + 65536;
    const qint64 height = ymax >= ymin ? ymax - ymin + 1 : ymax - ymin + 1 + 65536;
    const qint64 bpl = le16(h + 66);
    if (bpl == 0)
        throw refuse(QStringLiteral("lignes de 0 octet"));
    if (width * height > kMaxPixels)
        throw refuse(QStringLiteral("taille %1 x %2").arg(width).arg(height));
    // The coded data stop where the 8-bit palette block begins.
    const qsizetype dataEnd = layout.bmpBits == 8 ? pcx.size() - 769 : pcx.size();
    const qint64 coded = dataEnd - 128;
    // At most 63 bytes come out of every two bytes in: a larger picture cannot be in
    // this file, so refuse it before allocating anything.
    if (height * planes * bpl > (coded / 2) * 63 + (coded % 2))
        throw refuse(QStringLiteral("données trop courtes pour %1 x %2").arg(width).arg(height));

    const qsizetype rowSize = bmpRowSize(width, layout.bmpBits);
    const int entries = int(layout.palette.size());
    const qint64 total = rowSize * height + 54 + 4 * entries;
    QByteArray bmp;
    bmp.reserve(total);
    ByteWriter w(bmp);
    w.bytes("BM", 2);
    w.u32(uint32_t(total));
    w.u32(0);
    w.u32(uint32_t(total - height * rowSize));
    w.u32(40);
    w.u32(uint32_t(width));
    w.u32(uint32_t(height));
    w.u16(1);
    w.u16(uint16_t(layout.bmpBits));
    w.u32(0);
    w.u32(uint32_t(height * rowSize));
    w.u32(uint32_t(std::lround(le16(h + 12) * 3.6864049073422125)));
    w.u32(uint32_t(std::lround(le16(h + 14) * 3.6864049073422125)));
    w.u32(0);
    w.u32(0);
    for (QRgb c : layout.palette) {
        w.u8(qBlue(c));
        w.u8(qGreen(c));
        w.u8(qRed(c));
        w.u8(0);
    }
    const qsizetype pixelsAt = bmp.size();
    bmp.resize(total);
    uchar *pixels = reinterpret_cast<uchar *>(bmp.data()) + pixelsAt;
    std::memset(pixels, 0, size_t(rowSize * height));

    const uchar *in = h + 128;
    const uchar *end = reinterpret_cast<const uchar *>(pcx.constData()) + dataEnd;
    const qsizetype keep = std::min<qsizetype>(bpl, rowSize); // bytes of a plane line that fit the row
    qint64 line = 0;
    int plane = 0;
    qint64 col = 0;
    uchar *row = pixels + rowSize * (height - 1);
    while (line < height) {
        if (in >= end)
            throw refuse(QStringLiteral("données tronquées à la ligne %1").arg(line + 1));
        int count = 1;
        uchar v = *in++;
        if (v >= 192) {
            count = v & 63;
            if (in >= end)
                throw refuse(QStringLiteral("données tronquées à la ligne %1").arg(line + 1));
            v = *in++;
        }
        // Runs may continue across plane and line ends.
        while (count > 0 && line < height) {
            const qint64 n = std::min<qint64>(count, bpl - col);
            if (planes == 1) {
                if (col < keep)
                    std::memset(row + col, v, size_t(std::min<qint64>(n, keep - col)));
            } else {
                const int channel = 2 - plane; // red, green, blue into B, G, R order
                for (qint64 x = col, e = std::min<qint64>(col + n, width); x < e; ++x)
                    row[3 * x + channel] = v; // bytes past the width (padding) are dropped
            }
            col += n;
            count -= int(n);
            if (col == bpl) {
                col = 0;
                if (++plane == planes) {
                    plane = 0;
                    ++line;
                    row -= rowSize;
                }
            }
        }
    }
    if (format)
        *format = layout.code;
    return bmp;
}

namespace {
// Writes one run at o and returns the end; at most 2 * ceil(n / 63) bytes, and never
// more than 2 * n.
inline uchar *emitRun(uchar *o, int n, uchar v)
{
    if (n == 1 && v < 192) {
        *o++ = v;
        return o;
    }
    for (int i = n / 63; i > 0; --i) {
        *o++ = 255;
        *o++ = v;
    }
    const int r = n % 63;
    if (r == 0)
        return o;
    if (r == 1 && v < 192) {
        *o++ = v;
    } else {
        *o++ = uchar(192 + r);
        *o++ = v;
    }
    return o;
}

// One plane line, appended to out. Rows of noise are mostly runs of one byte, so the
// line is coded into room reserved at its worst case (two bytes per byte).
void encodePlaneLine(QByteArray &out, const uchar *bytes, qsizetype n)
{
    const qsizetype start = out.size();
    out.resize(start + 2 * n);
    uchar *const begin = reinterpret_cast<uchar *>(out.data()) + start;
    uchar *o = begin;
    qsizetype i = 0;
    while (i < n) {
        const uchar v = bytes[i];
        qsizetype j = i + 1;
        while (j < n && bytes[j] == v)
            ++j;
        o = emitRun(o, int(j - i), v);
        i = j;
    }
    out.resize(start + (o - begin));
}
} // namespace

void pcxEmitRun(QByteArray &out, int n, uchar v)
{
    const qsizetype start = out.size();
    out.resize(start + 2 * (qsizetype(n) / 63 + 1));
    uchar *const begin = reinterpret_cast<uchar *>(out.data()) + start;
    out.resize(start + (emitRun(begin, n, v) - begin));
}

QByteArray bmpToPcx(const QByteArray &bmp)
{
    ByteReader r(bmp);
    if (bmp.size() < 54 || bmp[0] != 'B' || bmp[1] != 'M')
        throw VermeoError(QStringLiteral("image BMP attendue"));
    r.skip(10);
    const uint32_t offset = r.u32();
    const uint32_t infoSize = r.u32();
    const int32_t width = r.s32();
    const int32_t height = r.s32();
    r.skip(2);
    const int bits = r.u16();
    const uint32_t compression = r.u32();
    r.skip(4);
    const uint32_t xppm = r.u32(), yppm = r.u32();
    if (compression != 0 || (bits != 1 && bits != 4 && bits != 8 && bits != 24) || width <= 0 || height <= 0
        || width > 65536 || height > 65536)
        throw VermeoError(QStringLiteral("seules les images de 1, 4, 8 ou 24 bits sans compression s'écrivent en PCX"));
    const qsizetype rowSize = bmpRowSize(width, bits);
    const int entries = bits == 24 ? 0 : 1 << bits;
    if (qint64(offset) + rowSize * height > bmp.size() || qint64(14) + infoSize + 4 * entries > bmp.size())
        throw VermeoError(QStringLiteral("image BMP tronquée"));
    const uchar *pal = reinterpret_cast<const uchar *>(bmp.constData()) + 14 + infoSize;
    const uchar *pixels = reinterpret_cast<const uchar *>(bmp.constData()) + offset;

    const int planes = bits == 24 ? 3 : 1;
    const int planeBits = bits == 24 ? 8 : bits;
    qsizetype bpl = (qsizetype(width) * planeBits + 7) / 8;
    bpl += bpl & 1;

    QByteArray out;
    out.reserve(128 + rowSize * height + 769);
    ByteWriter w(out);
    w.u8(10);
    w.u8(5);
    w.u8(1);
    w.u8(uint8_t(planeBits));
    w.u16(0);
    w.u16(0);
    w.u16(uint16_t(width - 1));
    w.u16(uint16_t(height - 1));
    w.u16(uint16_t(std::lround(xppm * 0.271267)));
    w.u16(uint16_t(std::lround(yppm * 0.271267)));
    for (int i = 0; i < 16; ++i) {
        if (i < entries && bits <= 4) {
            w.u8(pal[4 * i + 2]);
            w.u8(pal[4 * i + 1]);
            w.u8(pal[4 * i]);
        } else {
            w.zeros(3);
        }
    }
    w.u8(0);
    w.u8(uint8_t(planes));
    w.u16(uint16_t(bpl));
    w.u16(1);
    w.zeros(128 - out.size());

    QByteArray plane(bpl, '\0');
    uchar *pl = reinterpret_cast<uchar *>(plane.data());
    for (int y = 0; y < height; ++y) {
        const uchar *row = pixels + rowSize * (height - 1 - y);
        if (planes == 1) {
            encodePlaneLine(out, row, bpl); // bpl never exceeds the 4-aligned row
            continue;
        }
        for (int p = 0; p < 3; ++p) {
            const int channel = 2 - p;
            for (int x = 0; x < width; ++x)
                pl[x] = row[3 * x + channel];
            encodePlaneLine(out, pl, bpl);
        }
    }
    if (bits == 8) {
        w.u8(12);
        for (int i = 0; i < 256; ++i) {
            w.u8(pal[4 * i + 2]);
            w.u8(pal[4 * i + 1]);
            w.u8(pal[4 * i]);
        }
    }
    return out;
}

Picture decodePcx(const QByteArray &pcx, int *format)
{
    return decodeBmp(pcxToBmp(pcx, format));
}

QByteArray encodePcx(const Picture &pic)
{
    return bmpToPcx(encodeBmp(pic));
}

bool ReadPcxFile(const QString &fileName, Picture &target, int *format, QString *why)
{
    try {
        Picture p = decodePcx(readWholeFile(fileName), format);
        target = std::move(p);
        return true;
    } catch (const VermeoError &e) {
        if (why)
            *why = e.message();
        return false;
    }
}

} // namespace vermeo::formats
