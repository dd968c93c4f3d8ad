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

// Eight lanes of 32 bits, read at any address of an int array. GCC and Clang make them
// AVX2 registers in the AVX2 copy of the row function, SSE pairs otherwise.
typedef std::int32_t Lanes __attribute__((vector_size(32), aligned(4), may_alias));
constexpr int kLanes = 8;

// The weights of a filter that are not zero, each with the row it reads (0 above, 1 the
// row itself, 2 below) and its column (0 left, 1 the pixel itself, 2 right).
struct Taps {
    struct Tap {
        int row, column;
        std::int32_t weight;
    };
    Tap tap[9];
    int count = 0;
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
struct PlaneRow {
    std::vector<std::int32_t> c[3];
    void resize(int w)
    {
        for (auto &plane : c)
            plane.assign(size_t(w) + 2 + kLanes, 255);
    }
};

__attribute__((target_clones("avx2", "default"))) void splitRow(const QRgb *__restrict s, int w,
                                                                std::int32_t *__restrict b,
                                                                std::int32_t *__restrict g,
                                                                std::int32_t *__restrict r)
{
    for (int x = 0; x < w; ++x) {
        b[x] = std::int32_t(s[x] & 0xFFu);
        g[x] = std::int32_t((s[x] >> 8) & 0xFFu);
        r[x] = std::int32_t((s[x] >> 16) & 0xFFu);
    }
}

// The pixels of a row summed at a time: three sums of this many stay in the first cache.
constexpr int kChunk = 512;

// out[x] for x in [0, w): the weighed neighbours of each channel, a chunk of a row at a
// time, one weight over the whole chunk before the next.
__attribute__((target_clones("avx2", "default"))) void convolveRow(const PlaneRow *const rows[3], const Taps &taps,
                                                                   int w, QRgb *out)
{
    alignas(32) std::int32_t sums[3][kChunk];
    for (int x0 = 0; x0 < w; x0 += kChunk) {
        const int n = std::min(kChunk, w - x0);
        for (int c = 0; c < 3; ++c) {
            std::int32_t *sum = sums[c];
            if (taps.count == 0)
                std::fill_n(sum, n, 0);
            for (int t = 0; t < taps.count; ++t) {
                const Taps::Tap &tap = taps.tap[t];
                const std::int32_t *p = rows[tap.row]->c[c].data() + x0 + tap.column;
                const std::int32_t weight = tap.weight;
                // Whole groups of lanes (the planes have room past the row's end); the
                // first weight starts the sums.
                for (int i = 0; i < n; i += kLanes) {
                    Lanes &s = *reinterpret_cast<Lanes *>(sum + i);
                    const Lanes weighed = weight * *reinterpret_cast<const Lanes *>(p + i);
                    s = t == 0 ? weighed : s + weighed;
                }
            }
        }
        QRgb *__restrict o = out + x0;
        for (int i = 0; i < n; ++i) {
            std::uint32_t argb = 0xFF000000u;
            for (int c = 0; c < 3; ++c) {
                // Round(sum / 100) half to even, clamped to 0..255 (channelFromSum). Sums
                // below 0 give 0 and from 25550 on 255, so only u = sum + 50 in 50 .. 25600
                // is divided: u x 5243 >> 19 is u div 100 there, and a remainder of 0 is a
                // half, which an odd quotient gives back.
                const std::int32_t u = std::min(std::max(sums[c][i], 0), 25550) + 50;
                std::int32_t q = (u * 5243) >> 19;
                q -= std::int32_t(u - q * 100 == 0) & q & 1;
                argb |= std::uint32_t(std::min(q, 255)) << (8 * c);
            }
            o[i] = argb;
        }
    }
}

// Result rows y0 .. y1 - 1 of a w x h picture into out[0 .. y1 - y0). Source row y is
// source[y - first] for the rows y0 - 1 .. y1 that lie in the picture; rows outside
// the picture read as white.
void convolveBand(RowsOf<const QRgb> source, int first, int w, int h, const Taps &taps, int y0, int y1,
                  RowsOf<QRgb> out)
{
    PlaneRow ring[3];
    for (auto &r : ring)
        r.resize(w);
    auto slot = [](int yy) { return (yy + 3) % 3; };
    auto load = [&](int yy) {
        PlaneRow &row = ring[slot(yy)];
        std::int32_t *b = row.c[0].data() + 1, *g = row.c[1].data() + 1, *r = row.c[2].data() + 1;
        if (yy < 0 || yy >= h) {
            std::fill_n(b, w, 255);
            std::fill_n(g, w, 255);
            std::fill_n(r, w, 255);
            return;
        }
        splitRow(source[yy - first], w, b, g, r);
    };
    load(y0 - 1);
    load(y0);
    for (int y = y0; y < y1; ++y) {
        load(y + 1);
        const PlaneRow *rows[3] = {&ring[slot(y - 1)], &ring[slot(y)], &ring[slot(y + 1)]};
        convolveRow(rows, taps, w, out[y - y0]);
    }
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
