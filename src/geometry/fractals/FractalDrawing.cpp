#include "FractalDrawing.h"

#include "Canvas.h"
#include "Parallel.h"
#include "PixelRows.h"

#include <algorithm>
#include <cmath>
#include <thread>
#include <vector>

namespace vermeo::geometry {

namespace {

constexpr QRgb kBlack = 0xFF000000u;
constexpr QRgb kWhite = 0xFFFFFFFFu;

void plot(QImage &img, long long x, long long y, QRgb colour)
{
    if (x >= 0 && y >= 0 && x < img.width() && y < img.height())
        rowOf(img, int(y))[x] = colour;
}

// Mandelbrot and Julia, rows on every core: each row depends only on its own pixels.
void drawEscape(QImage &img, const FractalSettings &s, FractalMonitor &monitor)
{
    const int w = img.width(), h = img.height(), n = s.iterations;
    const double dx = (s.X1 - s.X0) / w, dy = (s.Y1 - s.Y0) / h;
    const bool julia = s.type == ftJulian;
    // The colour of every possible count, worked out once rather than per pixel.
    std::vector<QRgb> colourOfSteps(static_cast<size_t>(std::max(n, 0)) + 1);
    for (int k = 0; k <= n; ++k)
        colourOfSteps[size_t(k)] = toQRgb(fractalColour(escapeColourIndex(k, n)));
    const auto rows = rowsOf(img);
    const std::thread::id caller = std::this_thread::get_id();
    forBandsInParallel(
        h, 1,
        [&](int y0, int y1) {
            // Pixel by pixel display is for the calling thread, the one that can show it.
            const bool eachPixel = !s.lineIncremental && std::this_thread::get_id() == caller;
            for (int i = y0; i < y1; ++i) {
                if (monitor.stopRequested())
                    return;
                const double q = s.Y0 + i * dy;
                QRgb *row = rows[i];
                for (int j = 0; j < w; ++j) {
                    const double p = s.X0 + j * dx;
                    const int k = julia ? escapeSteps(0.0, 1.0, p, q, n) : escapeSteps(p, q, 0.0, 0.0, n);
                    row[j] = colourOfSteps[size_t(k)];
                    if (eachPixel) {
                        monitor.drawn();
                        if (monitor.stopRequested())
                            return;
                    }
                }
                monitor.rowFinished(i);
            }
        },
        [&](int) {
            if (!monitor.stopRequested())
                monitor.drawn();
        });
}

void drawMoire(QImage &img, const FractalSettings &s, FractalMonitor &monitor)
{
    const int w = img.width(), h = img.height();
    Canvas c(&img);
    c.setPenWidth(1);
    c.setPenStyle(psSolid);
    for (int x = 0; x < w; ++x) {
        c.setPenColour(x % 2 == 0 ? clBlack : clWhite);
        c.MoveTo(x, 0);
        c.LineTo(w - 1 - x, h);
        monitor.drawn();
        if (monitor.stopRequested())
            return;
    }
    for (int y = 0; y < h; ++y) {
        c.setPenColour(y % 2 == 0 ? clBlack : clWhite);
        c.MoveTo(0, y);
        c.LineTo(w, h - 1 - y);
        monitor.drawn();
        if (monitor.stopRequested())
            return;
    }
    const int cx = w / 2, cy = h / 2;
    for (int i = 1; i <= s.iterations; ++i)
        for (int j = 0; j <= cy; ++j) {
            for (int d = j; d <= cy; ++d) {
                // 32-bit arithmetic that wraps, as the rule's integers do.
                const std::uint32_t ii = std::uint32_t(i) * std::uint32_t(i);
                const std::uint32_t r2 =
                    std::uint32_t(d + 1) * std::uint32_t(d + 1) + std::uint32_t(j + 1) * std::uint32_t(j + 1);
                const std::int32_t v = std::int32_t(ii * r2);
                const QRgb colour = (v / 1024) % 2 != 0 ? kWhite : kBlack;
                plot(img, cx + j, cy + d, colour);
                plot(img, cx + d, cy + j, colour);
                plot(img, cx + d, cy - j, colour);
                plot(img, cx + j, cy - d, colour);
                plot(img, cx - j, cy - d, colour);
                plot(img, cx - d, cy - j, colour);
                plot(img, cx - d, cy + j, colour);
                plot(img, cx - j, cy + d, colour);
                if (!s.lineIncremental) {
                    monitor.drawn();
                    if (monitor.stopRequested())
                        return;
                }
            }
            monitor.drawn();
            if (monitor.stopRequested())
                return;
        }
}

void drawSierpinski(QImage &img, const FractalSettings &s, FractalMonitor &monitor)
{
    const int w = img.width(), h = img.height();
    FractalRandom random(s.seed);
    int x = w / 2, y = 0;
    for (int n = 1; n < s.iterations; ++n) {
        switch (random.next(4)) {
        case 1:
            x = (x + w / 2) >> 1;
            y = y >> 1;
            break;
        case 2:
            x = (x + w) >> 1;
            y = (y + h) >> 1;
            break;
        case 3:
            x = x >> 1;
            y = (y + h) >> 1;
            break;
        default: break;
        }
        plot(img, x, y, kBlack);
        monitor.drawn();
        if (monitor.stopRequested())
            return;
    }
}

void drawFunctionSystem(QImage &img, const FractalSettings &s, FractalMonitor &monitor)
{
    const int w = img.width(), h = img.height();
    const auto &maps = functionSystem(s.type);
    const auto thresholds = functionThresholds(s.type);
    FractalRandom random(s.seed);
    QPointF p(0.0, 0.0);
    for (int n = 0; n < 8; ++n)
        p = applyMap(maps[size_t(random.next(4))], p);
    for (int n = 1; n < s.iterations; ++n) {
        p = applyMap(maps[size_t(functionMapFor(thresholds, random.next(100)))], p);
        const double px = std::nearbyint(p.x() * h / 11.0 + w / 2);
        const double py = std::nearbyint(-p.y() * h / 11.0 + h / 2);
        if (std::fabs(px) < 1e9 && std::fabs(py) < 1e9)
            plot(img, (long long)px, (long long)py, kBlack);
        monitor.drawn();
        if (monitor.stopRequested())
            return;
    }
}

} // namespace

FractalSettings settingsOf(const TFractalProperties &p, std::uint32_t seed)
{
    FractalSettings s;
    s.type = p.FractalType();
    s.X0 = p.X0;
    s.Y0 = p.Y0;
    s.X1 = p.X1;
    s.Y1 = p.Y1;
    s.iterations = p.NumberOfIterations;
    s.lineIncremental = p.LineIncremental;
    s.seed = seed;
    return s;
}

// Other code of the process (vector copies and fills of the libraries) can leave the
// upper halves of the vector registers in use; every plain SSE step of this chain then
// waits on them, half as fast again. The AVX encoding of the same scalar operations
// does not wait, and gives the same bits.
#if defined(__x86_64__) && defined(__GNUC__)
__attribute__((target_clones("avx", "default")))
#endif
int escapeSteps(double cx, double cy, double zx, double zy, int n)
{
    double x = zx, y = zy, u = 0.0, v = 0.0;
    // A value of z met again means a cycle, which never escapes: the answer is n
    // then, without running the remaining steps (Brent's cycle detection).
    double seenX = x, seenY = y;
    int lap = 8, left = 8;
    int k = 0;
    while (k <= n) {
        if (u + v >= 4.0)
            break;
        u = x * x;
        v = y * y;
        y = 2.0 * x * y + cy;
        x = u - v + cx;
        ++k;
        if (x == seenX && y == seenY)
            return n;
        if (--left == 0) {
            seenX = x;
            seenY = y;
            lap *= 2;
            left = lap;
        }
    }
    return k - 1;
}

int escapeColourIndex(int k, int n)
{
    if (k == n)
        return 0;
    return int(std::nearbyint(double(k) / (double(n) * 0.0625)));
}

const std::array<AffineMap, 4> &functionSystem(TFractalTypes type)
{
    static const std::array<AffineMap, 4> fern = {{{0.03, 0.31, 0.35, -0.05, 0.50, -0.92, 0.13},
                                                   {-0.02, 0.00, -0.27, 0.33, -0.12, -1.28, 0.01},
                                                   {0.80, 0.02, -0.04, 0.80, -0.02, 0.87, 0.74},
                                                   {-0.03, -0.30, 0.35, -0.04, -0.68, -0.94, 0.12}}};
    static const std::array<AffineMap, 4> leaf = {{{0.14, 0.01, 0.00, 0.51, -0.08, -1.31, 0.06},
                                                   {0.43, 0.52, -0.45, 0.50, 1.49, -0.75, 0.37},
                                                   {0.45, -0.49, 0.47, 0.47, -1.62, -0.74, 0.36},
                                                   {0.49, 0.00, 0.00, 0.51, 0.02, 1.62, 0.21}}};
    static const std::array<AffineMap, 4> curl = {{{0.04, 0.22, 0.31, -0.03, 0.63, -1.74, 0.13},
                                                   {-0.02, 0.00, -0.32, 0.26, -0.17, -1.35, 0.01},
                                                   {0.79, 0.06, -0.03, 0.73, -0.02, 1.03, 0.74},
                                                   {-0.03, -0.30, 0.35, -0.04, -0.68, -0.94, 0.12}}};
    static const std::array<AffineMap, 4> koch = {{{0.34, 0.00, 0.00, 0.34, 2.14, 0.02, 0.25},
                                                   {0.17, 0.29, -0.29, 0.17, 0.55, 0.94, 0.25},
                                                   {0.16, -0.29, 0.29, 0.16, -0.54, 0.95, 0.24},
                                                   {0.34, 0.00, 0.00, 0.34, -2.15, 0.01, 0.25}}};
    switch (type) {
    case ftFern: return fern;
    case ftLeaf: return leaf;
    case ftKoch: return koch;
    default: return curl;
    }
}

std::array<int, 4> functionThresholds(TFractalTypes type)
{
    const auto &maps = functionSystem(type);
    std::array<int, 4> t{};
    int sum = 0;
    for (size_t k = 0; k < 4; ++k) {
        sum += int(std::nearbyint(100.0 * maps[k].p));
        t[k] = sum;
    }
    return t;
}

int functionMapFor(const std::array<int, 4> &thresholds, int r)
{
    for (int k = 0; k < 4; ++k)
        if (r < thresholds[size_t(k)])
            return k;
    return 3;
}

QPointF applyMap(const AffineMap &m, QPointF p)
{
    return {m.a * p.x() + m.b * p.y() + m.e, m.c * p.x() + m.d * p.y() + m.f};
}

void drawFractal(QImage &img, const FractalSettings &settings, FractalMonitor &monitor)
{
    img.fill(kWhite);
    if (img.width() < 1 || img.height() < 1)
        return;
    switch (settings.type) {
    case ftMandelBrot:
    case ftJulian: drawEscape(img, settings, monitor); break;
    case ftMoire: drawMoire(img, settings, monitor); break;
    case ftSierpinski: drawSierpinski(img, settings, monitor); break;
    default: drawFunctionSystem(img, settings, monitor); break;
    }
}

void drawFractal(QImage &img, const FractalSettings &settings)
{
    FractalMonitor quiet;
    drawFractal(img, settings, quiet);
}

void stretchFractalInto(QImage &picture, const QImage &fractal)
{
    if (picture.isNull())
        return;
    Canvas c(&picture);
    c.StretchDraw(gdiRect(0, 0, picture.width() - 1, picture.height() - 1), fractal);
}

void drawFractalInto(QImage &picture, const FractalSettings &settings)
{
    QImage fractal = newWorkingImage(kFractalControlWidth, kFractalControlHeight);
    drawFractal(fractal, settings);
    stretchFractalInto(picture, fractal);
}

} // namespace vermeo::geometry
