#include "ToneKernels.h"
#include "Error.h"
#include "PixelPass.h"

#include <array>

namespace vermeo::colour {

QImage newPassImage(int w, int h)
{
    if (w <= 0 || h <= 0 || w > kMaxSide || h > kMaxSide || (long long)w * h > kMaxPixels)
        throw VermeoError(QStringLiteral("Taille d'image impossible : %1 x %2.").arg(w).arg(h));
    QImage img(w, h, QImage::Format_RGB32);
    if (img.isNull())
        throw VermeoError(QStringLiteral("Mémoire insuffisante pour une image de %1 x %2.").arg(w).arg(h));
    return img;
}

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
    return mapPixels(src, progress, [&](QRgb q) {
        return redOf(q) + greenOf(q) + blueOf(q) < 382 ? low(q) : high(q);
    });
}

QImage saturation(const QImage &src, int percent, Progress &progress)
{
    // The mean of a sum (0..765), the shift S * d div 100 for d = c - m (-255..255),
    // and the clamp of c + shift (-255..510).
    std::array<int, 766> third{};
    for (int s = 0; s < 766; ++s)
        third[size_t(s)] = s / 3;
    std::array<int, 511> shift{};
    for (int d = -255; d <= 255; ++d)
        shift[size_t(d + 255)] = percent * d / 100;
    std::array<std::uint8_t, 766> clampTable{};
    for (int v = -255; v <= 510; ++v)
        clampTable[size_t(v + 255)] = std::uint8_t(clampToChannel(v));
    auto channel = [&](int c, int m) { return int(clampTable[size_t(c + shift[size_t(c - m + 255)] + 255)]); };
    return mapPixels(src, progress, [&](QRgb q) {
        const int r = redOf(q), g = greenOf(q), b = blueOf(q);
        const int m = third[size_t(r + g + b)];
        return opaque(channel(r, m), channel(g, m), channel(b, m));
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
        const QRgb *s = reinterpret_cast<const QRgb *>(img.constScanLine(y));
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

QImage tint(const QImage &src, int code, int offset, Progress &progress)
{
    std::array<std::uint32_t, 256> raised{};
    for (int c = 0; c < 256; ++c)
        raised[size_t(c)] = std::uint32_t(clampToChannel(c + offset));
    return mapPixels(src, progress, [&](QRgb q) -> QRgb {
        const int r = redOf(q), g = greenOf(q), b = blueOf(q);
        if (leadingChannel(b, g, r) != code)
            return q | 0xFF000000u;
        switch (code) {
        case 1: return opaque(r, g, int(raised[size_t(b)]));
        case 2: return opaque(r, int(raised[size_t(g)]), b);
        default: return opaque(int(raised[size_t(r)]), g, b);
        }
    });
}

QImage solarise(const QImage &src, int threshold, Progress &progress)
{
    const auto t = ChannelTables::same([threshold](int c) { return c > threshold ? 2 * threshold - c : c; });
    return mapPixels(src, progress, t);
}

} // namespace vermeo::colour
