// What the user does to a picture, on a 6000 x 4000 photo against a 400 x 300 picture:
// a click, moves of a small band and of a band over the whole picture, the release of
// a figure, select-all, delete, copy, undo, a zoom step. Each measure includes the
// repaint of what changed on a 1200 x 900 visible area of the window, as the view
// paints it. A zoom step and a whole-picture delete are measured against one plain
// read-and-write pass over the same pixels.
#include "BenchRatios.h"
#include "TestPictures.h"

#include "AirBrush.h"
#include "Attributes.h"
#include "Clipboard.h"
#include "Figures.h"
#include "MouseTools.h"
#include "PixelRows.h"
#include "Selection.h"
#include "Zoom.h"

#include <QApplication>
#include <QPainter>
#include <QRandomGenerator>

using namespace vermeo;

namespace {

QImage photo(int w, int h) { return test::noise(w, h, 3); }

// A picture in a window: what changes is painted on the visible area, as the view does.
struct Window {
    ImageDocument doc;
    DocumentHost host;
    TAirBrush air;
    MouseSequence mouse{doc, host, air};
    QImage screen{1200, 900, QImage::Format_RGB32};
    long long paintedPixels = 0;

    Window(int w, int h, int tool)
    {
        doc.Init(w, h, clWhite);
        doc.replacePixels(photo(w, h));
        SetIni(doc, host, 1, 1, bsClear, clWhite, clBlack, psSolid);
        SetFrame(doc, host, tool);
        doc.onChanged = [this](const QRegion &r) { paint(r); };
        doc.onReplaced = [this] { paint(QRegion(doc.viewRect())); };
    }
    void paint(const QRegion &r)
    {
        const QRegion visible = r.intersected(screen.rect());
        for (const QRect &rect : visible)
            paintedPixels += (long long)rect.width() * rect.height();
        QPainter p(&screen);
        paintView(p, doc, visible);
    }
};

ShiftState left()
{
    ShiftState s;
    s.left = true;
    return s;
}

QSize sizeOf(const benchmark::State &state) { return {int(state.range(0)), int(state.range(1))}; }

void BM_Click(benchmark::State &state)
{
    Window w(sizeOf(state).width(), sizeOf(state).height(), tcPencil);
    for (auto _ : state)
        w.mouse.click(100, 100);
}

void BM_Stroke(benchmark::State &state)
{
    Window w(sizeOf(state).width(), sizeOf(state).height(), tcPencil);
    int i = 0;
    for (auto _ : state) {
        const int x = 50 + (i++ % 300);
        w.mouse.press(Qt::LeftButton, left(), x, 100);
        w.mouse.move(left(), x + 40, 130);
        w.mouse.release(Qt::LeftButton, ShiftState{}, x + 40, 130);
    }
}

// One move of a rubber band: a small figure, or one over most of the picture.
void moveBand(benchmark::State &state, bool whole)
{
    const QSize s = sizeOf(state);
    Window w(s.width(), s.height(), tcRectangle);
    w.mouse.press(Qt::LeftButton, left(), 20, 20);
    int i = 0;
    for (auto _ : state) {
        ++i;
        if (whole)
            w.mouse.move(left(), s.width() - 5 - i % 50, s.height() - 5 - i % 40);
        else
            w.mouse.move(left(), 30 + (i * 37) % 350, 30 + (i * 53) % 250);
    }
    w.mouse.release(Qt::LeftButton, ShiftState{}, 30, 30);
}
void BM_MoveSmallBand(benchmark::State &state) { moveBand(state, false); }
void BM_MoveWholeBand(benchmark::State &state) { moveBand(state, true); }

void BM_ReleaseFigure(benchmark::State &state)
{
    Window w(sizeOf(state).width(), sizeOf(state).height(), tcRectangle);
    for (auto _ : state) {
        w.mouse.press(Qt::LeftButton, left(), 40, 40);
        w.mouse.move(left(), 340, 240);
        w.mouse.release(Qt::LeftButton, ShiftState{}, 340, 240);
    }
}

void BM_SelectAll(benchmark::State &state)
{
    Window w(sizeOf(state).width(), sizeOf(state).height(), tcPencil);
    for (auto _ : state) {
        clipboard::SelectImg(w.doc, w.host);
        selection::endSelection(w.doc, w.host);
    }
}

void BM_DeleteSelection300x200(benchmark::State &state)
{
    Window w(sizeOf(state).width(), sizeOf(state).height(), tcRectSelection);
    for (auto _ : state) {
        w.mouse.drag({50, 50}, {350, 250}, 2);
        clipboard::DeleteKey(w.doc, w.host);
    }
}

void BM_SelectAllDelete(benchmark::State &state)
{
    Window w(sizeOf(state).width(), sizeOf(state).height(), tcPencil);
    for (auto _ : state) {
        clipboard::SelectImg(w.doc, w.host);
        clipboard::DeleteKey(w.doc, w.host);
    }
}

void BM_SelectAllCopy(benchmark::State &state)
{
    Window w(sizeOf(state).width(), sizeOf(state).height(), tcPencil);
    for (auto _ : state) {
        clipboard::SelectImg(w.doc, w.host);
        clipboard::Copier(w.doc, w.host);
    }
}

void BM_UndoStroke(benchmark::State &state)
{
    Window w(sizeOf(state).width(), sizeOf(state).height(), tcPencil);
    w.mouse.drag({60, 60}, {300, 200}, 4);
    for (auto _ : state)
        w.doc.Annule();
}

// Out and back: what the window shows is made first; the rest of the reduced view
// after (as the window does once it has painted) in the whole-view variant.
void BM_ZoomStep(benchmark::State &state)
{
    Window w(sizeOf(state).width(), sizeOf(state).height(), tcPencil);
    for (auto _ : state) {
        zoom::ZArriere(w.doc, w.host);
        zoom::ZInit(w.doc, w.host);
    }
}

void BM_ZoomStepWholeView(benchmark::State &state)
{
    Window w(sizeOf(state).width(), sizeOf(state).height(), tcPencil);
    for (auto _ : state) {
        zoom::ZArriere(w.doc, w.host);
        w.doc.completeView();
        zoom::ZInit(w.doc, w.host);
    }
}

// The yardstick: the least a whole-picture command does, a new picture written from
// every pixel of the old one (on one thread).
void BM_PlainPass(benchmark::State &state)
{
    const QImage src = photo(sizeOf(state).width(), sizeOf(state).height());
    for (auto _ : state) {
        QImage dst = newWorkingImage(src.width(), src.height());
        const auto in = rowsOf(src);
        const auto out = rowsOf(dst);
        for (int y = 0; y < src.height(); ++y)
            for (int x = 0; x < src.width(); ++x)
                out[y][x] = in[y][x] ^ 0x00FFFFFFu;
        benchmark::DoNotOptimize(dst.constBits());
    }
}

#define BOTH_SIZES(fn, unit) BENCHMARK(fn)->Args({400, 300})->Args({6000, 4000})->Unit(benchmark::unit)->Name(#fn)

void registerAll()
{
    BOTH_SIZES(BM_Click, kMicrosecond);
    BOTH_SIZES(BM_Stroke, kMicrosecond);
    BOTH_SIZES(BM_MoveSmallBand, kMicrosecond);
    BOTH_SIZES(BM_MoveWholeBand, kMicrosecond);
    BOTH_SIZES(BM_ReleaseFigure, kMicrosecond);
    BOTH_SIZES(BM_SelectAll, kMicrosecond);
    BOTH_SIZES(BM_DeleteSelection300x200, kMicrosecond);
    BOTH_SIZES(BM_SelectAllDelete, kMillisecond);
    BOTH_SIZES(BM_SelectAllCopy, kMicrosecond);
    BOTH_SIZES(BM_UndoStroke, kMicrosecond);
    BENCHMARK(BM_ZoomStep)->Args({6000, 4000})->Unit(benchmark::kMillisecond);
    BENCHMARK(BM_ZoomStepWholeView)->Args({6000, 4000})->Unit(benchmark::kMillisecond);
    BENCHMARK(BM_PlainPass)->Args({6000, 4000})->Unit(benchmark::kMillisecond);
    for (const char *name :
         {"BM_Click", "BM_Stroke", "BM_MoveSmallBand", "BM_MoveWholeBand", "BM_ReleaseFigure", "BM_SelectAll",
          "BM_DeleteSelection300x200", "BM_SelectAllDelete", "BM_SelectAllCopy", "BM_UndoStroke"})
        bench::ratioTo(std::string(name) + "/6000/4000", std::string(name) + "/400/300",
                       "6000x4000 vs 400x300, aim < 2x");
    bench::ratioTo("BM_ZoomStep/6000/4000", "BM_PlainPass/6000/4000",
                   "two steps (out, back) vs a plain pass, aim < 3x each");
    bench::ratioTo("BM_ZoomStepWholeView/6000/4000", "BM_PlainPass/6000/4000",
                   "the same with the whole reduced view made");
    bench::ratioTo("BM_SelectAllDelete/6000/4000", "BM_PlainPass/6000/4000", "whole-picture delete vs a plain pass");
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    registerAll();
    return vermeo::bench::runWithRatios(argc, argv);
}
