// Resize and mirrors on a 6000 x 4000 picture, next to a plain pass over the same
// pixels (one read and one write each) as the floor to compare with.
#include "GeometryKernels.h"

#include <QImage>
#include <benchmark/benchmark.h>

namespace {
const QImage &bigPicture()
{
    static const QImage img = [] {
        QImage i(6000, 4000, QImage::Format_RGB32);
        for (int y = 0; y < i.height(); ++y) {
            auto *line = reinterpret_cast<QRgb *>(i.scanLine(y));
            for (int x = 0; x < i.width(); ++x)
                line[x] = 0xFF000000u | QRgb((x * 7 + y * 13) & 0xFFFFFF);
        }
        return i;
    }();
    return img;
}

void PlainPass(benchmark::State &state)
{
    const QImage &src = bigPicture();
    for (auto _ : state) {
        QImage dst(src.size(), QImage::Format_RGB32);
        for (int y = 0; y < src.height(); ++y) {
            const auto *s = reinterpret_cast<const QRgb *>(src.constScanLine(y));
            auto *d = reinterpret_cast<QRgb *>(dst.scanLine(y));
            for (int x = 0; x < src.width(); ++x)
                d[x] = s[x] ^ 0x00FFFFFFu;
        }
        benchmark::DoNotOptimize(dst.constBits());
    }
}

void StretchHalf(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(vermeo::geometry::stretchImage(bigPicture(), 3000, 2000).constBits());
}

void StretchSameSizeOdd(benchmark::State &state)
{
    // Every output pixel is produced, as many as the plain pass writes.
    for (auto _ : state)
        benchmark::DoNotOptimize(vermeo::geometry::stretchImage(bigPicture(), 6001, 3999).constBits());
}

void MirrorHorizontal(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(vermeo::geometry::mirrorHorizontal(bigPicture()).constBits());
}

void MirrorVertical(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(vermeo::geometry::mirrorVertical(bigPicture()).constBits());
}
} // namespace

BENCHMARK(PlainPass)->Unit(benchmark::kMillisecond);
BENCHMARK(StretchHalf)->Unit(benchmark::kMillisecond);
BENCHMARK(StretchSameSizeOdd)->Unit(benchmark::kMillisecond);
BENCHMARK(MirrorHorizontal)->Unit(benchmark::kMillisecond);
BENCHMARK(MirrorVertical)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
