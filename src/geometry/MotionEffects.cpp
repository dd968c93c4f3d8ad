#include "MotionEffects.h"

#include "EffectRows.h"
#include "GeometryKernels.h"
#include "ProgramRandom.h"

#include <cstdlib>

namespace vermeo::geometry::effects {

void texture(QImage &img, int size)
{
    if (size < 1)
        return;
    const QImage tile = stretchImage(img, size, size);
    const auto t = rowsOf(tile);
    const int w = img.width();
    forBandsInParallel(img.height(), 32, eachRow(img, [&](QRgb *row, int y) {
                           const QRgb *s = t[y % size];
                           for (int x = 0; x < w; x += size)
                               std::copy_n(s, std::min(size, w - x), row + x);
                       }));
}

int bandOffset(int x, int n) { return n < 1 ? 0 : x % (n + 1); }

int triangleOffset(int x, int n)
{
    if (n < 1)
        return 0;
    const int o = x % (2 * n);
    return o > n ? 2 * n - o : o;
}

namespace {

// With an offset fixed per column, each target row receives one source row at most:
// (x, t) takes (x, t - o) when that row is one the drip moves, else it stays.
template <class Offset>
void regularDrip(QImage &img, int n, Offset offset)
{
    const int w = img.width(), h = img.height();
    const int lastMoved = h - n - 1;
    if (n < 0 || lastMoved < 0)
        return;
    auto o = std::vector<int>(size_t(w));
    for (int x = 0; x < w; ++x)
        o[size_t(x)] = offset(x, n);
    forRowsReadingAhead(img, n, false, [&](int t, QRgb *row, auto original) {
        // The source row of each offset, or none when that row is not moved.
        std::vector<const QRgb *> from(size_t(n) + 1);
        for (int k = 0; k <= n; ++k)
            from[size_t(k)] = t - k >= 0 && t - k <= lastMoved ? original(t - k) : nullptr;
        for (int x = 0; x < w; ++x)
            if (const QRgb *s = from[size_t(o[size_t(x)])])
                row[x] = s[x];
    });
}

} // namespace

void verticalBands(QImage &img, int n) { regularDrip(img, n, bandOffset); }

void triangles(QImage &img, int n) { regularDrip(img, n, triangleOffset); }

void meltingSnow(QImage &img, int n)
{
    ProgramRandom::seedFromClock();
    const int w = img.width(), h = img.height();
    const int lastMoved = h - n - 1;
    if (n < 0 || lastMoved < 0)
        return;
    // One draw per column after the first, for every row moved, top row last.
    const std::uint64_t perRow = std::uint64_t(w - 1);
    const std::uint64_t base = ProgramRandom::reserve(perRow * std::uint64_t(lastMoved + 1));
    // Columns never meet, so bands of columns run side by side, each in the described order.
    const auto rows = rowsOf(img);
    forBandsInParallel(w, 256, [&](int x0, int x1) {
        for (int y = lastMoved; y >= 0; --y) {
            const std::uint64_t i0 = std::uint64_t(lastMoved - y) * perRow;
            const QRgb *s = rows[y];
            for (int x = std::max(x0, 1); x < x1; ++x) {
                const int o = ProgramRandom::drawAt(base, i0 + std::uint64_t(x - 1), n);
                rows[y + o][x] = s[x];
            }
        }
    });
}

void shake(QImage &img, int a)
{
    a = std::max(a, 5);
    const int b = a | 1, a2 = a & ~1, half = a / 2;
    const int w = img.width();
    forBandsInParallel(img.height(), 32, eachRow(img, [&](QRgb *row, int y) {
                           int f = y % (b - 1);
                           if (f > half)
                               f = a2 - f;
                           if (f == 0)
                               f = b;
                           const int e = std::abs(half - y % b) + half;
                           QRgb held = row[0];
                           for (int x = 0; x < w; ++x) {
                               if (x % f == 0)
                                   held = row[x];
                               if (x % e == 1)
                                   held = row[x];
                               row[x] = held;
                           }
                       }));
}

} // namespace vermeo::geometry::effects
