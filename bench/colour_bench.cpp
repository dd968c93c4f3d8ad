// The per-pixel colour kernels on a 6000 x 4000 picture, each against a plain
// read-and-write pass over the same pixels measured in the same run. Times are the
// thread's CPU time; the counter "x_plain" is the kernel's best time divided by the
// plain pass's best time.
#include "ChannelKernels.h"
#include "HistogramKernels.h"
#include "PixelPass.h"
#include "ShadowGradient.h"
#include "ToneKernels.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <ctime>
#include <functional>

using namespace vermeo;
using namespace vermeo::colour;

namespace {
const QImage &picture()
{
    static const QImage img = [] {
        QImage i(6000, 4000, QImage::Format_RGB32);
        for (int y = 0; y < i.height(); ++y) {
            QRgb *p = reinterpret_cast<QRgb *>(i.scanLine(y));
            for (int x = 0; x < i.width(); ++x)
                p[x] = qRgb((x * 7 + y) & 255, (y * 3 + x / 5) & 255, (x ^ y) & 255);
        }
        return i;
    }();
    return img;
}

// A new picture and one read and one write per pixel, nothing else.
QImage plainPass(const QImage &src)
{
    QImage out(src.width(), src.height(), QImage::Format_RGB32);
    for (int y = 0; y < src.height(); ++y) {
        const QRgb *s = reinterpret_cast<const QRgb *>(src.constScanLine(y));
        QRgb *d = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < src.width(); ++x)
            d[x] = s[x];
    }
    return out;
}

// Thread CPU time: the machine is shared, and wall time would measure the neighbours.
double threadSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
}

double secondsOf(const std::function<void()> &f)
{
    const double t0 = threadSeconds();
    f();
    return threadSeconds() - t0;
}

double plainSeconds()
{
    static const double best = [] {
        double b = 1e9;
        for (int i = 0; i < 5; ++i)
            b = std::min(b, secondsOf([] { benchmark::DoNotOptimize(plainPass(picture())); }));
        return b;
    }();
    return best;
}

void run(benchmark::State &state, const std::function<void()> &kernel)
{
    picture();
    plainSeconds();
    double best = 1e9;
    for (auto _ : state) {
        const double s = secondsOf(kernel);
        state.SetIterationTime(s);
        best = std::min(best, s);
    }
    state.counters["x_plain"] = best / plainSeconds();
    state.SetItemsProcessed(state.iterations() * 6000LL * 4000LL);
}

#define KERNEL_BENCH(name, expr)                                                                                       \
    void name(benchmark::State &state)                                                                                 \
    {                                                                                                                  \
        run(state, [] { benchmark::DoNotOptimize(expr); });                                                            \
    }                                                                                                                  \
    BENCHMARK(name)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(1.0);

Progress &q() { return silentProgress(); }
} // namespace

KERNEL_BENCH(PlainPass, plainPass(picture()))
KERNEL_BENCH(Brightness, brightness(picture(), 51, q()))
KERNEL_BENCH(Clarity, clarity(picture(), 127, q()))
KERNEL_BENCH(Contrast, contrast(picture(), 51, q()))
KERNEL_BENCH(Saturation, saturation(picture(), 40, q()))
KERNEL_BENCH(Tint, tint(picture(), 3, 51, q()))
KERNEL_BENCH(Solarise, solarise(picture(), 100, q()))
KERNEL_BENCH(Balance, balance(picture(), 51, -25, 100, q()))
KERNEL_BENCH(Permute, permute(picture(), 4, q()))
KERNEL_BENCH(Greyscale, greyscale(picture(), q()))
KERNEL_BENCH(Invert, invert(picture()))
KERNEL_BENCH(Monochrome, monochrome(picture()))
KERNEL_BENCH(ShadowGauche, shadow(picture(), 5, Gauche, q()))
KERNEL_BENCH(ShadowDroite, shadow(picture(), 5, Droite, q()))
KERNEL_BENCH(ShadowHaut, shadow(picture(), 5, Haut, q()))
KERNEL_BENCH(ShadowBas, shadow(picture(), 5, Bas, q()))
KERNEL_BENCH(CountColours, countColours(picture(), q()))

// In place, on a copy made outside the timing.
void ReplaceColour(benchmark::State &state)
{
    picture();
    plainSeconds();
    double best = 1e9;
    for (auto _ : state) {
        QImage img = picture().copy();
        const double s = secondsOf([&] { replaceColour(img, 0x00000000u, 0x00FFFFFFu, q()); });
        state.SetIterationTime(s);
        best = std::min(best, s);
    }
    state.counters["x_plain"] = best / plainSeconds();
}
BENCHMARK(ReplaceColour)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(1.0);

BENCHMARK_MAIN();
