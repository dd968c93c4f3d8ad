// Resampling and rotation on a 6000 x 4000 picture, and merging two of them with each
// raster operation, next to a plain pass over the same pixels (one read and one
// write each) as the floor to compare with. The whole-process comparison with
// ImageMagick and libvips is bench/transform_vs_tools.sh.
#include "Merge.h"
#include "Resample.h"
#include "Rotate.h"

#include <QImage>
#include <benchmark/benchmark.h>

namespace {
QImage makePicture(int seed)
{
    QImage i(6000, 4000, QImage::Format_RGB32);
    for (int y = 0; y < i.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(i.scanLine(y));
        for (int x = 0; x < i.width(); ++x)
            line[x] = 0xFF000000u | QRgb((x * 7 + y * 13 + seed * (x ^ y)) & 0xFFFFFF);
    }
    return i;
}

const QImage &bigPicture()
{
    static const QImage img = makePicture(0);
    return img;
}

const QImage &secondPicture()
{
    static const QImage img = makePicture(5);
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

void MitchellDown(benchmark::State &state)
{
    const auto &f = vermeo::geometry::mitchellFilter();
    for (auto _ : state)
        benchmark::DoNotOptimize(
            vermeo::geometry::ResampleStretch(bigPicture(), 3000, 2000, f, 2.0f, vermeo::silentProgress()).constBits());
}

void MitchellUp(benchmark::State &state)
{
    const auto &f = vermeo::geometry::mitchellFilter();
    for (auto _ : state)
        benchmark::DoNotOptimize(
            vermeo::geometry::ResampleStretch(bigPicture(), 12000, 8000, f, 2.0f, vermeo::silentProgress())
                .constBits());
}

void Rotate90(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(
            vermeo::geometry::rotateImage(bigPicture(), 0xFFFFFFFFu, 90, vermeo::silentProgress()).constBits());
}

void Rotate45(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(
            vermeo::geometry::rotateImage(bigPicture(), 0xFFFFFFFFu, 45, vermeo::silentProgress()).constBits());
}

// Merging: state.range(0) is the operation's number 1..6.
void Merge(benchmark::State &state)
{
    const vermeo::CopyMode mode = vermeo::geometry::mergeCopyMode(int(state.range(0)));
    bigPicture();
    secondPicture();
    for (auto _ : state)
        benchmark::DoNotOptimize(vermeo::geometry::mergePictures(bigPicture(), secondPicture(), mode).constBits());
}
} // namespace

BENCHMARK(PlainPass)->Unit(benchmark::kMillisecond);
BENCHMARK(MitchellDown)->Unit(benchmark::kMillisecond);
BENCHMARK(MitchellUp)->Unit(benchmark::kMillisecond);
BENCHMARK(Rotate90)->Unit(benchmark::kMillisecond);
BENCHMARK(Rotate45)->Unit(benchmark::kMillisecond);
BENCHMARK(Merge)->DenseRange(1, 6)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
