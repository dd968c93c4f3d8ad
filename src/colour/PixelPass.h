#pragma once
// The shared pixel pass of the colour commands. The picture is walked column by
// column as far as anyone can observe (progress x * 100 div width once per column,
// in column order), but the work itself runs over strips of columns on scan lines:
// each pixel's result depends only on the unchanged source, so the order inside a
// strip cannot change the result.
#include "Picture.h"
#include "Progress.h"

#include <QImage>
#include <algorithm>
#include <cstdint>

namespace vermeo::colour {

// Wide enough for long contiguous runs, narrow enough that progress still moves.
constexpr int kStripColumns = 512;

// A new RGB32 picture of w x h whose pixels the caller writes entirely.
QImage newPassImage(int w, int h);

// Calls body(x0, x1) for the strips [x0, x1) from left to right, after reporting
// x * 100 div width for each column of the strip.
template <class Body>
void forColumnStrips(int width, Progress &progress, Body &&body)
{
    for (int x0 = 0; x0 < width; x0 += kStripColumns) {
        const int x1 = std::min(width, x0 + kStripColumns);
        for (int x = x0; x < x1; ++x)
            progress.setPosition(int((long long)x * 100 / width));
        body(x0, x1);
    }
}

// The apply frame's pixel loop: out(x, y) = fn(in(x, y)) with both sides as QRgb.
template <class Fn>
QImage mapPixels(const QImage &srcIn, Progress &progress, Fn fn)
{
    const QImage src = toWorkingImage(srcIn);
    const int w = src.width(), h = src.height();
    QImage out = newPassImage(w, h);
    const qsizetype sStride = src.bytesPerLine() / 4, dStride = out.bytesPerLine() / 4;
    const QRgb *sBase = reinterpret_cast<const QRgb *>(src.constBits());
    QRgb *dBase = reinterpret_cast<QRgb *>(out.bits());
    forColumnStrips(w, progress, [&](int x0, int x1) {
        for (int y = 0; y < h; ++y) {
            const QRgb *s = sBase + y * sStride;
            QRgb *d = dBase + y * dStride;
            for (int x = x0; x < x1; ++x)
                d[x] = fn(s[x]);
        }
    });
    return out;
}

// Per-channel tables whose entries are already in place in a QRgb, so a pixel is
// three lookups and two ors.
struct ChannelTables {
    std::uint32_t r[256];
    std::uint32_t g[256];
    std::uint32_t b[256];

    template <class FR, class FG, class FB> static ChannelTables build(FR fr, FG fg, FB fb);
    template <class F> static ChannelTables same(F f) { return build(f, f, f); }

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
