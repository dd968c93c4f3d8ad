#include "Convolution.h"

#include "Parallel.h"
#include "PixelRows.h"

#include <algorithm>
#include <cmath>
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

constexpr int kBandRows = 16;

// Blue, green and red in one 64-bit word, 21 bits apart, so one multiply weighs all
// three. With every weight made non-negative (+128) a lane holds at most
// 9 x 255 x 255 plus the bias below, under 2^21: no lane ever carries into the next.
inline std::uint64_t spread(QRgb q)
{
    return std::uint64_t(q & 0xFFu) | (std::uint64_t((q >> 8) & 0xFFu) << 21) | (std::uint64_t((q >> 16) & 0xFFu) << 42);
}
constexpr std::uint64_t kWhite = 255ull | (255ull << 21) | (255ull << 42);
constexpr int kLaneBias = 128 * 9 * 255;
constexpr std::uint64_t kBias = std::uint64_t(kLaneBias) | (std::uint64_t(kLaneBias) << 21) | (std::uint64_t(kLaneBias) << 42);
constexpr std::uint64_t kLane = (1u << 21) - 1;

} // namespace

QImage convolve(const QImage &srcIn, const FilterCoefficients &k, Progress &progress)
{
    const QImage src = toWorkingImage(srcIn);
    if (src.isNull())
        return src;
    const int w = src.width(), h = src.height();
    QImage out = newWorkingImage(w, h);
    // W[dy + 1][dx + 1] = weight + 128 >= 0 of the neighbour (x + dx, y + dy), which is
    // grid row dx + 1, grid column dy + 1; the 128 x (sum of the nine) is taken off after.
    std::uint64_t W[3][3];
    for (int dy = 0; dy < 3; ++dy)
        for (int dx = 0; dx < 3; ++dx)
            W[dy][dx] = std::uint64_t(int(k[size_t(dx)][size_t(dy)]) + 128);
    const auto in = rowsOf(src);
    const auto dst = rowsOf(out);
    int reported = 0;
    forBandsInParallel(
        h, kBandRows,
        [&](int y0, int y1) {
            std::vector<std::uint64_t> ring[3];
            for (auto &r : ring)
                r.assign(size_t(w) + 2, kWhite);
            auto slot = [](int yy) { return (yy + 3) % 3; };
            auto load = [&](int yy) {
                std::uint64_t *e = ring[slot(yy)].data() + 1;
                if (yy < 0 || yy >= h) {
                    std::fill_n(e, w, kWhite);
                    return;
                }
                const QRgb *s = in[yy];
                for (int x = 0; x < w; ++x)
                    e[x] = spread(s[x]);
            };
            load(y0 - 1);
            load(y0);
            for (int y = y0; y < y1; ++y) {
                load(y + 1);
                const std::uint64_t *a = ring[slot(y - 1)].data(), *b = ring[slot(y)].data(),
                                    *c = ring[slot(y + 1)].data();
                QRgb *d = dst[y];
                for (int x = 0; x < w; ++x) {
                    const std::uint64_t s = W[0][0] * a[x] + W[0][1] * a[x + 1] + W[0][2] * a[x + 2] +
                                            W[1][0] * b[x] + W[1][1] * b[x + 1] + W[1][2] * b[x + 2] +
                                            W[2][0] * c[x] + W[2][1] * c[x + 1] + W[2][2] * c[x + 2];
                    const std::uint64_t t = a[x] + a[x + 1] + a[x + 2] + b[x] + b[x + 1] + b[x + 2] + c[x] +
                                            c[x + 1] + c[x + 2];
                    // Per lane: sum of (weight + 128) x channel - 128 x sum of channels, kept
                    // above zero by the bias.
                    const std::uint64_t v = s + kBias - (t << 7);
                    const int sb = int(v & kLane) - kLaneBias, sg = int((v >> 21) & kLane) - kLaneBias,
                              sr = int((v >> 42) & kLane) - kLaneBias;
                    d[x] = 0xFF000000u | (QRgb(channelFromSum(sr)) << 16) | (QRgb(channelFromSum(sg)) << 8) |
                           QRgb(channelFromSum(sb));
                }
            }
        },
        [&](int rowsDone) {
            // Column x's position once the share x / width of the rows is done.
            const int upTo = int((long long)rowsDone * w / h);
            for (; reported < upTo; ++reported)
                progress.setPosition(int((long long)reported * 100 / w));
        });
    return out;
}

} // namespace vermeo::geometry
