#pragma once
// Little-endian reading and writing on byte arrays. Every read is checked against
// the bytes actually there, so a decoder cannot walk off a damaged file.
#include "Bytes.h"

#include <QByteArray>
#include <QRgb>
#include <QString>
#include <cstdint>
#include <cstring>

namespace vermeo::formats {

inline uint16_t le16(const uchar *p) { return uint16_t(p[0] | (p[1] << 8)); }
inline uint32_t le32(const uchar *p)
{
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

// Rows of B, G, R bytes (BMP order) to working pixels and back, four pixels a step
// (three little-endian words hold four pixels).
static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "the working format's byte order is little-endian");
inline void bgrToPixels(const uchar *s, QRgb *d, qsizetype w)
{
    qsizetype x = 0;
    for (; x + 4 <= w; x += 4, s += 12) {
        uint32_t a, b, c;
        std::memcpy(&a, s, 4);
        std::memcpy(&b, s + 4, 4);
        std::memcpy(&c, s + 8, 4);
        d[x] = 0xFF000000u | a;
        d[x + 1] = 0xFF000000u | (a >> 24) | (b << 8);
        d[x + 2] = 0xFF000000u | (b >> 16) | (c << 16);
        d[x + 3] = 0xFF000000u | (c >> 8);
    }
    for (; x < w; ++x, s += 3)
        d[x] = 0xFF000000u | (uint32_t(s[2]) << 16) | (uint32_t(s[1]) << 8) | s[0];
}

inline void pixelsToBgr(const QRgb *s, uchar *d, qsizetype w)
{
    qsizetype x = 0;
    for (; x + 4 <= w; x += 4, d += 12) {
        const uint32_t p0 = s[x] & 0xFFFFFFu, p1 = s[x + 1] & 0xFFFFFFu, p2 = s[x + 2] & 0xFFFFFFu,
                       p3 = s[x + 3] & 0xFFFFFFu;
        const uint32_t a = p0 | (p1 << 24), b = (p1 >> 8) | (p2 << 16), c = (p2 >> 16) | (p3 << 8);
        std::memcpy(d, &a, 4);
        std::memcpy(d + 4, &b, 4);
        std::memcpy(d + 8, &c, 4);
    }
    for (; x < w; ++x, d += 3) {
        d[0] = uchar(s[x]);
        d[1] = uchar(s[x] >> 8);
        d[2] = uchar(s[x] >> 16);
    }
}

// A colour of straight (not premultiplied) alpha laid on white, rounded: the program
// works in opaque colour, and white is a fresh picture's background.
inline QRgb laidOnWhite(unsigned r, unsigned g, unsigned b, unsigned a)
{
    const unsigned white = 255 * (255 - a) + 127;
    return qRgb(int((r * a + white) / 255), int((g * a + white) / 255), int((b * a + white) / 255));
}

// A read cursor over bytes; a read beyond the end sets failed() and returns 0.
class ByteReader {
public:
    ByteReader(const uchar *data, qsizetype size) : m_data(data), m_size(size) {}
    explicit ByteReader(const QByteArray &a) : ByteReader(bytesOf(a), a.size()) {}
    bool has(qsizetype n) const { return n >= 0 && m_pos <= m_size && m_size - m_pos >= n; }
    uint8_t u8() { return has(1) ? m_data[m_pos++] : fail<uint8_t>(1); }
    uint16_t u16()
    {
        if (!has(2))
            return fail<uint16_t>(2);
        auto v = le16(m_data + m_pos);
        m_pos += 2;
        return v;
    }
    uint32_t u32()
    {
        if (!has(4))
            return fail<uint32_t>(4);
        auto v = le32(m_data + m_pos);
        m_pos += 4;
        return v;
    }
    int16_t s16() { return int16_t(u16()); }
    int32_t s32() { return int32_t(u32()); }
    bool skip(qsizetype n)
    {
        if (!has(n)) {
            m_failed = true;
            m_pos = m_size;
            return false;
        }
        m_pos += n;
        return true;
    }
    bool seek(qsizetype p)
    {
        if (p < 0 || p > m_size) {
            m_failed = true;
            return false;
        }
        m_pos = p;
        return true;
    }
    const uchar *here() const { return m_data + m_pos; }
    qsizetype pos() const { return m_pos; }
    qsizetype size() const { return m_size; }
    qsizetype left() const { return m_size - m_pos; }
    bool failed() const { return m_failed; }

private:
    template <typename T>
    T fail(qsizetype)
    {
        m_failed = true;
        m_pos = m_size;
        return T(0);
    }
    const uchar *m_data;
    qsizetype m_size;
    qsizetype m_pos = 0;
    bool m_failed = false;
};

// Appends little-endian values to a byte array.
class ByteWriter {
public:
    explicit ByteWriter(QByteArray &out) : m_out(out) {}
    void u8(uint8_t v) { m_out.append(char(v)); }
    void u16(uint16_t v)
    {
        u8(v & 0xFF);
        u8(v >> 8);
    }
    void u32(uint32_t v)
    {
        u16(v & 0xFFFF);
        u16(v >> 16);
    }
    void bytes(const void *p, qsizetype n) { m_out.append(static_cast<const char *>(p), n); }
    void zeros(qsizetype n) { m_out.append(n, '\0'); }
    qsizetype pos() const { return m_out.size(); }
    void put16At(qsizetype at, uint16_t v)
    {
        m_out[at] = char(v & 0xFF);
        m_out[at + 1] = char(v >> 8);
    }
    void put32At(qsizetype at, uint32_t v)
    {
        put16At(at, v & 0xFFFF);
        put16At(at + 2, v >> 16);
    }

private:
    QByteArray &m_out;
};

} // namespace vermeo::formats
