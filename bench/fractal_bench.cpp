// Mandelbrot and Julia at 1600 x 1200 with 30 000 iterations. Each is timed twice:
// the whole drawing, and the escape loop alone over the same points on the same
// threads; the difference is the share spent outside the iteration loop (colouring,
// writing the rows, the bands).
#include "FractalDrawing.h"
#include "Parallel.h"
#include "PixelRows.h"

#include <atomic>
#include <benchmark/benchmark.h>

namespace {
using namespace vermeo::geometry;

constexpr int kW = 1600, kH = 1200, kN = 30000;

FractalSettings settings(TFractalTypes type)
{
    FractalSettings s;
    s.type = type;
    s.iterations = kN;
    return s;
}

void Draw(benchmark::State &state, TFractalTypes type)
{
    QImage img = vermeo::newWorkingImage(kW, kH);
    for (auto _ : state) {
        drawFractal(img, settings(type));
        benchmark::DoNotOptimize(img.constBits());
    }
}

void IterationsOnly(benchmark::State &state, TFractalTypes type)
{
    const FractalSettings s = settings(type);
    const double dx = (s.X1 - s.X0) / kW, dy = (s.Y1 - s.Y0) / kH;
    for (auto _ : state) {
        std::atomic<long long> total{0};
        vermeo::forBandsInParallel(kH, 1, [&](int y0, int y1) {
            long long sum = 0;
            for (int i = y0; i < y1; ++i)
                for (int j = 0; j < kW; ++j) {
                    const double p = s.X0 + j * dx, q = s.Y0 + i * dy;
                    sum += type == ftJulian ? escapeSteps(0.0, 1.0, p, q, kN) : escapeSteps(p, q, 0.0, 0.0, kN);
                }
            total += sum;
        });
        benchmark::DoNotOptimize(total.load());
    }
}
} // namespace

BENCHMARK_CAPTURE(Draw, Mandelbrot, ftMandelBrot)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(IterationsOnly, Mandelbrot, ftMandelBrot)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(Draw, Julia, ftJulian)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(IterationsOnly, Julia, ftJulian)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();
