#include "PcxCodec.h"
#include "ByteIO.h"
#include "Error.h"
#include "PaletteIndex.h"
#include "Truncation.h"

#include <cmath>
#include <cstring>
#include <thread>
#include <vector>

namespace vermeo::formats {

namespace {
VermeoError refuse(const QString &why) { return VermeoError(QStringLiteral("fichier PCX refusé (%1)").arg(why)); }

// The 16 colours of the EGA, for planar files whose colour map is left empty.
constexpr QRgb kEgaColours[16] = {0xFF000000, 0xFF0000AA, 0xFF00AA00, 0xFF00AAAA, 0xFFAA0000, 0xFFAA00AA,
                                  0xFFAA5500, 0xFFAAAAAA, 0xFF555555, 0xFF5555FF, 0xFF55FF55, 0xFF55FFFF,
                                  0xFFFF5555, 0xFFFF55FF, 0xFFFFFF55, 0xFFFFFFFF};

struct PcxLayout {
    int code = pcxUnknown;
    int depth = 0;       // declared depth of the picture
    QList<QRgb> palette; // indexed layouts
};

QList<QRgb> headerMap(const uchar *h, int n)
{
    QList<QRgb> p;
    for (int i = 0; i < n; ++i)
        p.append(qRgb(h[16 + 3 * i], h[17 + 3 * i], h[18 + 3 * i]));
    return p;
}

// A colour map whose entries are all alike holds no colours: the writer left it empty.
bool allAlike(const QList<QRgb> &p)
{
    for (QRgb c : p)
        if (c != p[0])
            return false;
    return true;
}

PcxLayout chooseLayout(const uchar *h, ByteSource &src)
{
    const int bits = h[3];
    const int planes = h[65];
    const int kind = le16(h + 68);
    PcxLayout l;
    if (planes == 1 && bits == 1) {
        l.depth = 1;
        l.palette = headerMap(h, 2);
        if (kind == 1 && !allAlike(l.palette)) {
            l.code = pcxMonoPalette;
        } else {
            l.code = pcxMonoGrey;
            l.palette = {qRgb(0, 0, 0), qRgb(255, 255, 255)};
        }
    } else if (planes == 1 && bits == 4) {
        l.depth = 4;
        if (kind == 2) {
            l.code = pcx16Grey;
            for (int i = 0; i < 16; ++i)
                l.palette.append(qRgb(16 * i, 16 * i, 16 * i));
        } else {
            l.code = pcx16Palette;
            l.palette = headerMap(h, 16);
        }
    } else if ((planes == 1 && bits == 2) || (planes >= 2 && planes <= 4 && bits == 1)) {
        // 4, 8 or 16 colours from the header's colour map.
        const int n = 1 << (planes * bits);
        l.depth = 4;
        l.code = pcx16Palette;
        l.palette = headerMap(h, n);
        if (allAlike(l.palette))
            l.palette = QList<QRgb>(kEgaColours, kEgaColours + n);
    } else if (planes == 1 && bits == 8) {
        l.depth = 8;
        uchar block[769];
        if (src.size() < 128 + 769)
            throw refuse(QStringLiteral("palette absente"));
        src.readAt(src.size() - 769, block, 769);
        if (block[0] != 12)
            throw refuse(QStringLiteral("bloc de palette sans l'octet 12"));
        l.code = kind == 2 ? pcx256Grey : pcx256Palette;
        for (int i = 0; i < 256; ++i)
            l.palette.append(kind == 2 ? qRgb(i, i, i) : qRgb(block[1 + 3 * i], block[2 + 3 * i], block[3 + 3 * i]));
    } else if ((planes == 3 || planes == 4) && bits == 8) {
        l.code = pcxTrueColour;
        l.depth = 24;
    } else {
        throw refuse(QStringLiteral("%1 plan(s) de %2 bits").arg(planes).arg(bits));
    }
    return l;
}

// The header's dots per inch as pixels per metre; nothing when either is 0.
Resolution pcxResolution(int dpiX, int dpiY)
{
    if (dpiX <= 0 || dpiY <= 0)
        return {};
    return {int(std::lround(dpiX / 0.0254)), int(std::lround(dpiY / 0.0254))};
}

uint16_t dotsPerInch(int perMetre) { return uint16_t(std::clamp<long>(std::lround(perMetre * 0.0254), 1, 65535)); }

class PcxRowReader : public RowReader {
public:
    PcxRowReader(std::shared_ptr<ByteSource> src, int *format, bool *truncated = nullptr)
        : m_src(std::move(src)),
          m_truncated(truncated)
    {
        uchar h[128];
        if (m_src->size() < 128)
            throw refuse(QStringLiteral("en-tête incomplet"));
        m_src->readAt(0, h, 128);
        if (h[0] != 10)
            throw refuse(QStringLiteral("signature absente"));
        if (h[1] < 1 || h[1] > 5)
            throw refuse(QStringLiteral("version %1").arg(h[1]));
        if (h[2] > 1)
            throw refuse(QStringLiteral("codage %1").arg(h[2]));
        if (h[64] != 0)
            throw refuse(QStringLiteral("octet réservé non nul"));
        if (le16(h + 68) > 2)
            throw refuse(QStringLiteral("type de palette %1").arg(le16(h + 68)));
        m_rle = h[2] == 1;
        m_bits = h[3];
        m_planes = h[65];
        const PcxLayout layout = chooseLayout(h, *m_src);
        const int xmin = le16(h + 4), ymin = le16(h + 6), xmax = le16(h + 8), ymax = le16(h + 10);
        const qint64 width = xmax >= xmin ? xmax - xmin + 1 : xmax - xmin + 1 + 65536;
        const qint64 height = ymax >= ymin ? ymax - ymin + 1 : ymax - ymin + 1 + 65536;
        m_bpl = le16(h + 66);
        if (m_bpl == 0)
            throw refuse(QStringLiteral("lignes de 0 octet"));
        if (!isHoldableSize(width, height))
            throw refuse(QStringLiteral("taille %1 x %2").arg(width).arg(height));
        // A line a little short of the width is tolerated (its last pixels read as index
        // 0); far shorter, every byte of the file would cost thousands of pixels.
        if (qint64(m_bpl) * 8 / m_bits + 16 < width)
            throw refuse(QStringLiteral("lignes de %1 octets pour %2 points").arg(m_bpl).arg(width));
        // The coded data stop where the 8-bit palette block begins.
        m_end = layout.depth == 8 ? m_src->size() - 769 : m_src->size();
        const qint64 coded = m_end - 128;
        // At most 63 bytes come out of every two bytes in: a larger picture cannot be in
        // this file, so refuse it before allocating anything.
        const qint64 needed = height * m_planes * m_bpl;
        if (needed > (m_rle ? (coded / 2) * 63 + (coded % 2) : coded))
            throw refuse(QStringLiteral("données trop courtes pour %1 x %2").arg(width).arg(height));
        m_shape = {int(width), int(height), layout.depth, layout.palette, pcxResolution(le16(h + 12), le16(h + 14))};
        for (int i = 0; i < 256; ++i)
            m_lut[i] = i < layout.palette.size() ? layout.palette[i] | 0xFF000000u : 0xFF000000u;
        m_line.resize(size_t(m_planes * m_bpl));
        m_in.resize(65535);
        m_pos = 128;
        if (format)
            *format = layout.code;
    }

    void readRows(RowsOf<QRgb> rows, int count) override
    {
        for (int i = 0; i < count; ++i, ++m_row) {
            if (m_row >= m_shape.height)
                throw refuse(QStringLiteral("lignes au-delà de l'image"));
            // Lines past a premature end stay white.
            if (!m_ended)
                fillLine();
            if (m_ended)
                std::fill_n(rows[i], m_shape.width, 0xFFFFFFFFu);
            else
                convertLine(rows[i]);
        }
    }

    // The coded lines of every row, walked without making pixels.
    void skipAllRows()
    {
        for (; m_row < m_shape.height && !m_ended; ++m_row)
            fillLine();
    }

private:
    uchar nextByte()
    {
        if (m_at == m_have) {
            const qint64 n =
                m_src->readSomeAt(m_pos, m_in.data(), std::min<qint64>(qint64(m_in.size()), m_end - m_pos));
            if (n <= 0) {
                endedEarly(m_truncated);
                m_ended = true;
                return 0;
            }
            m_pos += n;
            m_have = n;
            m_at = 0;
        }
        return m_in[size_t(m_at++)];
    }

    // One line of every plane; runs may continue across plane and line ends.
    void fillLine()
    {
        uchar *o = m_line.data();
        uchar *const end = o + m_line.size();
        while (o < end && !m_ended) {
            if (m_runLeft == 0) {
                uchar v = nextByte();
                if (m_ended)
                    break;
                if (m_rle && v >= 192) {
                    m_runLeft = v & 63;
                    m_runValue = nextByte();
                    continue;
                }
                *o++ = v;
                continue;
            }
            const qint64 n = std::min<qint64>(m_runLeft, end - o);
            std::memset(o, m_runValue, size_t(n));
            o += n;
            m_runLeft -= int(n);
        }
    }

    // Pixel x of one plane line, of the given bits.
    static int sample(const uchar *plane, int x, int bits)
    {
        const int perByte = 8 / bits;
        const int shift = 8 - bits * (x % perByte + 1);
        return (plane[x / perByte] >> shift) & ((1 << bits) - 1);
    }

    void convertLine(QRgb *d) const
    {
        const int w = m_shape.width;
        const uchar *line = m_line.data();
        // Pixels beyond what a short line holds read as zero.
        const qint64 have = qint64(m_bpl) * 8 / m_bits;
        const int n = int(std::min<qint64>(w, have));
        if (m_bits == 8 && m_planes == 1) {
            for (int x = 0; x < n; ++x)
                d[x] = m_lut[line[x]];
        } else if (m_bits == 8) {
            const uchar *r = line, *g = line + m_bpl, *b = line + 2 * m_bpl, *a = line + 3 * m_bpl;
            for (int x = 0; x < n; ++x) {
                if (m_planes == 4 && a[x] != 255) {
                    // Transparent areas become the white background, as on a fresh picture.
                    const int al = a[x];
                    d[x] = qRgb((r[x] * al + 255 * (255 - al)) / 255, (g[x] * al + 255 * (255 - al)) / 255,
                                (b[x] * al + 255 * (255 - al)) / 255);
                } else {
                    d[x] = qRgb(r[x], g[x], b[x]);
                }
            }
        } else if (m_planes == 1) {
            for (int x = 0; x < n; ++x)
                d[x] = m_lut[sample(line, x, m_bits)];
        } else {
            // Planar: plane p gives bit p of the colour index.
            for (int x = 0; x < n; ++x) {
                int index = 0;
                for (int p = 0; p < m_planes; ++p)
                    index |= sample(line + p * m_bpl, x, 1) << p;
                d[x] = m_lut[index];
            }
        }
        for (int x = n; x < w; ++x)
            d[x] = m_lut[0];
    }

    std::shared_ptr<ByteSource> m_src;
    bool *m_truncated = nullptr;
    bool m_ended = false;
    bool m_rle = true;
    int m_bits = 8, m_planes = 1, m_bpl = 0;
    qint64 m_end = 0, m_pos = 0, m_have = 0, m_at = 0;
    int m_row = 0;
    int m_runLeft = 0;
    uchar m_runValue = 0;
    QRgb m_lut[256] = {};
    std::vector<uchar> m_in, m_line;
};

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

// One plane line coded at o; runs never continue into the next plane line.
uchar *encodePlaneLine(uchar *o, const uchar *bytes, qsizetype n)
{
    qsizetype i = 0;
    while (i < n) {
        const uchar v = bytes[i];
        qsizetype j = i + 1;
        while (j < n && bytes[j] == v)
            ++j;
        o = emitRun(o, int(j - i), v);
        i = j;
    }
    return o;
}

class PcxRowWriter : public RowWriter {
public:
    PcxRowWriter(ByteSink &sink, const PictureShape &s) : m_sink(sink), m_w(s.width)
    {
        if (s.width > 65536 || s.height > 65536)
            throw VermeoError(QStringLiteral("image trop grande pour le format PCX (65 536 points au plus)"));
        int bits = s.depth;
        if ((bits != 1 && bits != 4 && bits != 8) || s.palette.isEmpty())
            bits = 24;
        m_planes = bits == 24 ? 3 : 1;
        m_planeBits = bits == 24 ? 8 : bits;
        if (bits != 24)
            m_palette = fullPalette(s.palette, bits);
        m_index = std::make_unique<PaletteIndex>(m_palette);
        m_bpl = (qsizetype(s.width) * m_planeBits + 7) / 8;
        m_bpl += m_bpl & 1;

        QByteArray head;
        ByteWriter w(head);
        w.u8(10);
        w.u8(5);
        w.u8(1);
        w.u8(uint8_t(m_planeBits));
        w.u16(0);
        w.u16(0);
        w.u16(uint16_t(s.width - 1));
        w.u16(uint16_t(s.height - 1));
        // The header holds dots per inch: the picture's own, else 96.
        w.u16(s.resolution.known() ? dotsPerInch(s.resolution.x) : 96);
        w.u16(s.resolution.known() ? dotsPerInch(s.resolution.y) : 96);
        for (int i = 0; i < 16; ++i) {
            const QRgb c = i < m_palette.size() && bits <= 4 ? m_palette[i] : 0;
            w.u8(uint8_t(qRed(c)));
            w.u8(uint8_t(qGreen(c)));
            w.u8(uint8_t(qBlue(c)));
        }
        w.u8(0);
        w.u8(uint8_t(m_planes));
        w.u16(uint16_t(m_bpl));
        w.u16(1);
        w.zeros(128 - head.size());
        m_sink.write(head);
        m_plane.assign(size_t(m_bpl), 0);
    }

    void writeRows(RowsOf<const QRgb> rows, int count) override
    {
        // Room for the worst case: two bytes out for every byte in.
        const qsizetype room = m_planes * m_bpl * 2;
        m_out.resize(size_t(count * room));
        uchar *const first = m_out.data();
        // Lines are coded independently: half of a true-colour band goes to a second core
        // (palette lines share the palette's lookup cache and stay on this one).
        const int split = m_planes == 3 && count >= 8 && std::thread::hardware_concurrency() > 1 ? count / 2 : count;
        uchar *const second = first + split * room;
        uchar *secondEnd = second;
        std::thread helper;
        if (split < count)
            helper = std::thread([&] {
                std::vector<uchar> plane(size_t(m_bpl), 0);
                secondEnd = codeRows(rows, split, count, second, plane);
            });
        uchar *const firstEnd = codeRows(rows, 0, split, first, m_plane);
        if (helper.joinable())
            helper.join();
        m_sink.write(first, firstEnd - first);
        if (secondEnd != second)
            m_sink.write(second, secondEnd - second);
    }

    void finish() override
    {
        if (m_planeBits != 8 || m_planes != 1)
            return;
        QByteArray block;
        ByteWriter w(block);
        w.u8(12);
        for (QRgb c : m_palette) {
            w.u8(uint8_t(qRed(c)));
            w.u8(uint8_t(qGreen(c)));
            w.u8(uint8_t(qBlue(c)));
        }
        m_sink.write(block);
    }

private:
    uchar *codeRows(RowsOf<const QRgb> rows, int from, int to, uchar *o, std::vector<uchar> &plane)
    {
        for (int i = from; i < to; ++i)
            for (int p = 0; p < m_planes; ++p) {
                packPlane(rows[i], p, plane);
                o = encodePlaneLine(o, plane.data(), m_bpl);
            }
        return o;
    }

    void packPlane(const QRgb *src, int p, std::vector<uchar> &plane)
    {
        uchar *d = plane.data();
        if (m_planes == 3) {
            const int shift = 16 - 8 * p; // red, green, blue
            for (int x = 0; x < m_w; ++x)
                d[x] = uchar(src[x] >> shift);
            return;
        }
        std::fill(plane.begin(), plane.end(), 0);
        packIndices(*m_index, src, m_w, m_planeBits, d);
    }

    ByteSink &m_sink;
    int m_w;
    int m_planes = 1, m_planeBits = 8;
    qsizetype m_bpl = 0;
    QList<QRgb> m_palette;
    std::unique_ptr<PaletteIndex> m_index;
    std::vector<uchar> m_plane, m_out;
};
} // namespace

std::unique_ptr<RowReader> pcxReader(std::shared_ptr<ByteSource> source, int *format)
{
    return std::make_unique<PcxRowReader>(std::move(source), format);
}

std::unique_ptr<RowWriter> pcxWriter(ByteSink &sink, const PictureShape &shape)
{
    return std::make_unique<PcxRowWriter>(sink, shape);
}

void pcxEmitRun(QByteArray &out, int n, uchar v)
{
    const qsizetype start = out.size();
    out.resize(start + 2 * (qsizetype(n) / 63 + 1));
    uchar *const begin = bytesOf(out) + start;
    out.resize(start + (emitRun(begin, n, v) - begin));
}

Picture readPcx(std::shared_ptr<ByteSource> source, int *format, bool *truncated)
{
    PcxRowReader reader(std::move(source), format, truncated);
    Picture pic;
    pic.image = readAllRows(reader);
    pic.depth = reader.shape().depth;
    pic.resolution = reader.shape().resolution;
    pic.palette = reader.shape().depth <= 8 ? fullPalette(reader.shape().palette, reader.shape().depth) : QList<QRgb>();
    return pic;
}

PictureShape pcxFileShape(std::shared_ptr<ByteSource> source)
{
    PcxRowReader reader(std::move(source), nullptr);
    reader.skipAllRows();
    return reader.shape();
}

Picture decodePcx(const QByteArray &pcx, int *format, bool *truncated)
{
    return readPcx(std::make_shared<ArraySource>(pcx), format, truncated);
}

QByteArray encodePcx(const Picture &pic) { return encodeWhole(pic, pcxWriter); }

bool ReadPcxFile(const QString &fileName, Picture &target, int *format, QString *why)
{
    try {
        Picture p = readPcx(std::make_shared<FileSource>(fileName), format);
        target = std::move(p);
        return true;
    } catch (const VermeoError &e) {
        if (why)
            *why = e.message();
        return false;
    }
}

} // namespace vermeo::formats
