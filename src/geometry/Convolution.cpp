#include "Convolution.h"

#include "Parallel.h"
#include "PixelRows.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace vermeo::geometry {

std::int8_t coefficientOf(double value)
{
    if (std::isnan(value))
        return 0;
    const double hundredths = std::nearbyint(std::clamp(value, -2.0, 2.0) * 100.0);
    return std::int8_t(std::clamp(int(hundredths), kCoefficientMin, kCoefficientMax));
}

namespace {

// 32 bytes of lanes (AVX2 registers in the AVX2 copies of the row functions, SSE pairs
// otherwise), read at any address of an array of T.
template <class T>
using Lanes __attribute__((vector_size(32), aligned(alignof(T)), may_alias)) = T;
// The room past the last pixel of a plane: one group of 16-bit lanes.
constexpr int kRoom = 16;

// The weights of a filter that are not zero, each with the row it reads (0 above, 1 the
// row itself, 2 below) and its column (0 left, 1 the pixel itself, 2 right).
struct Taps {
    struct Tap {
        int row, column;
        std::int32_t weight;
    };
    Tap tap[9];
    int count = 0;
    // Whether every partial sum fits 16 bits: the positive weights add up to 1,28 at
    // most, and so do the negative ones.
    bool fitsShorts() const
    {
        int up = 0, down = 0;
        for (int t = 0; t < count; ++t)
            (tap[t].weight > 0 ? up : down) += std::abs(tap[t].weight);
        return up <= 128 && down <= 128;
    }
};

Taps tapsOf(const FilterCoefficients &k)
{
    Taps taps;
    // The neighbour (x + dx, y + dy) weighs grid row dx + 1, grid column dy + 1.
    for (int dy = 0; dy < 3; ++dy)
        for (int dx = 0; dx < 3; ++dx)
            if (const int w = k[size_t(dx)][size_t(dy)])
                taps.tap[taps.count++] = {dy, dx, w};
    return taps;
}

// One scan line split into blue, green and red planes, each with a white pixel at both
// ends and room for a whole group of lanes past the last pixel.
template <class T>
struct PlaneRow {
    std::vector<T> c[3];
    void resize(int w)
    {
        for (auto &plane : c)
            plane.assign(size_t(w) + 2 + kRoom, T(255));
    }
};

template <class T>
[[gnu::always_inline]] inline void splitRowOf(const QRgb *__restrict s, int w, T *__restrict b, T *__restrict g,
                                              T *__restrict r)
{
    for (int x = 0; x < w; ++x) {
        b[x] = T(s[x] & 0xFFu);
        g[x] = T((s[x] >> 8) & 0xFFu);
        r[x] = T((s[x] >> 16) & 0xFFu);
    }
}

// The pixels of a row summed at a time: three sums of this many stay in the first cache.
constexpr int kChunk = 512;

// out[x] for x in [0, w): the weighed neighbours of each channel, a chunk of a row at a
// time, one weight over the whole chunk before the next.
template <class T>
[[gnu::always_inline]] inline void convolveRowOf(const PlaneRow<T> *const rows[3], const Taps &taps, int w, QRgb *out)
{
    constexpr int kLanes = int(32 / sizeof(T));
    alignas(32) T sums[3][kChunk];
    for (int x0 = 0; x0 < w; x0 += kChunk) {
        const int n = std::min(kChunk, w - x0);
        for (int c = 0; c < 3; ++c) {
            T *sum = sums[c];
            if (taps.count == 0)
                std::fill_n(sum, n, T(0));
            for (int t = 0; t < taps.count; ++t) {
                const Taps::Tap &tap = taps.tap[t];
                const T *p = rows[tap.row]->c[c].data() + x0 + tap.column;
                const T weight = T(tap.weight);
                // Whole groups of lanes (the planes have room past the row's end); the
                // first weight starts the sums.
                for (int i = 0; i < n; i += kLanes) {
                    Lanes<T> &s = *reinterpret_cast<Lanes<T> *>(sum + i);
                    const Lanes<T> weighed = weight * *reinterpret_cast<const Lanes<T> *>(p + i);
                    s = t == 0 ? weighed : s + weighed;
                }
            }
        }
        QRgb *__restrict o = out + x0;
        if constexpr (sizeof(T) == 2) {
            // The same rounding in 16-bit lanes (u fits them): blue and green paired in one
            // half of each pixel, red and the opaque byte in the other.
            using Short = Lanes<std::int16_t>;
            using Unsigned = Lanes<std::uint16_t>;
            alignas(32) std::uint16_t low[kChunk], high[kChunk];
            Unsigned q[3];
            for (int i = 0; i < n; i += kLanes) {
                for (int c = 0; c < 3; ++c) {
                    Short v = *reinterpret_cast<const Short *>(sums[c] + i);
                    v = v < 0 ? 0 : v;
                    v = v > 25550 ? 25550 : v;
                    const Unsigned u = Unsigned(v + 50);
                    Unsigned d = u / 100;
                    d -= Unsigned(u - d * 100 == 0) & d & 1;
                    q[c] = d > 255 ? 255 : d;
                }
                *reinterpret_cast<Unsigned *>(low + i) = q[0] | (q[1] << 8);
                *reinterpret_cast<Unsigned *>(high + i) = q[2] | 0xFF00;
            }
            for (int i = 0; i < n; ++i)
                o[i] = std::uint32_t(low[i]) | (std::uint32_t(high[i]) << 16);
            continue;
        }
        for (int i = 0; i < n; ++i) {
            std::uint32_t argb = 0xFF000000u;
            for (int c = 0; c < 3; ++c) {
                // Round(sum / 100) half to even, clamped to 0..255 (channelFromSum). Sums
                // below 0 give 0 and from 25550 on 255, so only u = sum + 50 in 50 .. 25600
                // is divided: u x 5243 >> 19 is u div 100 there, and a remainder of 0 is a
                // half, which an odd quotient gives back.
                const std::int32_t u = std::min(std::max(std::int32_t(sums[c][i]), 0), 25550) + 50;
                std::int32_t q = (u * 5243) >> 19;
                q -= std::int32_t(u - q * 100 == 0) & q & 1;
                argb |= std::uint32_t(std::min(q, 255)) << (8 * c);
            }
            o[i] = argb;
        }
    }
}

// The row functions for each width of sums, in an AVX2 copy and a plain one.
#define VERMEO_ROW_FUNCTIONS(T, suffix)                                                                            \
    __attribute__((target_clones("avx2", "default"))) void splitRow##suffix(const QRgb *s, int w, T *b, T *g,      \
                                                                            T *r)                                  \
    {                                                                                                              \
        splitRowOf<T>(s, w, b, g, r);                                                                              \
    }                                                                                                              \
    __attribute__((target_clones("avx2", "default"))) void convolveRow##suffix(                                    \
        const PlaneRow<T> *const rows[3], const Taps &taps, int w, QRgb *out)                                      \
    {                                                                                                              \
        convolveRowOf<T>(rows, taps, w, out);                                                                      \
    }
VERMEO_ROW_FUNCTIONS(std::int16_t, 16)
VERMEO_ROW_FUNCTIONS(std::int32_t, 32)
#undef VERMEO_ROW_FUNCTIONS

void splitRow(const QRgb *s, int w, std::int16_t *b, std::int16_t *g, std::int16_t *r) { splitRow16(s, w, b, g, r); }
void splitRow(const QRgb *s, int w, std::int32_t *b, std::int32_t *g, std::int32_t *r) { splitRow32(s, w, b, g, r); }
void convolveRow(const PlaneRow<std::int16_t> *const rows[3], const Taps &taps, int w, QRgb *out)
{
    convolveRow16(rows, taps, w, out);
}
void convolveRow(const PlaneRow<std::int32_t> *const rows[3], const Taps &taps, int w, QRgb *out)
{
    convolveRow32(rows, taps, w, out);
}

// Result rows y0 .. y1 - 1 of a w x h picture into out[0 .. y1 - y0). Source row y is
// source[y - first] for the rows y0 - 1 .. y1 that lie in the picture; rows outside
// the picture read as white. T: the width of the sums.
template <class T>
void convolveBandOf(RowsOf<const QRgb> source, int first, int w, int h, const Taps &taps, int y0, int y1,
                    RowsOf<QRgb> out)
{
    PlaneRow<T> ring[3];
    for (auto &r : ring)
        r.resize(w);
    auto slot = [](int yy) { return (yy + 3) % 3; };
    auto load = [&](int yy) {
        PlaneRow<T> &row = ring[slot(yy)];
        T *b = row.c[0].data() + 1, *g = row.c[1].data() + 1, *r = row.c[2].data() + 1;
        if (yy < 0 || yy >= h) {
            std::fill_n(b, w, T(255));
            std::fill_n(g, w, T(255));
            std::fill_n(r, w, T(255));
            return;
        }
        splitRow(source[yy - first], w, b, g, r);
    };
    load(y0 - 1);
    load(y0);
    for (int y = y0; y < y1; ++y) {
        load(y + 1);
        const PlaneRow<T> *rows[3] = {&ring[slot(y - 1)], &ring[slot(y)], &ring[slot(y + 1)]};
        convolveRow(rows, taps, w, out[y - y0]);
    }
}

// Sums of 16 bits where every one fits, which makes twice as many at once.
void convolveBand(RowsOf<const QRgb> source, int first, int w, int h, const Taps &taps, int y0, int y1,
                  RowsOf<QRgb> out)
{
    if (taps.fitsShorts())
        convolveBandOf<std::int16_t>(source, first, w, h, taps, y0, y1, out);
    else
        convolveBandOf<std::int32_t>(source, first, w, h, taps, y0, y1, out);
}

} // namespace

QImage convolve(const QImage &srcIn, const FilterCoefficients &k, Progress &progress)
{
    const QImage src = toWorkingImage(srcIn);
    if (src.isNull())
        return src;
    const int w = src.width(), h = src.height();
    QImage out = newWorkingImage(w, h);
    const Taps taps = tapsOf(k);
    const auto in = rowsOf(src);
    const auto dst = rowsOf(out);
    forBandsInParallel(
        h, kBandRows, [&](int y0, int y1) { convolveBand(in, 0, w, h, taps, y0, y1, {dst[y0], dst.stride}); },
        progressByColumns(progress, w, h));
    return out;
}

FedConvolvedRows::FedConvolvedRows(RowFeed feed, const FilterCoefficients &k) : m_feed(std::move(feed)), m_k(k) {}

void FedConvolvedRows::make(int y0, int count, RowsOf<QRgb> rows)
{
    const int w = m_feed.width, h = m_feed.height;
    // Rows above the one over y0 are let go: the window keeps [m_first, m_next).
    const int keep = std::min(std::max(y0 - 1, 0), m_next);
    if (keep > m_first) {
        for (int y = keep; y < m_next; ++y)
            std::copy_n(rowOf(std::as_const(m_window), y - m_first), w, rowOf(m_window, y - keep));
        m_first = keep;
    }
    // The rows up to the one below the last row made, from the feed, after the others.
    const int next = std::min(h, y0 + count + 1);
    if (next > m_next) {
        if (m_window.height() < next - m_first) {
            // Room for the two rows kept from one call to the next as well.
            QImage larger = newWorkingImage(w, std::min(h, std::max(next - m_first, count + 2)));
            for (int y = m_first; y < m_next; ++y)
                std::copy_n(rowOf(std::as_const(m_window), y - m_first), w, rowOf(larger, y - m_first));
            m_window = std::move(larger);
        }
        const auto window = rowsOf(m_window);
        m_feed.read({window[m_next - m_first], window.stride}, next - m_next);
        m_next = next;
    }
    const Taps taps = tapsOf(m_k);
    const auto held = rowsOf(std::as_const(m_window));
    const int first = m_first;
    forBandsInParallel(count, kBand, [&](int i0, int i1) {
        convolveBand(held, first, w, h, taps, y0 + i0, y0 + i1, {rows[i0], rows.stride});
    });
}

} // namespace vermeo::geometry
