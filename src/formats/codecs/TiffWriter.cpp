#include "TiffWriter.h"
#include "ByteIO.h"
#include "Error.h"
#include "PaletteIndex.h"

#include <cstring>
#include <vector>

namespace vermeo::formats {

namespace {
enum TiffType : uint16_t { tAscii = 2, tShort = 3, tLong = 4, tRational = 5 };

enum TiffTag : uint16_t {
    NewSubfileType = 254,
    ImageWidth = 256,
    ImageLength = 257,
    BitsPerSample = 258,
    Compression = 259,
    Photometric = 262,
    StripOffsets = 273,
    SamplesPerPixel = 277,
    RowsPerStrip = 278,
    StripByteCounts = 279,
    XResolution = 282,
    YResolution = 283,
    PlanarConfiguration = 284,
    ResolutionUnit = 296,
    Software = 305,
    ColorMap = 320
};

struct Entry {
    uint16_t tag, type;
    uint32_t count, value;
};

// ASCII values end in NUL, and their count includes it.
constexpr char kSoftware[] = "Brumelinor";
constexpr uint32_t kSoftwareCount = sizeof kSoftware;

// Sizes above 65535 do not fit a short; those are written as longs.
uint16_t sizeType(int v) { return v > 65535 ? tLong : tShort; }

bool isBlackAndWhite(const QList<QRgb> &p)
{
    const QRgb a = p[0] & 0xFFFFFFu, b = p[1] & 0xFFFFFFu;
    return (a == 0 && b == 0xFFFFFFu) || (a == 0xFFFFFFu && b == 0);
}

// Uncompressed, little-endian, one strip: the front matter and the rows are written in
// order, the directory after them.
class TiffRowWriter : public RowWriter {
public:
    TiffRowWriter(ByteSink &sink, const PictureShape &s) : m_sink(sink), m_w(s.width), m_h(s.height)
    {
        m_bits = s.depth;
        if ((m_bits != 1 && m_bits != 4 && m_bits != 8) || s.palette.isEmpty())
            m_bits = 24;
        if (m_bits != 24)
            m_palette = fullPalette(s.palette, m_bits);
        m_index = std::make_unique<PaletteIndex>(m_palette);
        // Black and white stays a bilevel file, readable everywhere; other two-colour
        // pictures keep their colours in a two-entry palette.
        m_bilevel = m_bits == 1 && isBlackAndWhite(m_palette);
        m_invert = m_bilevel && qGray(m_palette[0]) > qGray(m_palette[1]);
        m_rowBytes = m_bits == 24 ? qsizetype(m_w) * 3 : (qsizetype(m_w) * m_bits + 7) / 8;

        QByteArray head;
        ByteWriter w(head);
        w.bytes("II", 2);
        w.u16(42);
        w.u32(8);
        if (m_bits != 24 && !m_bilevel) {
            // Each 8-bit component becomes 16 bits as the format reads them: 255 is 65535.
            for (int shift : {16, 8, 0})
                for (QRgb c : m_palette)
                    w.u16(uint16_t(((c >> shift) & 0xFF) * 257));
        }
        // Dots per inch: pixels per metre x 254 / 10000 exactly, else 87.7.
        m_xres = uint32_t(head.size());
        s.resolution.known() ? (w.u32(uint32_t(s.resolution.x) * 254), w.u32(10000)) : (w.u32(877), w.u32(10));
        m_yres = uint32_t(head.size());
        s.resolution.known() ? (w.u32(uint32_t(s.resolution.y) * 254), w.u32(10000)) : (w.u32(877), w.u32(10));
        if (m_bits == 24) {
            m_bps = uint32_t(head.size());
            w.u16(8);
            w.u16(8);
            w.u16(8);
        }
        m_soft = uint32_t(head.size());
        w.bytes(kSoftware, kSoftwareCount);
        m_pixelsAt = uint32_t(head.size());
        m_sink.write(head);
    }

    void writeRows(RowsOf<const QRgb> rows, int count) override
    {
        m_buffer.assign(size_t(count * m_rowBytes), 0);
        for (int i = 0; i < count; ++i)
            packRow(rows[i], m_buffer.data() + i * m_rowBytes);
        m_sink.write(m_buffer.data(), qint64(m_buffer.size()));
    }

    void finish() override
    {
        const uint32_t bytes = uint32_t(m_rowBytes * m_h);
        std::vector<Entry> dir = {
            {NewSubfileType, tLong, 1, 0},
            {ImageWidth, sizeType(m_w), 1, uint32_t(m_w)},
            {ImageLength, sizeType(m_h), 1, uint32_t(m_h)},
            m_bits == 24 ? Entry{BitsPerSample, tShort, 3, m_bps} : Entry{BitsPerSample, tShort, 1, uint32_t(m_bits)},
            {Compression, tShort, 1, 1},
            // RGB, black is zero, or palette colour
            {Photometric, tShort, 1,
             uint32_t(m_bits == 24 ? 2
                      : m_bilevel  ? 1
                                   : 3)},
            {StripOffsets, tLong, 1, m_pixelsAt},
            {SamplesPerPixel, tShort, 1, uint32_t(m_bits == 24 ? 3 : 1)},
            {RowsPerStrip, tLong, 1, uint32_t(m_h)},
            {StripByteCounts, tLong, 1, bytes},
            {XResolution, tRational, 1, m_xres},
            {YResolution, tRational, 1, m_yres},
        };
        if (m_bits == 24)
            dir.push_back({PlanarConfiguration, tShort, 1, 1});
        dir.push_back({ResolutionUnit, tShort, 1, 2});
        dir.push_back({Software, tAscii, kSoftwareCount, m_soft});
        if (m_bits != 24 && !m_bilevel)
            dir.push_back({ColorMap, tShort, uint32_t(3 << m_bits), 8});

        // The directory starts on a word boundary: a zero byte after odd-sized rows.
        QByteArray out;
        if (m_sink.pos() % 2)
            out.append('\0');
        const uint32_t at = uint32_t(m_sink.pos() + out.size());
        ByteWriter w(out);
        w.u16(uint16_t(dir.size()));
        for (const Entry &e : dir) {
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
        m_sink.write(out);
        uchar offset[4] = {uchar(at), uchar(at >> 8), uchar(at >> 16), uchar(at >> 24)};
        m_sink.writeAt(4, offset, 4);
    }

private:
    void packRow(const QRgb *src, uchar *row)
    {
        if (m_bits != 24) {
            packIndices(*m_index, src, m_w, m_bits, row, m_invert);
            return;
        }
        for (int x = 0; x < m_w; ++x, row += 3) {
            const QRgb c = src[x];
            row[0] = uchar(c >> 16);
            row[1] = uchar(c >> 8);
            row[2] = uchar(c);
        }
    }

    ByteSink &m_sink;
    int m_w, m_h, m_bits = 24;
    bool m_bilevel = false, m_invert = false;
    QList<QRgb> m_palette;
    std::unique_ptr<PaletteIndex> m_index;
    qsizetype m_rowBytes = 0;
    uint32_t m_xres = 0, m_yres = 0, m_bps = 0, m_soft = 0, m_pixelsAt = 0;
    std::vector<uchar> m_buffer;
};
} // namespace

std::unique_ptr<RowWriter> tiffWriter(ByteSink &sink, const PictureShape &shape)
{
    return std::make_unique<TiffRowWriter>(sink, shape);
}

QByteArray encodeTiff(const Picture &pic) { return encodeWhole(pic, tiffWriter); }

} // namespace vermeo::formats
