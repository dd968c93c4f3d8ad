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
typedef float FloatLanes __attribute__((vector_size(32), aligned(4)));
constexpr int kLanes = 8;

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

// out[x] for x in [0, w): the nine weighed neighbours of each channel, eight pixels at a time.
__attribute__((target_clones("avx2", "default"))) void convolveRow(const PlaneRow *const rows[3],
                                                                   const std::int32_t (&W)[3][3], int w, QRgb *out)
{
    std::int32_t packed[kLanes];
    for (int x = 0; x < w; x += kLanes) {
        Lanes ch[3];
        for (int c = 0; c < 3; ++c) {
            Lanes acc = {};
            for (int dy = 0; dy < 3; ++dy) {
                const std::int32_t *p = rows[dy]->c[c].data() + x;
                const Lanes &left = *reinterpret_cast<const Lanes *>(p);
                const Lanes &centre = *reinterpret_cast<const Lanes *>(p + 1);
                const Lanes &right = *reinterpret_cast<const Lanes *>(p + 2);
                acc += W[dy][0] * left + W[dy][1] * centre + W[dy][2] * right;
            }
            // Round(sum / 100) half to even, clamped to 0..255. A sum is at most
            // 9 x 255 x 128 in size, exact as a float; the division is correctly rounded,
            // so a quotient ends in exactly .5 only when the sum does, and adding then
            // taking off 1.5 x 2^23 rounds it half to even (the default rounding).
            const FloatLanes q = __builtin_convertvector(acc, FloatLanes) / 100.0f;
            const FloatLanes rounded = (q + 12582912.0f) - 12582912.0f;
            Lanes v = __builtin_convertvector(rounded, Lanes);
            v = v < 0 ? 0 : v;
            ch[c] = v > 255 ? 255 : v;
        }
        const Lanes argb = ch[0] | (ch[1] << 8) | (ch[2] << 16) | std::int32_t(0xFF000000u);
        const int n = std::min(kLanes, w - x);
        if (n == kLanes) {
            std::memcpy(out + x, &argb, sizeof argb);
        } else {
            std::memcpy(packed, &argb, sizeof packed);
            std::memcpy(out + x, packed, size_t(n) * sizeof(QRgb));
        }
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
    // W[dy + 1][dx + 1] = the weight of the neighbour (x + dx, y + dy), which is grid row
    // dx + 1, grid column dy + 1.
    std::int32_t W[3][3];
    for (int dy = 0; dy < 3; ++dy)
        for (int dx = 0; dx < 3; ++dx)
            W[dy][dx] = k[size_t(dx)][size_t(dy)];
    const auto in = rowsOf(src);
    const auto dst = rowsOf(out);
    int reported = 0;
    forBandsInParallel(
        h, kBandRows,
        [&](int y0, int y1) {
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
                const QRgb *s = in[yy];
                for (int x = 0; x < w; ++x) {
                    b[x] = std::int32_t(s[x] & 0xFFu);
                    g[x] = std::int32_t((s[x] >> 8) & 0xFFu);
                    r[x] = std::int32_t((s[x] >> 16) & 0xFFu);
                }
            };
            load(y0 - 1);
            load(y0);
            for (int y = y0; y < y1; ++y) {
                load(y + 1);
                const PlaneRow *rows[3] = {&ring[slot(y - 1)], &ring[slot(y)], &ring[slot(y + 1)]};
                convolveRow(rows, W, w, dst[y]);
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
