#include "Rotate.h"

#include "Error.h"
#include "Parallel.h"
#include "PixelRows.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vermeo::geometry {

namespace {

constexpr long double kPiL = 3.141592653589793238462643383279502884L;
constexpr int kTile = 64;
// Rows and columns of the tiles a turn by another angle is made in.
constexpr int kTurnedRows = 16;
constexpr int kTurnedTile = 32;
// Rows of the tiles a turn made on every core is made in, at most.
constexpr int kTallTile = 256;
// Far wider than the gap between a double and an extended-precision sum of pictures
// of any size we hold, far narrower than a pixel.
constexpr double kNearHalf = 1e-6;

// Round half to even, as the size rule and the mapping round.
long long roundEven(long double v) { return std::llrintl(v); }

struct Trig {
    long double c, s;
};

Trig trigOf(double reduced)
{
    const long double r = (long double)reduced * kPiL / 180.0L;
    return {std::cos(r), std::sin(r)};
}

// The columns of a result row whose source may lie inside the picture: those where
// k u + q (u the column less the centre's) falls in [low, high], widened by far more
// than any rounding of the sums, so that every column left out is surely outside.
struct Span {
    int lo, hi;
};
Span insideSpan(double k, double q, double low, double high, int centre, int width)
{
    low -= 0.01;
    high += 0.01;
    if (std::fabs(k) < 1e-9)
        return (q >= low - 1 && q <= high + 1) ? Span{0, width} : Span{0, 0};
    double u0 = (low - q) / k, u1 = (high - q) / k;
    if (u0 > u1)
        std::swap(u0, u1);
    const double lo = std::max(0.0, std::floor(u0) - 1 + centre);
    const double hi = std::min(double(width), std::ceil(u1) + 2 + centre);
    return lo < hi ? Span{int(lo), int(hi)} : Span{0, 0};
}

#if defined(__SSE2__)
// The 4 x 4 pixels of rows v[0..3] as columns: t[k] holds pixel k of each row.
void transpose4(const __m128i v[4], __m128i t[4])
{
    const __m128i a = _mm_unpacklo_epi32(v[0], v[1]), b = _mm_unpacklo_epi32(v[2], v[3]);
    const __m128i c = _mm_unpackhi_epi32(v[0], v[1]), d = _mm_unpackhi_epi32(v[2], v[3]);
    t[0] = _mm_unpacklo_epi64(a, b);
    t[1] = _mm_unpackhi_epi64(a, b);
    t[2] = _mm_unpacklo_epi64(c, d);
    t[3] = _mm_unpackhi_epi64(c, d);
}
#endif

} // namespace

QRgb rotationBackground(const QImage &picture)
{
    // A read outside the picture gives the all-ones value: white.
    if (picture.width() > 1 && picture.height() > 1)
        return picture.pixel(1, 1) | 0xFF000000u;
    return 0xFFFFFFFFu;
}

QRgb rotationBackground(const PackedPixels &picture)
{
    if (picture.width > 1 && picture.height > 1)
        return picture.pixel(1, 1);
    return 0xFFFFFFFFu;
}

double rotationAngle(int choice, int typed)
{
    switch (choice) {
    case 1: return 90.0;
    case 2: return 270.0;
    case 3: return 180.0;
    default: return double(typed);
    }
}

double reducedAngle(double degrees)
{
    double a = std::fmod(degrees, 360.0);
    if (a < 0)
        a += 360.0;
    return a >= 360.0 ? 0.0 : a;
}

QSize rotatedSize(int w, int h, double degrees)
{
    const Trig t = trigOf(reducedAngle(degrees));
    const long double W = w, H = h;
    long double a, b;
    if (t.c * t.s >= 0) {
        a = std::fabs(t.c * W + t.s * H);
        b = std::fabs(t.s * W + t.c * H);
    } else {
        a = std::fabs(t.c * W - t.s * H);
        b = std::fabs(t.s * W - t.c * H);
    }
    const long long nw = roundEven(a), nh = roundEven(b);
    if (!isHoldableSize(nw, nh))
        throw VermeoError(QStringLiteral("Taille d'image impossible : %1 x %2.").arg(nw).arg(nh));
    return {int(nw), int(nh)};
}

RotatedRows::RotatedRows(const QImage &srcIn, QRgb background, double degrees)
    : m_src(toWorkingImage(srcIn)), m_angle(reducedAngle(degrees)), m_w(m_src.width()), m_h(m_src.height()),
      m_fill(background | 0xFF000000u)
{
    m_base = m_src.constBits();
    m_stride = m_src.bytesPerLine();
    prepare();
}

RotatedRows::RotatedRows(const PackedPixels &src, QRgb background, double degrees)
    : m_angle(reducedAngle(degrees)), m_w(src.width), m_h(src.height), m_fill(background | 0xFF000000u)
{
    m_base = src.base;
    m_stride = src.stride;
    m_bytes = src.bytesPerPixel;
    m_opaque = 0xFF000000u;
    if (m_angle == 0.0 || m_angle == 90.0 || m_angle == 180.0 || m_angle == 270.0) {
        // Quarter turns move whole blocks of working pixels: the picture is made first.
        m_src = newWorkingImage(m_w, m_h);
        const auto out = rowsOf(m_src);
        forBandsInParallel(m_h, kBandRows, [&](int y0, int y1) {
            for (int y = y0; y < y1; ++y)
                for (int x = 0; x < m_w; ++x)
                    out[y][x] = src.pixel(x, y);
        });
    }
    prepare();
}

void RotatedRows::prepare()
{
    const bool swap = m_angle == 90.0 || m_angle == 270.0;
    if (m_angle == 0.0 || m_angle == 180.0 || swap) {
        m_ow = swap ? m_h : m_w;
        m_oh = swap ? m_w : m_h;
        return;
    }
    const QSize size = rotatedSize(m_w, m_h, m_angle);
    m_ow = size.width();
    m_oh = size.height();
    const Trig t = trigOf(m_angle);
    m_c = t.c;
    m_s = t.s;
    m_cx = m_w / 2 - (t.c < 0 ? 1 : 0);
    m_cy = m_h / 2 - (t.s < 0 ? 1 : 0);
    // c dx and s dx of each result column, as the mapping computes them, and the same
    // rounded to double for the fast path.
    const int cxr = m_ow / 2;
    m_cdx.resize(size_t(m_ow));
    m_sdx.resize(size_t(m_ow));
    m_cdxFast.resize(size_t(m_ow));
    m_sdxFast.resize(size_t(m_ow));
    for (int x = 0; x < m_ow; ++x) {
        m_cdx[size_t(x)] = t.c * (long double)(x - cxr);
        m_sdx[size_t(x)] = t.s * (long double)(x - cxr);
        m_cdxFast[size_t(x)] = double(m_cdx[size_t(x)]);
        m_sdxFast[size_t(x)] = double(m_sdx[size_t(x)]);
    }
}

void RotatedRows::makeRows(int y0, int y1, RowsOf<QRgb> rows) const
{
    if (m_angle == 0.0) {
        const auto in = rowsOf(m_src);
        for (int y = y0; y < y1; ++y)
            std::copy_n(in[y], m_w, rows[y - y0]);
    } else if (m_angle == 90.0 || m_angle == 180.0 || m_angle == 270.0) {
        makeQuarterRows(y0, y1, rows);
    } else {
        makeTurnedRows(y0, y1, rows);
    }
}

void RotatedRows::make(int y0, int count, RowsOf<QRgb> rows) const
{
    if (m_angle == 0.0 || m_angle == 90.0 || m_angle == 180.0 || m_angle == 270.0) {
        forBandsInParallel(count, kBandRows,
                           [&](int i0, int i1) { makeRows(y0 + i0, y0 + i1, {rows[i0], rows.stride}); });
        return;
    }
    // Other turns go in tiles as tall as the rows asked for (up to kTallTile), the
    // threads sharing them out by columns: a tile reads a compact patch of the source,
    // so each of its pages is visited by few tiles.
    std::vector<TurnedRow> spans(size_t(std::min(count, kTallTile)));
    for (int b0 = 0; b0 < count; b0 += kTallTile) {
        const int b1 = std::min(count, b0 + kTallTile);
        turnedSpans(y0 + b0, y0 + b1, spans.data());
        const RowsOf<QRgb> band{rows[b0], rows.stride};
        const int tiles = (m_ow + kTurnedTile - 1) / kTurnedTile;
        forBandsInParallel(tiles, 1, [&](int i0, int i1) {
            const int c0 = i0 * kTurnedTile, c1 = std::min(m_ow, i1 * kTurnedTile);
            if (m_bytes == 3)
                makeTurnedTiles<3>(y0 + b0, y0 + b1, spans.data(), c0, c1, band);
            else
                makeTurnedTiles<4>(y0 + b0, y0 + b1, spans.data(), c0, c1, band);
        });
    }
}

// Result pixel (x, y) of a quarter turn: 90, source (w - 1 - y, x); 270, source (y, h - 1 - x).
QRgb RotatedRows::quarterPixel(RowsOf<const QRgb> in, int x, int y) const
{
    return m_angle == 90.0 ? in[x][m_w - 1 - y] : in[m_h - 1 - x][y];
}

// Quarter and half turns move every pixel once: no trigonometry, no rounding.
void RotatedRows::makeQuarterRows(int y0, int y1, RowsOf<QRgb> rows) const
{
    const int w = m_w, h = m_h, ow = m_ow;
    const auto in = rowsOf(m_src);
    if (m_angle == 180.0) {
        for (int y = y0; y < y1; ++y)
            std::reverse_copy(in[h - 1 - y], in[h - 1 - y] + w, rows[y - y0]);
        return;
    }
    // A tile of result rows is written a row at a time; the source columns it reads
    // are a cache line wide and stay in the cache for the whole tile. With SSE2, blocks
    // of 4 x 4 pixels are moved at once: four source rows read, turned in registers.
    for (int x0 = 0; x0 < ow; x0 += kTile) {
        const int x1 = std::min(ow, x0 + kTile);
        int y = y0;
#if defined(__SSE2__)
        for (; y + 4 <= y1; y += 4) {
            int x = x0;
            for (; x + 4 <= x1; x += 4) {
                __m128i v[4], t[4];
                // 90: result (x + i, y + j) = source (w - 1 - y - j, x + i): source row
                // x + i holds, from its column w - 4 - y on, the pixels of j = 3, 2, 1, 0.
                // 270: result (x + i, y + j) = source (y + j, h - 1 - x - i).
                for (int i = 0; i < 4; ++i)
                    v[i] = _mm_loadu_si128(reinterpret_cast<const __m128i *>(
                        m_angle == 90.0 ? in[x + i] + (w - 4 - y) : in[h - 1 - x - i] + y));
                transpose4(v, t);
                for (int j = 0; j < 4; ++j)
                    _mm_storeu_si128(reinterpret_cast<__m128i *>(rows[y + j - y0] + x), t[m_angle == 90.0 ? 3 - j : j]);
            }
            for (; x < x1; ++x)
                for (int j = 0; j < 4; ++j)
                    rows[y + j - y0][x] = quarterPixel(in, x, y + j);
        }
#endif
        for (; y < y1; ++y) {
            QRgb *d = rows[y - y0];
            for (int x = x0; x < x1; ++x)
                d[x] = quarterPixel(in, x, y);
        }
    }
}

void RotatedRows::turnedSpans(int y0, int y1, TurnedRow *spans) const
{
    const int w = m_w, h = m_h, ow = m_ow;
    const int cxr = m_ow / 2, cyr = m_oh / 2;
    for (int y = y0; y < y1; ++y) {
        TurnedRow &r = spans[y - y0];
        const long double dy = y - cyr;
        r.sdy = m_s * dy;
        r.cdy = m_c * dy;
        r.sdyFast = double(r.sdy);
        r.cdyFast = double(r.cdy);
        // Only the columns between the row's crossings of the picture's edges are
        // mapped one by one; the corners on either side take the background.
        const Span sa = insideSpan(double(m_c), -r.sdyFast, -m_cx - 0.5, w - 1 - m_cx + 0.5, cxr, ow);
        const Span sb = insideSpan(double(m_s), r.cdyFast, -m_cy - 0.5, h - 1 - m_cy + 0.5, cxr, ow);
        r.lo = std::max(sa.lo, sb.lo);
        r.hi = std::min(sa.hi, sb.hi);
        if (r.lo >= r.hi)
            r.lo = r.hi = 0;
    }
}

template <int Bytes>
void RotatedRows::makeTurnedTiles(int y0, int y1, const TurnedRow *spans, int c0, int c1,
                                  RowsOf<QRgb> rows) const
{
    const int w = m_w, h = m_h;
    const uchar *const base = m_base;
    const qsizetype stride = m_stride;
    const QRgb opaque = m_opaque, fill = m_fill;
    const auto pixelAt = [=](long long xs, long long ys) {
        const uchar *p = base + ys * stride + xs * Bytes;
        std::uint32_t v;
        if constexpr (Bytes == 3) {
            // Blue, green, red: the four bytes ending with red, the byte before dropped
            // (the headers lie before the first pixel, so that byte is always there).
            std::memcpy(&v, p - 1, 4);
            v >>= 8;
        } else {
            std::memcpy(&v, p, 4);
        }
        return v | opaque;
    };
    // The rows go a tile of columns at a time: the source rows a tile reads (one per
    // column, on a slant) are few enough to stay in the caches and the address
    // translation buffers from one row to the next.
    for (int t0 = c0; t0 < c1; t0 += kTurnedTile) {
        const int t1 = std::min(c1, t0 + kTurnedTile);
        for (int y = y0; y < y1; ++y) {
            const TurnedRow &r = spans[y - y0];
            QRgb *d = rows[y - y0];
            const int a = std::clamp(r.lo, t0, t1), b = std::clamp(r.hi, a, t1);
            std::fill(d + t0, d + a, fill);
            std::fill(d + b, d + t1, fill);
            const auto mapOne = [&](int x) {
                // The double sums are within 1e-10 of the extended ones, so they round
                // the same way unless a half lies between: only then is the sum
                // taken again in extended precision.
                const double ax = m_cdxFast[size_t(x)] - r.sdyFast;
                const double bx = m_sdxFast[size_t(x)] + r.cdyFast;
                long long xs = std::llrint(ax), ys = std::llrint(bx);
                if (std::fabs(std::fabs(ax - double(xs)) - 0.5) < kNearHalf)
                    xs = roundEven(m_cdx[size_t(x)] - r.sdy);
                if (std::fabs(std::fabs(bx - double(ys)) - 0.5) < kNearHalf)
                    ys = roundEven(m_sdx[size_t(x)] + r.cdy);
                xs += m_cx;
                ys += m_cy;
                d[x] = (xs >= 0 && xs < w && ys >= 0 && ys < h) ? pixelAt(xs, ys) : fill;
            };
            int x = a;
#if defined(__SSE2__)
            // Two columns at once, the same sums rounded the same way: the processor
            // rounds half to even as llrint does, and the sums lie far inside its range.
            const __m128d sdy = _mm_set1_pd(r.sdyFast), cdy = _mm_set1_pd(r.cdyFast);
            const __m128d half = _mm_set1_pd(0.5), nearHalf = _mm_set1_pd(kNearHalf);
            const __m128d magnitude = _mm_castsi128_pd(_mm_set1_epi64x(0x7FFFFFFFFFFFFFFFLL));
            const auto offHalf = [&](__m128d v, __m128i rounded) {
                const __m128d gap = _mm_and_pd(_mm_sub_pd(v, _mm_cvtepi32_pd(rounded)), magnitude);
                return _mm_cmplt_pd(_mm_and_pd(_mm_sub_pd(gap, half), magnitude), nearHalf);
            };
            for (; x + 2 <= b; x += 2) {
                const __m128d ax = _mm_sub_pd(_mm_loadu_pd(&m_cdxFast[size_t(x)]), sdy);
                const __m128d bx = _mm_add_pd(_mm_loadu_pd(&m_sdxFast[size_t(x)]), cdy);
                const __m128i xr = _mm_cvtpd_epi32(ax), yr = _mm_cvtpd_epi32(bx);
                if (_mm_movemask_pd(_mm_or_pd(offHalf(ax, xr), offHalf(bx, yr)))) {
                    mapOne(x);
                    mapOne(x + 1);
                    continue;
                }
                const __m128i xs = _mm_add_epi32(xr, _mm_set1_epi32(m_cx));
                const __m128i ys = _mm_add_epi32(yr, _mm_set1_epi32(m_cy));
                alignas(16) int px[4], py[4];
                _mm_store_si128(reinterpret_cast<__m128i *>(px), xs);
                _mm_store_si128(reinterpret_cast<__m128i *>(py), ys);
                for (int k = 0; k < 2; ++k)
                    d[x + k] = (unsigned(px[k]) < unsigned(w) && unsigned(py[k]) < unsigned(h))
                                   ? pixelAt(px[k], py[k])
                                   : fill;
            }
#endif
            for (; x < b; ++x)
                mapOne(x);
        }
    }
}

void RotatedRows::makeTurnedRows(int y0, int y1, RowsOf<QRgb> rows) const
{
    TurnedRow spans[kTurnedRows];
    for (int b0 = y0; b0 < y1; b0 += kTurnedRows) {
        const int b1 = std::min(y1, b0 + kTurnedRows);
        turnedSpans(b0, b1, spans);
        const RowsOf<QRgb> band{rows[b0 - y0], rows.stride};
        if (m_bytes == 3)
            makeTurnedTiles<3>(b0, b1, spans, 0, m_ow, band);
        else
            makeTurnedTiles<4>(b0, b1, spans, 0, m_ow, band);
    }
}

QImage rotateImage(const QImage &srcIn, QRgb background, double degrees, Progress &progress)
{
    const RotatedRows turned(srcIn, background, degrees);
    const QSize size = turned.size();
    if (reducedAngle(degrees) == 0.0)
        return toWorkingImage(srcIn).copy();
    QImage out = newWorkingImage(size.width(), size.height());
    const auto res = rowsOf(out);
    forBandsInParallel(
        size.height(), kBandRows, [&](int y0, int y1) { turned.makeRows(y0, y1, {res[y0], res.stride}); },
        progressByRows(progress, size.height()));
    return out;
}

} // namespace vermeo::geometry
