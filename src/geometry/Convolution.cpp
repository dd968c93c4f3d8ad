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

// One source row split into three planes (blue, green, red) with a white pixel at
// each end, so the inner loop needs no edge test.
struct PlanarRow {
    std::vector<std::int16_t> c[3];
    void resize(int w)
    {
        for (auto &p : c)
            p.assign(size_t(w) + 2, 255);
    }
    void load(const QRgb *s, int w)
    {
        std::int16_t *b = c[0].data() + 1, *g = c[1].data() + 1, *r = c[2].data() + 1;
        if (!s) {
            std::fill_n(b, w, 255);
            std::fill_n(g, w, 255);
            std::fill_n(r, w, 255);
            return;
        }
        for (int x = 0; x < w; ++x) {
            const QRgb q = s[x];
            b[x] = std::int16_t(q & 0xFFu);
            g[x] = std::int16_t((q >> 8) & 0xFFu);
            r[x] = std::int16_t((q >> 16) & 0xFFu);
        }
    }
};

// The nine weighted neighbours of one channel, for a whole row.
void sumChannel(const std::int16_t *a, const std::int16_t *b, const std::int16_t *c, const int (&wt)[3][3],
                std::int32_t *acc, int w)
{
    const int a0 = wt[0][0], a1 = wt[0][1], a2 = wt[0][2];
    const int b0 = wt[1][0], b1 = wt[1][1], b2 = wt[1][2];
    const int c0 = wt[2][0], c1 = wt[2][1], c2 = wt[2][2];
    for (int x = 0; x < w; ++x)
        acc[x] = a0 * a[x] + a1 * a[x + 1] + a2 * a[x + 2] + b0 * b[x] + b1 * b[x + 1] + b2 * b[x + 2] +
                 c0 * c[x] + c1 * c[x + 1] + c2 * c[x + 2];
}

} // namespace

QImage convolve(const QImage &srcIn, const FilterCoefficients &k, Progress &progress)
{
    const QImage src = toWorkingImage(srcIn);
    if (src.isNull())
        return src;
    const int w = src.width(), h = src.height();
    QImage out = newWorkingImage(w, h);
    // wt[dy + 1][dx + 1]: the weight of the neighbour (x + dx, y + dy) is grid row dx + 1,
    // grid column dy + 1.
    int wt[3][3];
    for (int dy = 0; dy < 3; ++dy)
        for (int dx = 0; dx < 3; ++dx)
            wt[dy][dx] = k[size_t(dx)][size_t(dy)];
    const auto in = rowsOf(src);
    const auto dst = rowsOf(out);
    int reported = 0;
    forBandsInParallel(
        h, kBandRows,
        [&](int y0, int y1) {
            PlanarRow ring[3];
            for (auto &r : ring)
                r.resize(w);
            std::vector<std::int32_t> acc[3];
            for (auto &a : acc)
                a.resize(size_t(w));
            auto slot = [](int yy) { return (yy + 3) % 3; };
            auto load = [&](int yy) { ring[slot(yy)].load(yy >= 0 && yy < h ? in[yy] : nullptr, w); };
            load(y0 - 1);
            load(y0);
            for (int y = y0; y < y1; ++y) {
                load(y + 1);
                const PlanarRow &above = ring[slot(y - 1)], &here = ring[slot(y)], &below = ring[slot(y + 1)];
                for (int c = 0; c < 3; ++c)
                    sumChannel(above.c[c].data(), here.c[c].data(), below.c[c].data(), wt, acc[c].data(), w);
                QRgb *d = dst[y];
                const std::int32_t *sb = acc[0].data(), *sg = acc[1].data(), *sr = acc[2].data();
                for (int x = 0; x < w; ++x)
                    d[x] = 0xFF000000u | (QRgb(channelFromSum(sr[x])) << 16) | (QRgb(channelFromSum(sg[x])) << 8) |
                           QRgb(channelFromSum(sb[x]));
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
