#include "PaletteIndex.h"

#include <limits>

namespace vermeo::formats {

PaletteIndex::PaletteIndex(const QList<QRgb> &palette) : m_palette(palette)
{
    // First entry wins for duplicated colours, as a palette lookup would.
    for (int i = int(m_palette.size()) - 1; i >= 0; --i)
        m_cache[m_palette[i] | 0xFF000000u] = i;
}

int PaletteIndex::indexOf(QRgb c)
{
    c |= 0xFF000000u;
    Recent &recent = m_recent[((c * 2654435761u) >> 20) & 4095];
    if (recent.colour == c)
        return recent.index;
    auto it = m_cache.find(c);
    int best = 0;
    if (it != m_cache.end()) {
        best = it->second;
    } else {
        long bestDist = std::numeric_limits<long>::max();
        for (int i = 0; i < m_palette.size(); ++i) {
            const long dr = qRed(c) - qRed(m_palette[i]);
            const long dg = qGreen(c) - qGreen(m_palette[i]);
            const long db = qBlue(c) - qBlue(m_palette[i]);
            const long d = dr * dr + dg * dg + db * db;
            if (d < bestDist) {
                bestDist = d;
                best = i;
            }
        }
        // Bounded: a drawn-on picture has few distinct off-palette colours in practice,
        // and a flood of them costs memory only up to the number of distinct pixels.
        if (m_cache.size() < 1u << 20)
            m_cache[c] = best;
    }
    recent = {c, best};
    return best;
}

QList<QRgb> fullPalette(const QList<QRgb> &declared, int depth)
{
    const int n = 1 << depth;
    QList<QRgb> p = declared.mid(0, n);
    while (p.size() < n)
        p.append(qRgb(0, 0, 0));
    return p;
}

void packIndices(PaletteIndex &index, const QRgb *src, int width, int bits, uchar *row, bool flipOnes)
{
    switch (bits) {
    case 8:
        for (int x = 0; x < width; ++x)
            row[x] = uchar(index.indexOf(src[x]));
        break;
    case 4:
        for (int x = 0; x < width; ++x)
            row[x >> 1] |= uchar(index.indexOf(src[x]) << ((x & 1) ? 0 : 4));
        break;
    case 1:
        for (int x = 0; x < width; ++x)
            if ((index.indexOf(src[x]) != 0) != flipOnes)
                row[x >> 3] |= uchar(0x80 >> (x & 7));
        break;
    }
}

} // namespace vermeo::formats
