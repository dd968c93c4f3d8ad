#pragma once
// Maps working (RGB32) pixels back to the index of a declared palette, as a palette
// bitmap stores them. Colours drawn since loading need not be in the palette; they
// take the nearest entry, like drawing on a palette bitmap does.
#include <QList>
#include <QRgb>
#include <unordered_map>
#include <vector>

namespace vermeo::formats {

class PaletteIndex {
public:
    explicit PaletteIndex(const QList<QRgb> &palette);
    int indexOf(QRgb c);

private:
    QList<QRgb> m_palette;
    std::unordered_map<QRgb, int> m_cache;
    // Colours met lately, by a hash of their value, in front of the map: an empty slot
    // (alpha 0) never equals a looked-up colour (alpha 255).
    struct Recent {
        QRgb colour = 0;
        int index = 0;
    };
    std::vector<Recent> m_recent = std::vector<Recent>(4096);
};

// One row of palette indices packed at 8, 4 or 1 bits a pixel, the leftmost pixel in
// the high bits; row starts zeroed. flipOnes writes 1-bit rows with 0 and 1 swapped.
void packIndices(PaletteIndex &index, const QRgb *src, int width, int bits, uchar *row, bool flipOnes = false);

// The palette a picture of this depth is written with: the declared one, cut or
// padded with black to 2^depth entries.
QList<QRgb> fullPalette(const QList<QRgb> &declared, int depth);

} // namespace vermeo::formats
