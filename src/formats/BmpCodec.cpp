#include "BmpCodec.h"
#include "PixelRows.h"
#include "ByteIO.h"
#include "Error.h"
#include "PaletteIndex.h"

#include <QBuffer>
#include <QImageReader>

namespace vermeo::formats {

namespace {
VermeoError bad(const QString &why) { return VermeoError(QStringLiteral("fichier BMP endommagé (%1)").arg(why)); }

void writeHeaders(ByteWriter &w, int width, int height, int bits, int paletteEntries, qsizetype rowSize)
{
    const qsizetype imageSize = rowSize * height;
    const qsizetype offset = 14 + 40 + 4 * paletteEntries;
    w.bytes("BM", 2);
    w.u32(uint32_t(offset + imageSize));
    w.u32(0);
    w.u32(uint32_t(offset));
    w.u32(40);
    w.u32(uint32_t(width));
    w.u32(uint32_t(height)); // positive: rows from the bottom up
    w.u16(1);
    w.u16(uint16_t(bits));
    w.u32(0);
    w.u32(uint32_t(imageSize));
    w.u32(3780); // 96 dpi
    w.u32(3780);
    w.u32(0);
    w.u32(0);
}
} // namespace

QByteArray encodeBmp(const Picture &pic)
{
    if (pic.isNull())
        throw VermeoError(QStringLiteral("image vide"));
    const int w = pic.width(), h = pic.height();
    int bits = pic.depth;
    if (bits != 1 && bits != 4 && bits != 8)
        bits = 24;
    if (bits != 24 && pic.palette.isEmpty())
        bits = 24;
    const qsizetype rowSize = bmpRowSize(w, bits);
    const QList<QRgb> palette = bits == 24 ? QList<QRgb>() : fullPalette(pic.palette, bits);

    QByteArray out;
    out.reserve(54 + 4 * palette.size() + rowSize * h);
    ByteWriter wr(out);
    writeHeaders(wr, w, h, bits, int(palette.size()), rowSize);
    for (QRgb c : palette) {
        wr.u8(qBlue(c));
        wr.u8(qGreen(c));
        wr.u8(qRed(c));
        wr.u8(0);
    }
    const qsizetype start = out.size();
    out.resize(start + rowSize * h);
    uchar *dst = reinterpret_cast<uchar *>(out.data()) + start;
    std::memset(dst, 0, size_t(rowSize * h));
    PaletteIndex index(palette);
    for (int y = 0; y < h; ++y) {
        const QRgb *src = rowOf(pic.image, y);
        uchar *row = dst + rowSize * (h - 1 - y);
        switch (bits) {
        case 24:
            for (int x = 0; x < w; ++x) {
                row[3 * x] = uchar(qBlue(src[x]));
                row[3 * x + 1] = uchar(qGreen(src[x]));
                row[3 * x + 2] = uchar(qRed(src[x]));
            }
            break;
        case 8:
            for (int x = 0; x < w; ++x)
                row[x] = uchar(index.indexOf(src[x]));
            break;
        case 4:
            for (int x = 0; x < w; ++x)
                row[x >> 1] |= uchar(index.indexOf(src[x]) << ((x & 1) ? 0 : 4));
            break;
        case 1:
            for (int x = 0; x < w; ++x)
                if (index.indexOf(src[x]))
                    row[x >> 3] |= uchar(0x80 >> (x & 7));
            break;
        }
    }
    return out;
}

Picture decodeBmp(const QByteArray &data)
{
    ByteReader r(data);
    if (data.size() < 26 || data[0] != 'B' || data[1] != 'M')
        throw bad(QStringLiteral("signature absente"));
    r.skip(10);
    const uint32_t offset = r.u32();
    const uint32_t headerSize = r.u32();
    qint64 width = 0, height = 0;
    int planes = 0, bits = 0;
    uint32_t compression = 0, colorsUsed = 0;
    if (headerSize == 12) {
        width = r.u16();
        height = r.s16();
        planes = r.u16();
        bits = r.u16();
    } else if (headerSize >= 40 && headerSize <= 124) {
        width = r.s32();
        height = r.s32();
        planes = r.u16();
        bits = r.u16();
        compression = r.u32();
        r.skip(12);
        colorsUsed = r.u32();
    } else {
        throw bad(QStringLiteral("en-tête de taille %1").arg(headerSize));
    }
    if (r.failed() || qint64(14) + headerSize > data.size())
        throw bad(QStringLiteral("en-tête tronqué"));
    const bool topDown = height < 0;
    if (topDown)
        height = -height;
    if (planes != 1)
        throw bad(QStringLiteral("%1 plans").arg(planes));
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        throw bad(QStringLiteral("%1 bits par point").arg(bits));
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide || width * height > kMaxPixels)
        throw bad(QStringLiteral("taille %1 x %2").arg(width).arg(height));
    if (offset >= uint32_t(data.size()))
        throw bad(QStringLiteral("pas de données de points"));
    const qint64 available = data.size() - qint64(offset);
    const bool rle = (compression == 1 && bits == 8) || (compression == 2 && bits == 4);
    if (compression == 0 || compression == 3 || compression == 6) {
        if (compression != 0 && bits != 16 && bits != 32)
            throw bad(QStringLiteral("compression %1 sur %2 bits").arg(compression).arg(bits));
        if (bmpRowSize(width, bits) * height > available)
            throw bad(QStringLiteral("données tronquées"));
    } else if (rle) {
        if (topDown)
            throw bad(QStringLiteral("compression de haut en bas"));
        // One escape (4 bytes) can move the pen by at most 255 x 255 pixels: a picture
        // larger than that can never be backed by this many bytes.
        if (width * height > (available / 2 + 1) * 255 * 256)
            throw bad(QStringLiteral("données trop courtes pour %1 x %2").arg(width).arg(height));
    } else {
        throw bad(QStringLiteral("compression %1").arg(compression));
    }
    if (bits <= 8 && colorsUsed > (1u << bits) && headerSize != 12)
        colorsUsed = 1u << bits; // Qt takes at most 2^bits entries too

    if (compression == 0 && bits == 24) {
        // The common true-colour file, read straight into the working format.
        Picture pic;
        pic.image = newWorkingImage(int(width), int(height), qRgb(255, 255, 255));
        pic.depth = 24;
        const qsizetype stride = bmpRowSize(width, 24);
        const uchar *base = reinterpret_cast<const uchar *>(data.constData()) + offset;
        for (qint64 y = 0; y < height; ++y) {
            const uchar *src = base + stride * (topDown ? y : height - 1 - y);
            QRgb *dst = rowOf(pic.image, int(y));
            for (qint64 x = 0; x < width; ++x, src += 3)
                dst[x] = 0xFF000000u | (uint32_t(src[2]) << 16) | (uint32_t(src[1]) << 8) | src[0];
        }
        return pic;
    }

    QBuffer buf;
    buf.setData(data);
    buf.open(QIODevice::ReadOnly);
    QImageReader reader(&buf, "BMP");
    reader.setAutoTransform(false);
    QImage img = reader.read();
    if (img.isNull())
        throw bad(reader.errorString());
    if (img.width() != width || img.height() != height)
        throw bad(QStringLiteral("taille incohérente"));
    Picture pic;
    pic.image = toWorkingImage(img);
    if (pic.image.isNull())
        throw VermeoError(QStringLiteral("mémoire insuffisante"));
    pic.depth = bits;
    if (bits <= 8) {
        // The file's own palette, in its own order (Qt may reorder a 1-bit one).
        const qsizetype entry = headerSize == 12 ? 3 : 4;
        qsizetype n = headerSize == 12 || colorsUsed == 0 ? (1 << bits) : colorsUsed;
        const qsizetype at = 14 + qsizetype(headerSize) + (compression == 3 && headerSize == 40 ? 12 : 0);
        n = std::min<qsizetype>(n, (std::min<qsizetype>(offset, data.size()) - at) / entry);
        QList<QRgb> palette;
        const uchar *p = reinterpret_cast<const uchar *>(data.constData()) + at;
        for (qsizetype i = 0; i < n; ++i)
            palette.append(qRgb(p[entry * i + 2], p[entry * i + 1], p[entry * i]));
        pic.palette = fullPalette(palette.isEmpty() ? img.colorTable() : palette, bits);
    }
    return pic;
}

} // namespace vermeo::formats
