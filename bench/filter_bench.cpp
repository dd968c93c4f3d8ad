// The "Filtres" convolution and every special effect on a 6000 x 4000 picture, next to
// one plain pass over the same pixels (one read and one write each): into a new picture
// for the convolution, in place for the effects. After the run a table gives each time
// as a multiple of its plain pass.
#include "Convolution.h"
#include "EffectTable.h"
#include "ProgramRandom.h"

#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <string>

namespace {

const QImage &bigPicture()
{
    static const QImage img = [] {
        QImage i(6000, 4000, QImage::Format_RGB32);
        QPainter p(&i);
        QLinearGradient g(0, 0, 6000, 4000);
        g.setColorAt(0, QColor(230, 40, 30));
        g.setColorAt(0.5, QColor(240, 220, 60));
        g.setColorAt(1, QColor(20, 60, 200));
        p.fillRect(i.rect(), g);
        for (int k = 0; k < 40; ++k)
            p.fillRect(150 * k, 97 * k, 400, 300, QColor::fromHsv(k * 9, 200, 180));
        p.end();
        // Fine detail everywhere, as a photograph has.
        for (int y = 0; y < i.height(); ++y) {
            auto *line = reinterpret_cast<QRgb *>(i.scanLine(y));
            for (int x = 0; x < i.width(); ++x)
                line[x] ^= QRgb((x * 7 + y * 13) & 0x0F0F0F);
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

// The same pass in place, on a fresh copy that is not timed: the floor of the effects.
void PlainPassInPlace(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        QImage img = bigPicture().copy();
        state.ResumeTiming();
        for (int y = 0; y < img.height(); ++y) {
            auto *d = reinterpret_cast<QRgb *>(img.scanLine(y));
            for (int x = 0; x < img.width(); ++x)
                d[x] ^= 0x00FFFFFFu;
        }
        benchmark::DoNotOptimize(img.constBits());
    }
}

void Convolve(benchmark::State &state)
{
    // A sharpen filter within the coefficients' range: 1,24 in the centre, -0,06 around.
    const vermeo::geometry::FilterCoefficients sharpen = {{{0, -6, 0}, {-6, 124, -6}, {0, -6, 0}}};
    for (auto _ : state)
        benchmark::DoNotOptimize(
            vermeo::geometry::convolve(bigPicture(), sharpen, vermeo::silentProgress()).constBits());
}

// One effect on a fresh copy of the picture; the copy is not timed.
void Effect(benchmark::State &state, const vermeo::geometry::EffectEntry *e)
{
    vermeo::ProgramRandom::pinClockSeed(1);
    for (auto _ : state) {
        state.PauseTiming();
        QImage img = bigPicture().copy();
        state.ResumeTiming();
        vermeo::geometry::applyEffect(img, *e);
        benchmark::DoNotOptimize(img.constBits());
    }
}

// Keeps each benchmark's time per iteration for the table.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &r : runs)
            if (r.run_type == Run::RT_Iteration)
                times[r.benchmark_name()] = r.GetAdjustedRealTime();
    }
    std::map<std::string, double> times;
};

} // namespace

int main(int argc, char **argv)
{
    benchmark::RegisterBenchmark("PlainPass", PlainPass)->Unit(benchmark::kMillisecond)->UseRealTime();
    benchmark::RegisterBenchmark("PlainPassInPlace", PlainPassInPlace)->Unit(benchmark::kMillisecond)->UseRealTime();
    benchmark::RegisterBenchmark("Convolve", Convolve)->Unit(benchmark::kMillisecond)->UseRealTime();
    for (const auto &e : vermeo::geometry::effectTable())
        benchmark::RegisterBenchmark(("Effect/" + vermeo::geometry::effectKey(e).toStdString()).c_str(), Effect, &e)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    // A new picture against the pass that makes one; the effects, in place, against the in-place pass.
    const auto plain = reporter.times.find("PlainPass/real_time");
    const auto inPlace = reporter.times.find("PlainPassInPlace/real_time");
    if (plain == reporter.times.end() || inPlace == reporter.times.end())
        return 0;
    std::printf("\n%-36s %8s %10s\n", "", "ms", "/ plain");
    for (const auto &[name, t] : reporter.times) {
        const bool effect = name.rfind("Effect/", 0) == 0 || name.rfind("PlainPassInPlace", 0) == 0;
        std::printf("%-36s %8.1f %10.2f\n", name.c_str(), t, t / (effect ? inPlace : plain)->second);
    }
    return 0;
}
