#include "Rotate.h"

#include "Error.h"
#include "Parallel.h"
#include "PixelRows.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace vermeo::geometry {

namespace {

constexpr long double kPiL = 3.141592653589793238462643383279502884L;
constexpr int kTile = 64;
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

// Quarter and half turns move every pixel once: no trigonometry, no rounding.
QImage quarterTurn(const QImage &src, int quarter, Progress &progress)
{
    const int w = src.width(), h = src.height();
    const bool swap = quarter % 2 == 1;
    QImage out = swap ? newWorkingImage(h, w) : newWorkingImage(w, h);
    const int ow = out.width(), oh = out.height();
    const auto in = rowsOf(src);
    const auto res = rowsOf(out);
    forBandsInParallel(
        oh, kBandRows,
        [&](int y0, int y1) {
            if (quarter == 2) {
                for (int y = y0; y < y1; ++y)
                    std::reverse_copy(in[h - 1 - y], in[h - 1 - y] + w, res[y]);
                return;
            }
            // A tile of result rows is written a row at a time; the source columns it reads
            // are a cache line wide and stay in the cache for the whole tile.
            for (int x0 = 0; x0 < ow; x0 += kTile) {
                const int x1 = std::min(ow, x0 + kTile);
                for (int y = y0; y < y1; ++y) {
                    QRgb *d = res[y];
                    if (quarter == 1) { // 90: result (x, y) = source (w - 1 - y, x)
                        const int sx = w - 1 - y;
                        for (int x = x0; x < x1; ++x)
                            d[x] = in[x][sx];
                    } else { // 270: result (x, y) = source (y, h - 1 - x)
                        for (int x = x0; x < x1; ++x)
                            d[x] = in[h - 1 - x][y];
                    }
                }
            }
        },
        progressByRows(progress, oh));
    return out;
}

} // namespace

QRgb rotationBackground(const QImage &picture)
{
    // A read outside the picture gives the all-ones value: white.
    if (picture.width() > 1 && picture.height() > 1)
        return picture.pixel(1, 1) | 0xFF000000u;
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

QImage rotateImage(const QImage &srcIn, QRgb background, double degrees, Progress &progress)
{
    const QImage src = toWorkingImage(srcIn);
    const double angle = reducedAngle(degrees);
    if (angle == 0.0)
        return src.copy();
    if (angle == 90.0 || angle == 180.0 || angle == 270.0)
        return quarterTurn(src, int(angle) / 90, progress);

    const int w = src.width(), h = src.height();
    const QSize size = rotatedSize(w, h, angle);
    const int ow = size.width(), oh = size.height();
    // Every result pixel is written once below, with the background where no source
    // pixel lands: no separate fill pass.
    QImage out = newWorkingImage(ow, oh);
    const QRgb fill = background | 0xFF000000u;
    const Trig t = trigOf(angle);
    const int cxr = ow / 2, cyr = oh / 2;
    const int cx = w / 2 - (t.c < 0 ? 1 : 0);
    const int cy = h / 2 - (t.s < 0 ? 1 : 0);
    // c dx and s dx of each result column, as the mapping computes them, and the same
    // rounded to double for the fast path.
    std::vector<long double> cdx(static_cast<size_t>(ow)), sdx(static_cast<size_t>(ow));
    std::vector<double> cdxFast(static_cast<size_t>(ow)), sdxFast(static_cast<size_t>(ow));
    for (int x = 0; x < ow; ++x) {
        cdx[size_t(x)] = t.c * (long double)(x - cxr);
        sdx[size_t(x)] = t.s * (long double)(x - cxr);
        cdxFast[size_t(x)] = double(cdx[size_t(x)]);
        sdxFast[size_t(x)] = double(sdx[size_t(x)]);
    }
    const auto in = rowsOf(src);
    const auto res = rowsOf(out);
    forBandsInParallel(
        oh, kBandRows,
        [&](int y0, int y1) {
            for (int y = y0; y < y1; ++y) {
                const long double dy = y - cyr;
                const long double sdy = t.s * dy, cdy = t.c * dy;
                const double sdyFast = double(sdy), cdyFast = double(cdy);
                QRgb *d = res[y];
                for (int x = 0; x < ow; ++x) {
                    // The double sums are within 1e-10 of the extended ones, so they round
                    // the same way unless a half lies between: only then is the sum
                    // taken again in extended precision.
                    const double a = cdxFast[size_t(x)] - sdyFast;
                    const double b = sdxFast[size_t(x)] + cdyFast;
                    long long xs = std::llrint(a), ys = std::llrint(b);
                    if (std::fabs(std::fabs(a - double(xs)) - 0.5) < kNearHalf)
                        xs = roundEven(cdx[size_t(x)] - sdy);
                    if (std::fabs(std::fabs(b - double(ys)) - 0.5) < kNearHalf)
                        ys = roundEven(sdx[size_t(x)] + cdy);
                    xs += cx;
                    ys += cy;
                    d[x] = (xs >= 0 && xs < w && ys >= 0 && ys < h) ? in[int(ys)][int(xs)] : fill;
                }
            }
        },
        progressByRows(progress, oh));
    return out;
}

} // namespace vermeo::geometry
