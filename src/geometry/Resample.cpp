#include "Resample.h"

#include "Error.h"
#include "Parallel.h"
#include "PixelRows.h"

#include <algorithm>
#include <cmath>
#include <mutex>
#include <new>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vermeo::geometry {

namespace {

constexpr float kPi = 3.14159265358979323846f;

float boxKernel(float x) { return (x > -0.5f && x <= 0.5f) ? 1.0f : 0.0f; }

float triangleKernel(float x)
{
    const float t = std::fabs(x);
    return t < 1.0f ? 1.0f - t : 0.0f;
}

float hermiteKernel(float x)
{
    const float t = std::fabs(x);
    return t < 1.0f ? (2.0f * t - 3.0f) * t * t + 1.0f : 0.0f;
}

float bellKernel(float x)
{
    const float t = std::fabs(x);
    if (t < 0.5f)
        return 0.75f - t * t;
    if (t < 1.5f) {
        const float u = t - 1.5f;
        return 0.5f * u * u;
    }
    return 0.0f;
}

float bSplineKernel(float x)
{
    const float t = std::fabs(x);
    if (t < 1.0f)
        return 0.5f * t * t * t - t * t + 2.0f / 3.0f;
    if (t < 2.0f) {
        const float u = 2.0f - t;
        return u * u * u / 6.0f;
    }
    return 0.0f;
}

float sinc(float x)
{
    if (x == 0.0f)
        return 1.0f;
    const float px = kPi * x;
    return std::sin(px) / px;
}

float lanczos3Kernel(float x)
{
    const float t = std::fabs(x);
    return t < 3.0f ? sinc(t) * sinc(t / 3.0f) : 0.0f;
}

float mitchellKernel(float x)
{
    const float t = std::fabs(x);
    const float t2 = t * t, t3 = t2 * t;
    if (t < 1.0f)
        return (7.0f * t3 - 12.0f * t2 + 16.0f / 3.0f) / 6.0f;
    if (t < 2.0f)
        return (-7.0f / 3.0f * t3 + 12.0f * t2 - 20.0f * t + 32.0f / 3.0f) / 6.0f;
    return 0.0f;
}

// A mirrored index can land outside again when the filter is wider than the picture:
// reflect until it is inside (a one-pixel line maps everything to 0).
int mirrored(int j, int size)
{
    while (j < 0 || j >= size)
        j = j < 0 ? -j : 2 * size - j - 1;
    return j;
}

// (dst - 1) / (src - 1), or dst / src when either side is a single pixel: a one-pixel
// target would otherwise give a scale of 0 and centres of i / 0.
float passScale(int src, int dst)
{
    if (src == 1 || dst == 1)
        return float(double(dst) / double(src));
    return float(double(dst - 1) / double(src - 1));
}

// The blue, green and red sums of one pixel. With SSE2 the three channels are added in
// one instruction; each lane still takes the same single-precision product and sum,
// in the same order, as a channel summed on its own, so both give the same bits.
#if defined(__SSE2__)
struct ChannelSums {
    __m128 v = _mm_setzero_ps();
    void add(float weight, QRgb p)
    {
        const __m128i zero = _mm_setzero_si128();
        __m128i i = _mm_cvtsi32_si128(int(p));
        i = _mm_unpacklo_epi16(_mm_unpacklo_epi8(i, zero), zero);
        v = _mm_add_ps(v, _mm_mul_ps(_mm_set1_ps(weight), _mm_cvtepi32_ps(i)));
    }
    // Clamped to 0..255, then rounded half to even (the rounding mode's default).
    QRgb pixel() const
    {
        const __m128 c = _mm_min_ps(_mm_max_ps(v, _mm_setzero_ps()), _mm_set1_ps(255.0f));
        const __m128i words = _mm_packs_epi32(_mm_cvtps_epi32(c), _mm_setzero_si128());
        return QRgb(_mm_cvtsi128_si32(_mm_packus_epi16(words, words))) | 0xFF000000u;
    }
};
#else
struct ChannelSums {
    float b = 0.0f, g = 0.0f, r = 0.0f;
    void add(float weight, QRgb p)
    {
        b += weight * float(p & 0xFFu);
        g += weight * float((p >> 8) & 0xFFu);
        r += weight * float((p >> 16) & 0xFFu);
    }
    static QRgb clampRound(float v)
    {
        if (v > 255.0f)
            return 255;
        if (v < 0.0f)
            return 0;
        return QRgb(std::lrintf(v)); // half to even, as Round
    }
    QRgb pixel() const { return 0xFF000000u | (clampRound(r) << 16) | (clampRound(g) << 8) | clampRound(b); }
};
#endif

// Target rows a band makes from work rows of its own.
constexpr int kStreamBand = 32;

} // namespace

const std::array<ResampleFilter, 7> &resampleFilters()
{
    static const std::array<ResampleFilter, 7> table = {{
        {"Box", 0.5f, boxKernel},
        {"Triangle", 1.0f, triangleKernel},
        {"Hermite", 1.0f, hermiteKernel},
        {"Bell", 1.5f, bellKernel},
        {"B-Spline", 2.0f, bSplineKernel},
        {"Lanczos3", 3.0f, lanczos3Kernel},
        {"Mitchell", 2.0f, mitchellKernel},
    }};
    return table;
}

const ResampleFilter *findResampleFilter(const QString &name)
{
    for (const ResampleFilter &f : resampleFilters())
        if (name.compare(QLatin1String(f.name), Qt::CaseInsensitive) == 0)
            return &f;
    return nullptr;
}

const ResampleFilter &mitchellFilter() { return resampleFilters()[6]; }

Contributions contributions(int srcSize, int dstSize, const ResampleFilter &filter, float support)
{
    Contributions c;
    c.first.reserve(size_t(dstSize) + 1);
    const float scale = passScale(srcSize, dstSize);
    const bool shrinking = scale < 1.0f;
    // Shrinking widens the filter by 1 / scale and lowers it by the same factor.
    const float width = shrinking ? support / scale : support;
    const float fscale = shrinking ? 1.0f / scale : 1.0f;
    for (int i = 0; i < dstSize; ++i) {
        c.first.push_back(int(c.items.size()));
        const float centre = float(double(i) / double(scale));
        const int left = int(std::floor(centre - width));
        const int right = int(std::ceil(centre + width));
        for (int j = left; j <= right; ++j) {
            const float weight =
                shrinking ? filter.kernel((centre - float(j)) / fscale) / fscale : filter.kernel(centre - float(j));
            if (weight == 0.0f)
                continue;
            c.items.push_back({mirrored(j, srcSize), weight});
        }
    }
    c.first.push_back(int(c.items.size()));
    return c;
}

QImage ResampleStretch(const QImage &srcIn, int dw, int dh, const ResampleFilter &filter, float support,
                       Progress &progress)
{
    if (srcIn.width() < 1 || srcIn.height() < 1)
        throw VermeoError(QStringLiteral("Image source trop petite"));
    const QImage src = toWorkingImage(srcIn);
    const int sw = src.width(), sh = src.height();
    if (!isHoldableSize(dw, dh) || !isHoldableSize(dw, sh))
        throw VermeoError(QStringLiteral("Taille d'image impossible : %1 x %2.").arg(dw).arg(dh));
    const Contributions across = contributions(sw, dw, filter, support);
    const Contributions down = contributions(sh, dh, filter, support);
    QImage out = newWorkingImage(dw, dh);
    const auto in = rowsOf(src);
    const auto res = rowsOf(out);

    // Horizontal pass of source row y into d (a row of the work picture).
    auto horizontalRow = [&](int y, QRgb *d) {
        const QRgb *s = in[y];
        for (int i = 0; i < dw; ++i) {
            ChannelSums sum;
            for (int k = across.first[size_t(i)]; k < across.first[size_t(i) + 1]; ++k) {
                const Contributions::Item &c = across.items[size_t(k)];
                sum.add(c.weight, s[c.pixel]);
            }
            d[i] = sum.pixel();
        }
    };
    // Vertical pass of target row i from the work rows, a whole row of sums at a time
    // (each pixel's sum still runs in contributor order).
    auto verticalRow = [&](int i, std::vector<ChannelSums> &sums, auto workRow) {
        std::fill(sums.begin(), sums.end(), ChannelSums());
        for (int k = down.first[size_t(i)]; k < down.first[size_t(i) + 1]; ++k) {
            const Contributions::Item &c = down.items[size_t(k)];
            const QRgb *s = workRow(c.pixel);
            ChannelSums *a = sums.data();
            for (int x = 0; x < dw; ++x)
                a[x].add(c.weight, s[x]);
        }
        QRgb *d = res[i];
        for (int x = 0; x < dw; ++x)
            d[x] = sums[size_t(x)].pixel();
    };

    // Each band of target rows makes the work rows it reads, which then stay in the
    // cache; the work picture is never held whole. Neighbouring bands make a few rows
    // twice (the filter's reach, about an eighth more work), with the same values.
    std::vector<std::pair<int, int>> reads;
    for (int y0 = 0; y0 < dh; y0 += kStreamBand) {
        int lo = sh, hi = -1;
        for (int i = y0; i < std::min(dh, y0 + kStreamBand); ++i)
            for (int k = down.first[size_t(i)]; k < down.first[size_t(i) + 1]; ++k) {
                lo = std::min(lo, down.items[size_t(k)].pixel);
                hi = std::max(hi, down.items[size_t(k)].pixel);
            }
        reads.emplace_back(lo, hi);
    }
    std::mutex poolLock;
    std::vector<std::vector<QRgb>> pool; // buffers of work rows, one per thread at a time
    auto band = [&](int y0, int y1) {
        std::vector<QRgb> rows;
        {
            const std::lock_guard<std::mutex> lock(poolLock);
            if (!pool.empty()) {
                rows = std::move(pool.back());
                pool.pop_back();
            }
        }
        // Plain variables: clang (the fuzzing build) lets no lambda capture a structured binding.
        const int lo = reads[size_t(y0 / kStreamBand)].first, hi = reads[size_t(y0 / kStreamBand)].second;
        rows.resize(size_t(std::max(hi - lo + 1, 0)) * size_t(dw));
        for (int y = lo; y <= hi; ++y)
            horizontalRow(y, rows.data() + size_t(y - lo) * size_t(dw));
        std::vector<ChannelSums> sums(static_cast<size_t>(dw));
        for (int i = y0; i < y1; ++i)
            verticalRow(i, sums, [&](int y) { return rows.data() + size_t(y - lo) * size_t(dw); });
        const std::lock_guard<std::mutex> lock(poolLock);
        pool.push_back(std::move(rows));
    };
    try {
        forBandsInParallel(dh, kStreamBand, band,
                           [&](int done) { progress.setPosition(int((long long)done * 100 / dh)); });
    } catch (const std::bad_alloc &) {
        throw VermeoError(QStringLiteral("Mémoire insuffisante pour une image de %1 x %2.").arg(dw).arg(dh));
    }
    return out;
}

} // namespace vermeo::geometry
