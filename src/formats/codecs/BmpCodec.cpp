#include "BmpCodec.h"
#include "ByteIO.h"
#include "DeclaredSize.h"
#include "Error.h"
#include "PaletteIndex.h"
#include "Parallel.h"
#include "QtCodecs.h"
#include "Truncation.h"

#include <cstring>
#include <future>
#include <vector>

namespace vermeo::formats {

namespace {
VermeoError bad(const QString &why) { return VermeoError(QStringLiteral("fichier BMP endommagé (%1)").arg(why)); }

// What the headers say, checked against the file's size.
struct BmpHeader {
    uint32_t offset = 0, headerSize = 0, compression = 0, colorsUsed = 0;
    qint64 width = 0, height = 0;
    int bits = 0;
    bool topDown = false;
    qint64 rowsPresent = 0; // file rows the data hold in full (uncompressed files)
    Resolution resolution;
    QList<QRgb> palette; // the file's own, in its own order
};

bool readsInBands(const BmpHeader &h) { return h.compression == 0 && h.bits != 16; }

// truncated: as for readBmp.
BmpHeader readHeader(ByteSource &src, bool *truncated = nullptr)
{
    uchar head[14 + 124] = {};
    const qint64 got = src.readSomeAt(0, head, sizeof head);
    ByteReader r(head, got);
    if (got < 26 || head[0] != 'B' || head[1] != 'M')
        throw bad(QStringLiteral("signature absente"));
    r.skip(10);
    BmpHeader h;
    h.offset = r.u32();
    h.headerSize = r.u32();
    int planes = 0;
    if (h.headerSize == 12) {
        h.width = r.u16();
        h.height = r.s16();
        planes = r.u16();
        h.bits = r.u16();
    } else if (h.headerSize >= 40 && h.headerSize <= 124) {
        h.width = r.s32();
        h.height = r.s32();
        planes = r.u16();
        h.bits = r.u16();
        h.compression = r.u32();
        r.skip(4);
        h.resolution.x = std::max(0, int(r.s32()));
        h.resolution.y = std::max(0, int(r.s32()));
        h.colorsUsed = r.u32();
    } else {
        throw bad(QStringLiteral("en-tête de taille %1").arg(h.headerSize));
    }
    if (r.failed() || qint64(14) + h.headerSize > src.size())
        throw bad(QStringLiteral("en-tête tronqué"));
    h.topDown = h.height < 0;
    if (h.topDown)
        h.height = -h.height;
    if (planes != 1)
        throw bad(QStringLiteral("%1 plans").arg(planes));
    const int bits = h.bits;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        throw bad(QStringLiteral("%1 bits par point").arg(bits));
    if (!isHoldableSize(h.width, h.height))
        throw bad(QStringLiteral("taille %1 x %2").arg(h.width).arg(h.height));
    if (h.offset >= src.size())
        throw bad(QStringLiteral("pas de données de points"));
    const qint64 available = src.size() - qint64(h.offset);
    const bool rle = (h.compression == 1 && bits == 8) || (h.compression == 2 && bits == 4);
    if (h.compression == 0 || h.compression == 3 || h.compression == 6) {
        if (h.compression != 0 && bits != 16 && bits != 32)
            throw bad(QStringLiteral("compression %1 sur %2 bits").arg(h.compression).arg(bits));
        h.rowsPresent = std::min<qint64>(h.height, available / bmpRowSize(h.width, bits));
        if (h.rowsPresent < h.height) {
            // A picture far larger than its data is no file cut short: nothing of it is
            // made. Only the layouts read by rows can give the rows that are there.
            if (!compressedFileCouldHold(h.width, h.height, available))
                throw bad(QStringLiteral("données trop courtes pour %1 x %2").arg(h.width).arg(h.height));
            if (!readsInBands(h) || h.rowsPresent == 0)
                throw VermeoError(truncatedReason());
            endedEarly(truncated);
        }
    } else if (rle) {
        if (h.topDown)
            throw bad(QStringLiteral("compression de haut en bas"));
        // A run gives at most 255 pixels for 2 bytes; escapes can skip any area, but a
        // picture far larger than its runs could fill is no real file and would only cost
        // memory and time.
        if (h.width * h.height > available * 256 + (16LL << 20))
            throw bad(QStringLiteral("données trop courtes pour %1 x %2").arg(h.width).arg(h.height));
    } else {
        throw bad(QStringLiteral("compression %1").arg(h.compression));
    }
    if (bits <= 8) {
        if (h.colorsUsed > (1u << bits) && h.headerSize != 12)
            h.colorsUsed = 1u << bits; // Qt takes at most 2^bits entries too
        const qsizetype entry = h.headerSize == 12 ? 3 : 4;
        const qint64 at = 14 + qint64(h.headerSize) + (h.compression == 3 && h.headerSize == 40 ? 12 : 0);
        qint64 n = h.headerSize == 12 || h.colorsUsed == 0 ? (1 << bits) : h.colorsUsed;
        n = std::max<qint64>(0, std::min<qint64>(n, (qint64(h.offset) - at) / entry));
        std::vector<uchar> p(size_t(n * entry));
        if (n > 0)
            src.readAt(at, p.data(), n * entry);
        for (qint64 i = 0; i < n; ++i)
            h.palette.append(qRgb(p[entry * i + 2], p[entry * i + 1], p[entry * i]));
    }
    return h;
}

// Uncompressed rows, read a band at a time: a band of picture rows is one run of file
// rows, reversed in a bottom-up file.
class BmpRowReader : public RowReader {
public:
    BmpRowReader(std::shared_ptr<ByteSource> src, const BmpHeader &h) : m_src(std::move(src)), m_h(h)
    {
        m_shape.width = int(h.width);
        m_shape.height = int(h.height);
        m_shape.depth = h.bits == 32 ? 32 : h.bits;
        m_shape.resolution = h.resolution;
        if (h.bits <= 8) {
            m_shape.palette = fullPalette(h.palette, h.bits);
            for (int i = 0; i < 256; ++i)
                m_lut[i] = i < m_shape.palette.size() ? m_shape.palette[i] | 0xFF000000u : 0xFF000000u;
        }
        m_stride = bmpRowSize(h.width, h.bits);
    }

    void readRows(RowsOf<QRgb> rows, int count) override
    {
        const int w = m_shape.width, h = m_shape.height;
        const int chunk = std::max<int>(1, int((4 << 20) / m_stride));
        for (int done = 0; done < count;) {
            const int n = std::min(chunk, count - done);
            const int y0 = m_next + done;
            if (y0 + n > h)
                throw bad(QStringLiteral("lignes au-delà de l'image"));
            // File rows of picture rows y0 .. y0 + n - 1; those past a premature end
            // stay white.
            const qint64 first = m_h.topDown ? y0 : h - y0 - n;
            m_buffer.resize(size_t(n * m_stride));
            // Each band of rows is read and converted on a core of its own: the copies
            // out of the file run side by side, and the first touch of a fresh picture's
            // pages (the kernel clearing them) is shared out too.
            forBandsInParallel(n, kBandRows, [&](int i0, int i1) {
                const qint64 low = m_h.topDown ? y0 + i0 : h - (y0 + i1);
                const qint64 present = std::clamp<qint64>(m_h.rowsPresent - low, 0, i1 - i0);
                uchar *at = m_buffer.data() + (low - first) * m_stride;
                if (present > 0)
                    m_src->readAt(m_h.offset + low * m_stride, at, present * m_stride);
                for (int i = i0; i < i1; ++i) {
                    const qint64 fileRow = m_h.topDown ? y0 + i : h - 1 - (y0 + i);
                    if (fileRow >= m_h.rowsPresent) {
                        std::fill_n(rows[done + i], w, 0xFFFFFFFFu);
                        continue;
                    }
                    convertRow(m_buffer.data() + (fileRow - first) * m_stride, rows[done + i], w);
                }
            });
            done += n;
        }
        m_next += count;
    }

private:
    void convertRow(const uchar *s, QRgb *d, int w) const
    {
        switch (m_h.bits) {
        case 24: bgrToPixels(s, d, w); break;
        case 32: // BGRX: the fourth byte is no alpha in an uncompressed file
            for (int x = 0; x < w; ++x, s += 4)
                d[x] = 0xFF000000u | (uint32_t(s[2]) << 16) | (uint32_t(s[1]) << 8) | s[0];
            break;
        case 8:
            for (int x = 0; x < w; ++x)
                d[x] = m_lut[s[x]];
            break;
        case 4:
            for (int x = 0; x < w; ++x)
                d[x] = m_lut[(s[x >> 1] >> ((x & 1) ? 0 : 4)) & 15];
            break;
        case 1:
            for (int x = 0; x < w; ++x)
                d[x] = m_lut[(s[x >> 3] >> (7 - (x & 7))) & 1];
            break;
        }
    }

    std::shared_ptr<ByteSource> m_src;
    BmpHeader m_h;
    qsizetype m_stride = 0;
    int m_next = 0;
    QRgb m_lut[256] = {};
    std::vector<uchar> m_buffer;
};

class BmpRowWriter : public RowWriter {
public:
    BmpRowWriter(ByteSink &sink, const PictureShape &s) : m_sink(sink), m_w(s.width), m_h(s.height)
    {
        m_bits = s.depth;
        if ((m_bits != 1 && m_bits != 4 && m_bits != 8) || s.palette.isEmpty())
            m_bits = 24;
        if (m_bits != 24)
            m_palette = fullPalette(s.palette, m_bits);
        m_index = std::make_unique<PaletteIndex>(m_palette);
        m_rowSize = bmpRowSize(m_w, m_bits);
        QByteArray head;
        ByteWriter w(head);
        const qint64 imageSize = m_rowSize * m_h;
        m_pixelsAt = 14 + 40 + 4 * m_palette.size();
        w.bytes("BM", 2);
        w.u32(uint32_t(m_pixelsAt + imageSize));
        w.u32(0);
        w.u32(uint32_t(m_pixelsAt));
        w.u32(40);
        w.u32(uint32_t(m_w));
        w.u32(uint32_t(m_h)); // positive: rows from the bottom up
        w.u16(1);
        w.u16(uint16_t(m_bits));
        w.u32(0);
        w.u32(uint32_t(imageSize));
        // The picture's own resolution, else 96 dpi.
        const Resolution res = s.resolution.known() ? s.resolution : Resolution{3780, 3780};
        w.u32(uint32_t(res.x));
        w.u32(uint32_t(res.y));
        w.u32(0);
        w.u32(0);
        for (QRgb c : m_palette) {
            w.u8(qBlue(c));
            w.u8(qGreen(c));
            w.u8(qRed(c));
            w.u8(0);
        }
        m_sink.write(head);
    }

    ~BmpRowWriter() override
    {
        // A write still under way reads a buffer about to go.
        if (m_pending.valid())
            m_pending.wait();
    }

    void writeRows(RowsOf<const QRgb> rows, int count) override
    {
        if (m_next + count > m_h)
            throw VermeoError(QStringLiteral("lignes au-delà de l'image"));
        // Two buffers in turn: this band is packed while the one before is still being
        // written, on a thread of its own.
        std::vector<uchar> &buffer = m_buffers[m_turn];
        m_turn ^= 1;
        buffer.resize(size_t(count * m_rowSize));
        auto pack = [&](int i0, int i1) {
            for (int i = i0; i < i1; ++i) {
                uchar *row = buffer.data() + (count - 1 - i) * m_rowSize;
                // True colour fills every byte of its pixels: only the padding is cleared.
                const qsizetype filled = m_bits == 24 ? 3 * qsizetype(m_w) : 0;
                std::memset(row + filled, 0, size_t(m_rowSize - filled));
                packRow(rows[i], row);
            }
        };
        // True-colour rows are packed on every core; the palette index learns as it goes,
        // so palette rows are packed on one.
        if (m_bits == 24)
            forBandsInParallel(count, kBandRows, pack);
        else
            pack(0, count);
        // The write before is done (or its error thrown) before the next one starts.
        waitForWrite();
        // The band's rows lie together in the file, the lowest row first.
        const qint64 at = m_pixelsAt + qint64(m_h - m_next - count) * m_rowSize;
        m_pending = std::async(std::launch::async, [this, &buffer, at] {
            m_sink.writeAt(at, buffer.data(), qint64(buffer.size()));
        });
        m_next += count;
    }

    void finish() override { waitForWrite(); }

private:
    void packRow(const QRgb *src, uchar *row)
    {
        if (m_bits == 24)
            pixelsToBgr(src, row, m_w);
        else
            packIndices(*m_index, src, m_w, m_bits, row);
    }

    ByteSink &m_sink;
    int m_w, m_h, m_bits = 24;
    QList<QRgb> m_palette;
    std::unique_ptr<PaletteIndex> m_index;
    qsizetype m_rowSize = 0;
    qint64 m_pixelsAt = 0;
    int m_next = 0;
    std::vector<uchar> m_buffers[2];
    int m_turn = 0;
    std::future<void> m_pending;

    void waitForWrite()
    {
        if (m_pending.valid())
            m_pending.get();
    }
};

} // namespace

std::unique_ptr<RowWriter> bmpWriter(ByteSink &sink, const PictureShape &shape)
{
    return std::make_unique<BmpRowWriter>(sink, shape);
}

QByteArray encodeBmp(const Picture &pic) { return encodeWhole(pic, bmpWriter); }

std::unique_ptr<RowReader> bmpReader(std::shared_ptr<ByteSource> source)
{
    const BmpHeader h = readHeader(*source);
    if (!readsInBands(h))
        return nullptr;
    return std::make_unique<BmpRowReader>(std::move(source), h);
}

Picture readBmp(std::shared_ptr<ByteSource> source, bool *truncated)
{
    const BmpHeader h = readHeader(*source, truncated);
    Picture pic;
    if (readsInBands(h)) {
        BmpRowReader reader(std::move(source), h);
        pic.image = readAllRows(reader);
        pic.depth = reader.shape().depth;
        pic.palette = reader.shape().palette;
        pic.resolution = h.resolution;
        return pic;
    }
    // Compressed and bit-field files: Qt's reader, on the whole (bounded) file.
    QByteArray data(source->size(), Qt::Uninitialized);
    source->readAt(0, bytesOf(data), data.size());
    const QImage img = decodeWithQt(data, "BMP", QStringLiteral("BMP"));
    if (img.width() != h.width || img.height() != h.height)
        throw bad(QStringLiteral("taille incohérente"));
    pic.image = toWorkingImage(img);
    if (pic.image.isNull())
        throw VermeoError(QStringLiteral("mémoire insuffisante"));
    pic.depth = h.bits;
    pic.resolution = h.resolution;
    if (h.bits <= 8)
        pic.palette = fullPalette(h.palette.isEmpty() ? img.colorTable() : h.palette, h.bits);
    return pic;
}

bool bmpPixelLayout(ByteSource &source, BmpPixelLayout &layout)
{
    bool truncated = false;
    const BmpHeader h = readHeader(source, &truncated);
    // Pixels said to start inside the headers are left to the general reader.
    if (truncated || h.compression != 0 || (h.bits != 24 && h.bits != 32) || h.rowsPresent < h.height ||
        h.offset < 14 + h.headerSize)
        return false;
    layout.offset = h.offset;
    layout.rowSize = bmpRowSize(h.width, h.bits);
    layout.width = int(h.width);
    layout.height = int(h.height);
    layout.bits = h.bits;
    layout.topDown = h.topDown;
    return true;
}

PictureShape bmpFileShape(std::shared_ptr<ByteSource> source)
{
    const BmpHeader h = readHeader(*source);
    if (!readsInBands(h))
        return shapeOf(readBmp(std::move(source))); // compressed data: only decoding tells their end
    return BmpRowReader(std::move(source), h).shape();
}

Picture decodeBmp(const QByteArray &data, bool *truncated)
{
    return readBmp(std::make_shared<ArraySource>(data), truncated);
}

} // namespace vermeo::formats
