// The undo history on a 6000 x 4000 picture against 400 x 300: 100 pencil strokes, then
// 100 "Annuler" and 100 "Rétablir", the time of each step (median and slowest) and the
// memory the history holds after each phase; then a whole-picture command's step against
// the size of the old picture. The two sizes run in interleaved rounds.
//   history_bench [ROUNDS]
#include "Attributes.h"
#include "MouseTools.h"
#include "TestPictures.h"

#include <QGuiApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

using namespace vermeo;
using Clock = std::chrono::steady_clock;

namespace {

double ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

struct Series {
    std::vector<double> times;
    double median() const
    {
        std::vector<double> t = times;
        std::sort(t.begin(), t.end());
        return t.empty() ? 0 : t[t.size() / 2];
    }
    double slowest() const { return times.empty() ? 0 : *std::max_element(times.begin(), times.end()); }
};

struct Figures {
    Series stroke, undo, redo;
    long long afterStrokes = 0, afterUndos = 0, afterRedos = 0;
};

// One round on a w x h photo: strokes of 20 moves over some 120 x 120 pixels, spread over the picture.
void round(int w, int h, Figures &f)
{
    ImageDocument doc;
    DocumentHost host;
    TAirBrush air;
    MouseSequence mouse(doc, host, air);
    doc.Init(w, h, clWhite);
    doc.replacePixels(test::noise(w, h, 3));
    doc.startHistory(true);
    SetIni(doc, host, 1, 1, bsClear, clWhite, clBlack, psSolid);
    SetFrame(doc, host, tcPencil);
    ShiftState left;
    left.left = true;
    for (int n = 0; n < 100; ++n) {
        const int x = (n * 131) % std::max(1, w - 130), y = (n * 71) % std::max(1, h - 130);
        const auto t0 = Clock::now();
        mouse.press(Qt::LeftButton, left, x, y);
        for (int i = 1; i <= 20; ++i)
            mouse.move(left, x + i * 6, y + (i % 2 ? i * 6 : i * 5));
        mouse.release(Qt::LeftButton, ShiftState{}, x + 120, y + 120);
        f.stroke.times.push_back(ms(Clock::now() - t0));
    }
    f.afterStrokes = doc.history().heldBytes();
    for (int n = 0; n < 100; ++n) {
        const auto t0 = Clock::now();
        doc.Annule();
        f.undo.times.push_back(ms(Clock::now() - t0));
    }
    f.afterUndos = doc.history().heldBytes();
    for (int n = 0; n < 100; ++n) {
        const auto t0 = Clock::now();
        doc.Retablit();
        f.redo.times.push_back(ms(Clock::now() - t0));
    }
    f.afterRedos = doc.history().heldBytes();
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 3;
    Figures large, small;
    for (int r = 0; r < rounds; ++r) {
        round(6000, 4000, large);
        round(400, 300, small);
    }
    std::printf("%-22s %14s %14s %14s %14s %8s\n", "ms a step", "6000x4000 med", "6000x4000 max", "400x300 med",
                "400x300 max", "ratio");
    auto line = [](const char *name, const Series &a, const Series &b) {
        std::printf("%-22s %14.3f %14.3f %14.3f %14.3f %8.2f\n", name, a.median(), a.slowest(), b.median(), b.slowest(),
                    a.median() / b.median());
    };
    line("stroke (20 moves)", large.stroke, small.stroke);
    line("Annuler", large.undo, small.undo);
    line("Retablir", large.redo, small.redo);
    std::printf("\nheld by the history, MB (last round)   6000x4000    400x300\n");
    std::printf("after 100 strokes                     %10.2f %10.2f\n", large.afterStrokes / 1e6,
                small.afterStrokes / 1e6);
    std::printf("after 100 undos                       %10.2f %10.2f\n", large.afterUndos / 1e6,
                small.afterUndos / 1e6);
    std::printf("after 100 redos                       %10.2f %10.2f\n", large.afterRedos / 1e6,
                small.afterRedos / 1e6);
    std::printf("the 6000x4000 picture itself          %10.2f\n", 6000.0 * 4000 * 4 / 1e6);

    // A whole-picture command: the step holds the old picture, no copy of it.
    ImageDocument doc;
    doc.Init(6000, 4000, clWhite);
    doc.replacePixels(test::noise(6000, 4000, 5));
    doc.startHistory(true);
    const long long before = doc.history().heldBytes();
    const long long pictureBytes = doc.image().sizeInBytes();
    doc.SauveUndo();
    QImage inverted = doc.image().copy();
    inverted.invertPixels();
    doc.replacePixels(inverted);
    const long long step = doc.history().heldBytes() - before;
    auto t0 = Clock::now();
    doc.Annule();
    const double undoMs = ms(Clock::now() - t0);
    t0 = Clock::now();
    doc.Retablit();
    const double redoMs = ms(Clock::now() - t0);
    std::printf("\nwhole-picture step on 6000x4000: %lld bytes held for an old picture of %lld bytes (%.4f), "
                "Annuler %.4f ms, Retablir %.4f ms\n",
                step, pictureBytes, double(step) / double(pictureBytes), undoMs, redoMs);
    return 0;
}
