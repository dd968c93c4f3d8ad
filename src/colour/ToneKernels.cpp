#include "ToneKernels.h"
#include "Error.h"
#include "PixelPass.h"
#include "PixelRows.h"

#include <array>
#include <vector>

namespace vermeo::colour {

QImage brightness(const QImage &src, int offset, Progress &progress)
{
    const auto t = ChannelTables::same([offset](int c) { return c + offset; });
    return mapPixels(src, progress, t);
}

QImage clarity(const QImage &src, int percent, Progress &progress)
{
    const auto t = ChannelTables::same([percent](int c) { return c + c * percent / 100; });
    return mapPixels(src, progress, t);
}

QImage contrast(const QImage &src, int offset, Progress &progress)
{
    const auto low = ChannelTables::same([offset](int c) { return c - offset; });
    const auto high = ChannelTables::same([offset](int c) { return c + offset; });
    return mapPixels(src, progress, [&](QRgb q) { return redOf(q) + greenOf(q) + blueOf(q) < 382 ? low(q) : high(q); });
}

QImage saturation(const QImage &src, int percent, Progress &progress)
{
    // c' depends only on the channel and the pixel's mean, so one 256 x 256 table
    // (64 KiB, stays in cache) holds every result, and the mean of a sum (0..765)
    // is a second table.
    std::array<std::uint8_t, 766> third{};
    for (int s = 0; s < 766; ++s)
        third[size_t(s)] = std::uint8_t(s / 3);
    std::vector<std::uint8_t> table(256 * 256);
    for (int m = 0; m < 256; ++m)
        for (int c = 0; c < 256; ++c)
            table[size_t(m * 256 + c)] = std::uint8_t(clampToChannel(c + percent * (c - m) / 100));
    const std::uint8_t *t = table.data();
    return mapPixels(src, progress, [&third, t](QRgb q) {
        const int r = redOf(q), g = greenOf(q), b = blueOf(q);
        const std::uint8_t *row = t + 256 * third[size_t(r + g + b)];
        return opaque(row[r], row[g], row[b]);
    });
}

int leadingChannel(int b, int g, int r)
{
    int d = 1;
    if (b < g)
        d = 2;
    if (g < r)
        d = 3;
    return d;
}

int dominantChannel(const QImage &imgIn)
{
    const QImage img = toWorkingImage(imgIn);
    long long sb = 0, sg = 0, sr = 0;
    for (int y = 0; y < img.height(); ++y) {
        const QRgb *s = rowOf(img, y);
        for (int x = 0; x < img.width(); ++x) {
            sb += blueOf(s[x]);
            sg += greenOf(s[x]);
            sr += redOf(s[x]);
        }
    }
    int d = 1;
    if (sb < sg)
        d = 2;
    if (sg < sr)
        d = 3;
    return d;
}

namespace {
// The pixel's own leading code equals `Code` exactly when: 3, green < red;
// 2, blue < green and not green < red; 1, neither.
template <int Code>
QImage tintWith(const QImage &src, const std::array<std::uint8_t, 256> &raised, Progress &progress)
{
    return mapPixels(src, progress, [&raised](QRgb q) {
        int r = redOf(q), g = greenOf(q), b = blueOf(q);
        if constexpr (Code == 3)
            r = g < r ? raised[size_t(r)] : r;
        else if constexpr (Code == 2)
            g = (b < g && !(g < r)) ? raised[size_t(g)] : g;
        else
            b = (!(b < g) && !(g < r)) ? raised[size_t(b)] : b;
        return opaque(r, g, b);
    });
}
} // namespace

QImage tint(const QImage &src, int code, int offset, Progress &progress)
{
    std::array<std::uint8_t, 256> raised{};
    for (int c = 0; c < 256; ++c)
        raised[size_t(c)] = std::uint8_t(clampToChannel(c + offset));
    switch (code) {
    case 1: return tintWith<1>(src, raised, progress);
    case 2: return tintWith<2>(src, raised, progress);
    case 3: return tintWith<3>(src, raised, progress);
    default:
        // No dominant channel found yet: no pixel matches, the picture is copied.
        return mapPixels(src, progress, [](QRgb q) { return q | 0xFF000000u; });
    }
}

QImage solarise(const QImage &src, int threshold, Progress &progress)
{
    const auto t = ChannelTables::same([threshold](int c) { return c > threshold ? 2 * threshold - c : c; });
    return mapPixels(src, progress, t);
}

} // namespace vermeo::colour
