#pragma once
// The 3 x 3 convolution of "Filtres". The grid's rows step along x and its columns
// along y (stored filters rely on that orientation); coefficients are hundredths.
// Each of red, green and blue is summed on its own, rounded and clamped, so no
// filter spills one channel into another.
#include "MadeRows.h"
#include "Progress.h"

#include <QImage>
#include <array>
#include <cstdint>

namespace vermeo::geometry {

// [grid row][grid column], in hundredths: Edit1 is [0][0], Edit2 [0][1], Edit4 [1][0].
using FilterCoefficients = std::array<std::array<std::int8_t, 3>, 3>;

constexpr int kCoefficientMin = -128;
constexpr int kCoefficientMax = 127;

// Centre 1, the rest 0: leaves every picture as it is.
constexpr FilterCoefficients identityFilter() { return {{{0, 0, 0}, {0, 100, 0}, {0, 0, 0}}}; }

// A value as typed, in hundredths rounded half to even, clamped to -1.28 .. 1.27
// (a value out of range would otherwise wrap round in the signed byte).
std::int8_t coefficientOf(double value);

// Round(x / 100) half to even, clamped to 0..255: the last step of each channel.
constexpr int channelFromSum(int sum)
{
    // Shifted by an even multiple of 100 so the division truncates as a floor.
    const int u = sum + 300000;
    int q = u / 100;
    const int r = u - q * 100;
    q += (r > 50) | ((r == 50) & (q & 1));
    q -= 3000;
    return q < 0 ? 0 : (q > 255 ? 255 : q);
}

// out(x, y) channel = Round(sum over dx, dy of channel(x + dx, y + dy) x k[dx + 1][dy + 1]
// x 0.01), clamped; a neighbour outside the picture reads as white. A new picture;
// progress x * 100 div width once per column, in column order.
QImage convolve(const QImage &src, const FilterCoefficients &k, Progress &progress);

// The convolution of a picture whose rows are read from a feed as the result rows are
// made, top to bottom: the pixels of convolve, holding only the rows being made and the
// one above and below them.
class FedConvolvedRows {
public:
    FedConvolvedRows(RowFeed feed, const FilterCoefficients &k);
    // Result rows y0 .. y0 + count - 1 into rows[0 .. count), on every core, each call
    // taking up where the one before ended.
    void make(int y0, int count, RowsOf<QRgb> rows);
    // The result rows a band of one thread makes.
    static constexpr int kBand = 16;

private:
    RowFeed m_feed;
    FilterCoefficients m_k;
    QImage m_window; // source rows m_first .. m_next - 1 from its top
    int m_first = 0, m_next = 0;
};

} // namespace vermeo::geometry
