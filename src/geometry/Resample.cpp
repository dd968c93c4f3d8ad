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

#if defined(__SSE2__)
// The four bytes of a pixel as four floats (blue, green, red and the fourth byte).
inline __m128 channelsOf(QRgb p)
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i i = _mm_cvtsi32_si128(int(p));
    return _mm_cvtepi32_ps(_mm_unpacklo_epi16(_mm_unpacklo_epi8(i, zero), zero));
}

// The channels of the four pixels of q.
inline void channelsOf4(__m128i q, __m128 out[4])
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i lo = _mm_unpacklo_epi8(q, zero), hi = _mm_unpackhi_epi8(q, zero);
    out[0] = _mm_cvtepi32_ps(_mm_unpacklo_epi16(lo, zero));
    out[1] = _mm_cvtepi32_ps(_mm_unpackhi_epi16(lo, zero));
    out[2] = _mm_cvtepi32_ps(_mm_unpacklo_epi16(hi, zero));
    out[3] = _mm_cvtepi32_ps(_mm_unpackhi_epi16(hi, zero));
}

// Four sums as four pixels, each clamped and rounded as ChannelSums::pixel does.
inline __m128i pixelsOf4(const __m128 sums[4])
{
    const __m128 low = _mm_setzero_ps(), high = _mm_set1_ps(255.0f);
    __m128i v[4];
    for (int j = 0; j < 4; ++j)
        v[j] = _mm_cvtps_epi32(_mm_min_ps(_mm_max_ps(sums[j], low), high));
    const __m128i bytes = _mm_packus_epi16(_mm_packs_epi32(v[0], v[1]), _mm_packs_epi32(v[2], v[3]));
    return _mm_or_si128(bytes, _mm_set1_epi32(int(0xFF000000u)));
}
#endif

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

ResampledRows::ResampledRows(const QImage &srcIn, int dw, int dh, const ResampleFilter &filter, float support)
    : ResampledRows(srcIn.width(), srcIn.height(), dw, dh, filter, support)
{
    m_src = toWorkingImage(srcIn);
}

ResampledRows::ResampledRows(int sw, int sh, int dw, int dh, const ResampleFilter &filter, float support)
    : m_sw(sw), m_sh(sh), m_dw(dw), m_dh(dh)
{
    if (sw < 1 || sh < 1)
        throw VermeoError(QStringLiteral("Image source trop petite"));
    if (!isHoldableSize(dw, dh) || !isHoldableSize(dw, sh))
        throw VermeoError(QStringLiteral("Taille d'image impossible : %1 x %2.").arg(dw).arg(dh));
    m_across = contributions(sw, dw, filter, support);
    m_down = contributions(sh, dh, filter, support);
    // Every target pixel of a row gets as many contributors as the most any has: the
    // added ones weigh 0 and come last, and adding 0 leaves a sum as it was (bar the
    // sign of a zero, which the clamp makes 0 all the same).
    for (int i = 0; i < dw; ++i)
        m_taps = std::max(m_taps, m_across.first[size_t(i) + 1] - m_across.first[size_t(i)]);
    m_padded.resize(size_t(dw) * size_t(m_taps), {0, 0.0f});
    for (int i = 0; i < dw; ++i) {
        const int begin = m_across.first[size_t(i)], end = m_across.first[size_t(i) + 1];
        for (int k = begin; k < end; ++k)
            m_padded[size_t(i) * size_t(m_taps) + size_t(k - begin)] = m_across.items[size_t(k)];
    }
}

// Source row s across into d (a row of the work picture). f holds a float for each
// channel of each source pixel.
void ResampledRows::horizontalRow(const QRgb *s, QRgb *d, std::vector<float> &f) const
{
    const int dw = m_dw, taps = m_taps;
#if defined(__SSE2__)
    const int sw = m_sw;
    f.resize(size_t(sw) * 4);
    int x = 0;
    for (; x + 4 <= sw; x += 4) {
        __m128 c[4];
        channelsOf4(_mm_loadu_si128(reinterpret_cast<const __m128i *>(s + x)), c);
        for (int j = 0; j < 4; ++j)
            _mm_storeu_ps(f.data() + 4 * (x + j), c[j]);
    }
    for (; x < sw; ++x)
        _mm_storeu_ps(f.data() + 4 * x, channelsOf(s[x]));
    // Four target pixels at once, each with a sum of its own taken in contributor order.
    const Contributions::Item *items = m_padded.data();
    int i = 0;
    for (; i + 4 <= dw; i += 4) {
        __m128 sums[4] = {_mm_setzero_ps(), _mm_setzero_ps(), _mm_setzero_ps(), _mm_setzero_ps()};
        const Contributions::Item *row = items + size_t(i) * size_t(taps);
        for (int k = 0; k < taps; ++k)
            for (int j = 0; j < 4; ++j) {
                const Contributions::Item &c = row[j * taps + k];
                sums[j] = _mm_add_ps(sums[j], _mm_mul_ps(_mm_set1_ps(c.weight), _mm_loadu_ps(f.data() + 4 * c.pixel)));
            }
        _mm_storeu_si128(reinterpret_cast<__m128i *>(d + i), pixelsOf4(sums));
    }
#else
    (void)f;
    int i = 0;
#endif
    for (; i < dw; ++i) {
        ChannelSums sum;
        for (int k = 0; k < taps; ++k) {
            const Contributions::Item &c = m_padded[size_t(i) * size_t(taps) + size_t(k)];
            sum.add(c.weight, s[c.pixel]);
        }
        d[i] = sum.pixel();
    }
}

// Target row i down from the work rows into d; each pixel's sum runs in contributor order.
template <class WorkRow>
void ResampledRows::verticalRow(int i, QRgb *d, WorkRow workRow) const
{
    const int dw = m_dw;
    const int begin = m_down.first[size_t(i)], end = m_down.first[size_t(i) + 1];
    const Contributions::Item *items = m_down.items.data();
    int x = 0;
#if defined(__SSE2__)
    for (; x + 4 <= dw; x += 4) {
        __m128 sums[4] = {_mm_setzero_ps(), _mm_setzero_ps(), _mm_setzero_ps(), _mm_setzero_ps()};
        for (int k = begin; k < end; ++k) {
            const __m128 weight = _mm_set1_ps(items[k].weight);
            __m128 c[4];
            channelsOf4(_mm_loadu_si128(reinterpret_cast<const __m128i *>(workRow(items[k].pixel) + x)), c);
            for (int j = 0; j < 4; ++j)
                sums[j] = _mm_add_ps(sums[j], _mm_mul_ps(weight, c[j]));
        }
        _mm_storeu_si128(reinterpret_cast<__m128i *>(d + x), pixelsOf4(sums));
    }
#endif
    for (; x < dw; ++x) {
        ChannelSums sum;
        for (int k = begin; k < end; ++k)
            sum.add(items[k].weight, workRow(items[k].pixel)[x]);
        d[x] = sum.pixel();
    }
}

// Target rows y0 .. y1 - 1 into rows[0 ..). The band makes the work rows it reads,
// which then stay in the cache; the work picture is never held whole. Neighbouring
// bands make a few rows twice (the filter's reach), with the same values.
std::pair<int, int> ResampledRows::sourceRows(int y0, int count) const
{
    int lo = m_sh, hi = -1;
    for (int k = m_down.first[size_t(y0)]; k < m_down.first[size_t(y0 + count)]; ++k) {
        lo = std::min(lo, m_down.items[size_t(k)].pixel);
        hi = std::max(hi, m_down.items[size_t(k)].pixel);
    }
    return {lo, hi};
}

void ResampledRows::makeBand(int y0, int y1, RowsOf<QRgb> rows, RowsOf<const QRgb> source, int first) const
{
    const int dw = m_dw;
    const auto [lo, hi] = sourceRows(y0, y1 - y0);
    // Buffers of a thread's own while it makes the band, kept for the next band.
    Buffers buffers;
    {
        const std::lock_guard<std::mutex> lock(m_poolLock);
        if (!m_pool.empty()) {
            buffers = std::move(m_pool.back());
            m_pool.pop_back();
        }
    }
    std::vector<QRgb> &work = buffers.work;
    std::vector<float> &floats = buffers.floats;
    work.resize(size_t(std::max(hi - lo + 1, 0)) * size_t(dw));
    for (int y = lo; y <= hi; ++y)
        horizontalRow(source[y - first], work.data() + size_t(y - lo) * size_t(dw), floats);
    // Plain variables: clang (the fuzzing build) lets no lambda capture a structured binding.
    const QRgb *base = work.data();
    const int low = lo;
    for (int i = y0; i < y1; ++i)
        verticalRow(i, rows[i - y0], [base, low, dw](int y) { return base + size_t(y - low) * size_t(dw); });
    const std::lock_guard<std::mutex> lock(m_poolLock);
    m_pool.push_back(std::move(buffers));
}

void ResampledRows::make(int y0, int count, RowsOf<QRgb> rows, const std::function<void(int)> &progress) const
{
    make(y0, count, rows, rowsOf(m_src), 0, progress);
}

void ResampledRows::make(int y0, int count, RowsOf<QRgb> rows, RowsOf<const QRgb> source, int first,
                         const std::function<void(int)> &progress) const
{
    try {
        forBandsInParallel(
            count, kBand, [&](int i0, int i1) { makeBand(y0 + i0, y0 + i1, {rows[i0], rows.stride}, source, first); },
            progress);
    } catch (const std::bad_alloc &) {
        throw VermeoError(QStringLiteral("Mémoire insuffisante pour une image de %1 x %2.").arg(m_dw).arg(m_dh));
    }
}

FedResampledRows::FedResampledRows(RowFeed feed, int dw, int dh, const ResampleFilter &filter, float support)
    : m_feed(std::move(feed)), m_rows(m_feed.width, m_feed.height, dw, dh, filter, support)
{
    // The lowest source row that target row i or any after it reads.
    m_keepFrom.resize(size_t(dh) + 1, m_feed.height);
    for (int i = dh - 1; i >= 0; --i)
        m_keepFrom[size_t(i)] = std::min(m_keepFrom[size_t(i) + 1], m_rows.sourceRows(i, 1).first);
}

void FedResampledRows::make(int y0, int count, RowsOf<QRgb> rows)
{
    const int sw = m_feed.width;
    const int hi = m_rows.sourceRows(y0, count).second;
    // Rows no later target row reads are let go: the window keeps [m_first, m_next).
    const int keep = std::min(m_keepFrom[size_t(y0)], m_next);
    if (keep > m_first) {
        for (int y = keep; y < m_next; ++y)
            std::copy_n(rowOf(std::as_const(m_window), y - m_first), sw, rowOf(m_window, y - keep));
        m_first = keep;
    }
    if (hi >= m_next) {
        // The rows up to the last one these targets read, from the feed, after the others.
        // A larger window takes half as many rows again, so that it seldom grows.
        const int held = hi + 1 - m_first;
        if (m_window.height() < held) {
            QImage larger = newWorkingImage(sw, std::min(m_feed.height, std::max(held, m_window.height() * 3 / 2)));
            for (int y = m_first; y < m_next; ++y)
                std::copy_n(rowOf(std::as_const(m_window), y - m_first), sw, rowOf(larger, y - m_first));
            m_window = std::move(larger);
        }
        const auto window = rowsOf(m_window);
        m_feed.read({window[m_next - m_first], window.stride}, hi + 1 - m_next);
        m_next = hi + 1;
    }
    m_rows.make(y0, count, rows, rowsOf(std::as_const(m_window)), m_first);
}

QImage ResampleStretch(const QImage &src, int dw, int dh, const ResampleFilter &filter, float support,
                       Progress &progress)
{
    const ResampledRows made(src, dw, dh, filter, support);
    QImage out = newWorkingImage(dw, dh);
    made.make(0, dh, rowsOf(out), [&](int done) { progress.setPosition(int((long long)done * 100 / dh)); });
    return out;
}

} // namespace vermeo::geometry
