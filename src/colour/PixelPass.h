#pragma once
// The shared pixel pass of the colour commands. As far as anyone can observe, the
// picture is walked column by column: progress x * 100 div width once per column, in
// column order, and each result depends only on the unchanged source. The work itself
// runs over bands of whole scan lines (walking columns of a large picture touches a
// new memory page at every pixel), and column x's position is reported once the
// share x / width of the rows has been reached, so the bar moves as the work does.
#include "Parallel.h"
#include "Picture.h"
#include "Progress.h"

#include <QImage>
#include <algorithm>
#include <cstdint>

namespace vermeo::colour {

// The apply frame's pixel loop: out(x, y) = fn(in(x, y)) with both sides as QRgb.
template <class Fn>
QImage mapPixels(const QImage &srcIn, Progress &progress, Fn fn)
{
    const QImage src = toWorkingImage(srcIn);
    const int w = src.width(), h = src.height();
    QImage out = newWorkingImage(w, h);
    const auto in = rowsOf(src);
    const auto dst = rowsOf(out);
    forBandsInParallel(
        h, kBandRows,
        [&](int y0, int y1) {
            for (int y = y0; y < y1; ++y) {
                const QRgb *s = in[y];
                QRgb *d = dst[y];
                for (int x = 0; x < w; ++x)
                    d[x] = fn(s[x]);
            }
        },
        progressByColumns(progress, w, h));
    return out;
}

// Per-channel tables whose entries are already in place in a QRgb, so a pixel is
// three lookups and two ors.
struct ChannelTables {
    std::uint32_t r[256];
    std::uint32_t g[256];
    std::uint32_t b[256];

    template <class FR, class FG, class FB>
    static ChannelTables build(FR fr, FG fg, FB fb);
    template <class F>
    static ChannelTables same(F f)
    {
        return build(f, f, f);
    }

    QRgb operator()(QRgb q) const { return r[(q >> 16) & 0xFFu] | g[(q >> 8) & 0xFFu] | b[q & 0xFFu]; }
};

constexpr int clampToChannel(int v) { return v < 0 ? 0 : (v > 255 ? 255 : v); }

template <class FR, class FG, class FB>
ChannelTables ChannelTables::build(FR fr, FG fg, FB fb)
{
    ChannelTables t;
    for (int c = 0; c < 256; ++c) {
        t.r[c] = 0xFF000000u | (std::uint32_t(clampToChannel(fr(c))) << 16);
        t.g[c] = std::uint32_t(clampToChannel(fg(c))) << 8;
        t.b[c] = std::uint32_t(clampToChannel(fb(c)));
    }
    return t;
}

inline int redOf(QRgb q) { return int((q >> 16) & 0xFFu); }
inline int greenOf(QRgb q) { return int((q >> 8) & 0xFFu); }
inline int blueOf(QRgb q) { return int(q & 0xFFu); }
inline QRgb opaque(int r, int g, int b)
{
    return 0xFF000000u | (std::uint32_t(r) << 16) | (std::uint32_t(g) << 8) | std::uint32_t(b);
}

} // namespace vermeo::colour
