#include "PngWriter.h"
#include "Error.h"
#include "PaletteIndex.h"
#include "Parallel.h"
#include "PixelRows.h"

#include <algorithm>
#include <memory>
#include <vector>
#include <zlib.h>

namespace vermeo::formats {

namespace {
constexpr int kLevel = 6;
// Raw bytes deflated per block: large enough that the dictionary carried over costs
// little, small enough that both cores get many blocks.
constexpr long long kBlockBytes = 1 << 20;
constexpr int kWindow = 32768;
// 96 dots per inch, in dots per metre.
constexpr int kDefaultDotsPerMetre = 3780;

void putU32(QByteArray &out, uint32_t v)
{
    const char b[4] = {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
    out.append(b, 4);
}

void putChunk(QByteArray &out, const char *type, const QByteArray &data)
{
    putU32(out, uint32_t(data.size()));
    const qsizetype start = out.size();
    out.append(type, 4);
    out.append(data);
    putU32(out, uint32_t(crc32(0, reinterpret_cast<const Bytef *>(out.constData() + start), uInt(out.size() - start))));
}

bool isPaletteDepth(const Picture &pic)
{
    return (pic.depth == 1 || pic.depth == 4 || pic.depth == 8) && !pic.palette.isEmpty();
}

// The scan lines as PNG stores them: a filter byte (0, none) then the row's samples.
class ScanLines {
public:
    explicit ScanLines(const Picture &pic)
        : m_pic(pic),
          m_bits(isPaletteDepth(pic) ? pic.depth : 24),
          m_palette(m_bits == 24 ? QList<QRgb>() : fullPalette(pic.palette, pic.depth)),
          m_rowBytes(1 + (qsizetype(pic.width()) * m_bits + 7) / 8)
    {
    }
    int bits() const { return m_bits; }
    const QList<QRgb> &palette() const { return m_palette; }
    qsizetype rowBytes() const { return m_rowBytes; }

    // Rows [y0, y1) appended to out; index is this thread's own.
    void append(int y0, int y1, std::vector<uchar> &out, PaletteIndex *index) const
    {
        const RowsOf<const QRgb> rows = rowsOf(m_pic.image);
        const int w = m_pic.width();
        for (int y = y0; y < y1; ++y) {
            const size_t at = out.size();
            out.resize(at + size_t(m_rowBytes), 0);
            uchar *dst = out.data() + at + 1;
            const QRgb *src = rows[y];
            if (m_bits == 24) {
                for (int x = 0; x < w; ++x, dst += 3) {
                    dst[0] = uchar(qRed(src[x]));
                    dst[1] = uchar(qGreen(src[x]));
                    dst[2] = uchar(qBlue(src[x]));
                }
            } else {
                packIndices(*index, src, w, m_bits, dst);
            }
        }
    }

private:
    const Picture &m_pic;
    int m_bits;
    QList<QRgb> m_palette;
    qsizetype m_rowBytes;
};

struct Block {
    QByteArray deflated;
    uLong adler = 1;
    uLong length = 0;
};

// Rows [y0, y1) as raw deflate, primed with the 32 KB of scan lines before y0 so that
// the joined stream reads as one; every block but the last ends on a byte boundary.
Block deflateRows(const ScanLines &lines, int y0, int y1, bool last)
{
    std::unique_ptr<PaletteIndex> index;
    if (lines.bits() != 24)
        index = std::make_unique<PaletteIndex>(lines.palette());
    const int before = std::min<int>(y0, int((kWindow + lines.rowBytes() - 1) / lines.rowBytes()));
    std::vector<uchar> raw;
    raw.reserve(size_t(lines.rowBytes()) * size_t(y1 - y0 + before));
    lines.append(y0 - before, y1, raw, index.get());
    const size_t primed = size_t(before) * size_t(lines.rowBytes());

    Block block;
    z_stream z{};
    if (deflateInit2(&z, kLevel, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        throw VermeoError(QStringLiteral("écriture PNG impossible"));
    const size_t dict = std::min<size_t>(primed, kWindow);
    if (dict > 0)
        deflateSetDictionary(&z, raw.data() + primed - dict, uInt(dict));
    const size_t length = raw.size() - primed;
    block.deflated.resize(qsizetype(deflateBound(&z, uLong(length)) + 16));
    z.next_in = raw.data() + primed;
    z.avail_in = uInt(length);
    z.next_out = reinterpret_cast<Bytef *>(block.deflated.data());
    z.avail_out = uInt(block.deflated.size());
    const int rc = deflate(&z, last ? Z_FINISH : Z_SYNC_FLUSH);
    const bool ok = last ? rc == Z_STREAM_END : rc == Z_OK && z.avail_in == 0;
    block.deflated.resize(qsizetype(z.total_out));
    deflateEnd(&z);
    if (!ok)
        throw VermeoError(QStringLiteral("écriture PNG impossible"));
    block.adler = adler32(1, raw.data() + primed, uInt(length));
    block.length = uLong(length);
    return block;
}
} // namespace

QByteArray encodePng(const Picture &pic)
{
    if (pic.isNull())
        throw VermeoError(QStringLiteral("image vide"));
    const ScanLines lines(pic);
    const int h = pic.height();
    const int bandRows = int(std::clamp<long long>(kBlockBytes / lines.rowBytes(), 1, h));
    const int blocks = (h + bandRows - 1) / bandRows;
    std::vector<Block> deflated(static_cast<size_t>(blocks));
    forBandsInParallel(blocks, 1, [&](int b0, int b1) {
        for (int b = b0; b < b1; ++b)
            deflated[size_t(b)] = deflateRows(lines, b * bandRows, std::min(h, (b + 1) * bandRows), b == blocks - 1);
    });

    QByteArray out("\x89PNG\r\n\x1a\n", 8);
    QByteArray header;
    putU32(header, uint32_t(pic.width()));
    putU32(header, uint32_t(h));
    // Bit depth, colour type (3 palette, 2 RGB), deflate, filter method 0, no interlace.
    header.append(char(lines.bits() == 24 ? 8 : lines.bits()));
    header.append(char(lines.bits() == 24 ? 2 : 3));
    header.append(3, '\0');
    putChunk(out, "IHDR", header);
    if (lines.bits() != 24) {
        QByteArray plte;
        for (QRgb c : lines.palette())
            plte.append(char(qRed(c))).append(char(qGreen(c))).append(char(qBlue(c)));
        putChunk(out, "PLTE", plte);
    }
    QByteArray phys;
    putU32(phys, uint32_t(pic.resolution.known() ? pic.resolution.x : kDefaultDotsPerMetre));
    putU32(phys, uint32_t(pic.resolution.known() ? pic.resolution.y : kDefaultDotsPerMetre));
    phys.append(char(1)); // unit: the metre
    putChunk(out, "pHYs", phys);
    // The zlib header of level 6 (0x78 0x9C), the blocks in order, then the Adler-32 of all.
    uLong adler = 1;
    for (size_t b = 0; b < deflated.size(); ++b) {
        QByteArray data = b == 0 ? QByteArray("\x78\x9C", 2) : QByteArray();
        data.append(deflated[b].deflated);
        adler = adler32_combine(adler, deflated[b].adler, z_off_t(deflated[b].length));
        if (b + 1 == deflated.size())
            putU32(data, uint32_t(adler));
        putChunk(out, "IDAT", data);
        deflated[b].deflated = QByteArray();
    }
    putChunk(out, "IEND", {});
    return out;
}

} // namespace vermeo::formats
