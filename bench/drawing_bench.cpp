// Drawing feedback must cost the same on a huge picture as on a small one: a mouse
// move repaints only what it touched. Flood fill must stay close to one plain pass.
#include "Attributes.h"
#include "DocumentHost.h"
#include "ImageDocument.h"
#include "MouseTools.h"

#include <benchmark/benchmark.h>
#include <memory>

using namespace vermeo;

namespace {

struct Drawing {
    ImageDocument doc;
    DocumentHost host;
    long long reportedPixels = 0;

    Drawing(int w, int h, int tool)
    {
        doc.Init(w, h, clWhite);
        SetIni(doc, host, 1, 1, bsClear, clWhite, clBlack, psSolid);
        SetFrame(doc, host, tool);
        // What the view would repaint.
        doc.onChanged = [this](const QRegion &region) {
            for (const QRect &r : region)
                reportedPixels += (long long)r.width() * r.height();
        };
        ShiftState held;
        held.left = true;
        FormMouseDown(doc, host, Qt::LeftButton, held, 20, 20);
    }
};

// 200 moves inside a 380 x 280 area, the same on every picture size.
void replayMoves(Drawing &d)
{
    ShiftState held;
    held.left = true;
    for (int i = 0; i < 200; ++i) {
        const int x = 30 + (i * 37) % 350;
        const int y = 30 + (i * 53) % 250;
        FormMouseMove(d.doc, d.host, held, x, y);
    }
}

void BM_RubberBandDrag(benchmark::State &state)
{
    Drawing d(int(state.range(0)), int(state.range(1)), 1);
    for (auto _ : state)
        replayMoves(d);
    state.counters["px_per_move"] = double(d.reportedPixels) / (200.0 * double(state.iterations()));
}
BENCHMARK(BM_RubberBandDrag)->Args({400, 300})->Args({6000, 4000})->Unit(benchmark::kMicrosecond);

void BM_PencilStroke(benchmark::State &state)
{
    Drawing d(int(state.range(0)), int(state.range(1)), 4);
    for (auto _ : state)
        replayMoves(d);
    state.counters["px_per_move"] = double(d.reportedPixels) / (200.0 * double(state.iterations()));
}
BENCHMARK(BM_PencilStroke)->Args({400, 300})->Args({6000, 4000})->Unit(benchmark::kMicrosecond);

void BM_FloodFill6000x4000(benchmark::State &state)
{
    ImageDocument doc;
    doc.Init(6000, 4000, clWhite);
    Canvas &c = doc.canvas();
    c.setBrushStyle(bsSolid);
    bool red = true;
    for (auto _ : state) {
        // Alternate the colour so every fill covers the whole picture.
        c.setBrushColour(red ? clRed : clWhite);
        c.FloodFill(3000, 2000);
        red = !red;
        benchmark::DoNotOptimize(doc.image().constBits());
    }
}
BENCHMARK(BM_FloodFill6000x4000)->Unit(benchmark::kMillisecond);

// The yardstick: one pass that reads every pixel and writes the matching ones.
void BM_PlainPass6000x4000(benchmark::State &state)
{
    QImage img(6000, 4000, QImage::Format_RGB32);
    img.fill(Qt::white);
    QRgb from = 0xFFFFFFFFu, to = 0xFFFF0000u;
    for (auto _ : state) {
        for (int y = 0; y < img.height(); ++y) {
            QRgb *row = reinterpret_cast<QRgb *>(img.scanLine(y));
            for (int x = 0; x < img.width(); ++x)
                if (row[x] == from)
                    row[x] = to;
        }
        std::swap(from, to);
        benchmark::DoNotOptimize(img.constBits());
    }
}
BENCHMARK(BM_PlainPass6000x4000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
