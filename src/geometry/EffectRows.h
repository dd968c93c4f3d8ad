#pragma once
// The passes the effects are made of: in place, over whole scan lines, on every core.
// Bands of rows run at the same time, so a row may only read rows that no other band
// writes meanwhile; forRowsReadingAhead gives each band the rows beyond its edge as
// they were before the pass.
#include "Parallel.h"
#include "PixelRows.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace vermeo::geometry::effects {

inline int blueOf(QRgb q) { return int(q & 0xFFu); }
inline int greenOf(QRgb q) { return int((q >> 8) & 0xFFu); }
inline int redOf(QRgb q) { return int((q >> 16) & 0xFFu); }
inline QRgb opaque(int r, int g, int b)
{
    return 0xFF000000u | (std::uint32_t(r) << 16) | (std::uint32_t(g) << 8) | std::uint32_t(b);
}
constexpr int clampChannel(int v) { return v < 0 ? 0 : (v > 255 ? 255 : v); }

// fn(y, row, original) for every row, where original(yy) is row yy as it was before
// the pass, for yy up to `reach` rows below y (readsBelow) or above it. Each band goes
// away from the rows it reads: downwards when it reads below, upwards otherwise.
template <class Fn>
void forRowsReadingAhead(QImage &img, int reach, bool readsBelow, Fn &&fn)
{
    const int h = img.height(), w = img.width();
    reach = std::max(1, reach);
    const int band = std::max(32, reach * 4);
    const int bands = (h + band - 1) / band;
    const auto rows = rowsOf(img);
    // The `reach` rows beyond each band's edge, copied before any band writes.
    std::vector<QRgb> halo(size_t(bands) * size_t(reach) * size_t(w));
    auto haloRow = [&](int k, int i) { return halo.data() + (size_t(k) * size_t(reach) + size_t(i)) * size_t(w); };
    for (int k = 0; k < bands; ++k)
        for (int i = 0; i < reach; ++i) {
            const int yy = readsBelow ? (k + 1) * band + i : k * band - reach + i;
            if (yy >= 0 && yy < h)
                std::copy_n(rows[yy], w, haloRow(k, i));
        }
    forBandsInParallel(h, band, [&](int y0, int y1) {
        const int k = y0 / band;
        auto original = [&](int yy) -> const QRgb * {
            if (yy >= y0 && yy < y1)
                return rows[yy];
            return haloRow(k, readsBelow ? yy - y1 : yy - (y0 - reach));
        };
        if (readsBelow)
            for (int y = y0; y < y1; ++y)
                fn(y, rows[y], original);
        else
            for (int y = y1 - 1; y >= y0; --y)
                fn(y, rows[y], original);
    });
}

// Each channel through one table of 256 entries.
struct ChannelMap {
    std::uint8_t t[256];
    template <class F>
    static ChannelMap of(F f)
    {
        ChannelMap m;
        for (int v = 0; v < 256; ++v)
            m.t[v] = std::uint8_t(clampChannel(f(v)));
        return m;
    }
    QRgb operator()(QRgb q) const { return opaque(t[redOf(q)], t[greenOf(q)], t[blueOf(q)]); }
};

inline void mapChannels(QImage &img, const ChannelMap &m)
{
    const int w = img.width();
    forBandsInParallel(img.height(), 32, eachRow(img, [&](QRgb *row, int) {
                           for (int x = 0; x < w; ++x)
                               row[x] = m(row[x]);
                       }));
}

} // namespace vermeo::geometry::effects
