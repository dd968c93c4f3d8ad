// A pencil stroke on a 6000 x 4000 photo while its recovery journal is written, against
// the same stroke with no journal: at the very start of the write (the worker copies
// the picture in bands; the stroke copies or waits for the bands it draws on) and
// while the copy is encoded and written. Interleaved rounds, median and minimum.
// Also: what starting a journal costs the user-interface thread, the whole write, and a
// stroke on a picture shared with a plain QImage copy (what the banded copy avoids).
//   journal_bench [ROUNDS]
#include "Attributes.h"
#include "DocumentJournal.h"
#include "MouseTools.h"
#include "TestPictures.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

using namespace vermeo;
using Clock = std::chrono::steady_clock;

namespace {

double ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

struct Series {
    const char *name;
    std::vector<double> times;
    double median() const
    {
        std::vector<double> t = times;
        std::sort(t.begin(), t.end());
        return t[t.size() / 2];
    }
    double minimum() const { return *std::min_element(times.begin(), times.end()); }
};

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(3, atoi(argv[1])) : 15;
    QTemporaryDir dir;
    JournalSession session(dir.filePath(QStringLiteral("vermeo")));
    ImageDocument doc;
    DocumentHost host;
    TAirBrush air;
    MouseSequence mouse(doc, host, air);
    doc.Init(6000, 4000, clWhite);
    doc.replacePixels(test::noise(6000, 4000, 3));
    SetIni(doc, host, 1, 1, bsClear, clWhite, clBlack, psSolid);
    SetFrame(doc, host, tcPencil);
    DocumentJournal journal(doc, session, [] { return QStringLiteral("Image1"); });
    ShiftState left;
    left.left = true;

    // A stroke of 40 moves over 600 x 1200 pixels (some 40 bands of rows), somewhere new each time.
    int n = 0;
    auto stroke = [&] {
        const int x = 200 + (n * 131) % 5000, y = 100 + (n * 71) % 2500;
        ++n;
        const auto t0 = Clock::now();
        mouse.press(Qt::LeftButton, left, x, y);
        for (int i = 1; i <= 40; ++i)
            mouse.move(left, x + i * 15, y + (i % 2 ? i * 30 : i * 28));
        mouse.release(Qt::LeftButton, ShiftState{}, x + 600, y + 1200);
        return ms(Clock::now() - t0);
    };
    Series plain{"stroke, no journal written", {}}, atStart{"stroke as the journal starts", {}},
        encoding{"stroke while the journal is encoded", {}}, start{"starting a journal (UI thread)", {}},
        whole{"whole journal write", {}}, shared{"stroke on a shared picture (not used)", {}};
    stroke(); // warm-up: the pages of the undo record
    for (int r = 0; r < rounds; ++r) {
        plain.times.push_back(stroke());

        doc.Modif();
        auto t0 = Clock::now();
        journal.writeNow();
        start.times.push_back(ms(Clock::now() - t0));
        atStart.times.push_back(stroke());
        journal.waitForWrite();
        whole.times.push_back(ms(Clock::now() - t0));

        doc.Modif();
        journal.writeNow();
        // The copy of 96 MB is done well within this.
        std::this_thread::sleep_for(std::chrono::milliseconds(120));
        encoding.times.push_back(stroke());
        journal.waitForWrite();

        // What the journal would cost if it kept an implicitly shared copy instead: the
        // stroke's first write copies the whole picture.
        {
            const QImage keep = doc.picture().image;
            shared.times.push_back(stroke());
        }
    }
    const qint64 bytes = QFileInfo(journal.path()).size();
    std::printf("%-40s %10s %10s\n", "6000 x 4000, ms", "median", "minimum");
    for (const Series *s : {&plain, &atStart, &encoding, &start, &whole, &shared})
        std::printf("%-40s %10.3f %10.3f\n", s->name, s->median(), s->minimum());
    std::printf("\n%-40s %10s %10s  %s\n", "ratio to a stroke with no journal", "median", "minimum", "aim");
    for (const Series *s : {&atStart, &encoding, &shared})
        std::printf("%-40s %10.2f %10.2f  under 2x and 16 ms\n", s->name, s->median() / plain.median(),
                    s->minimum() / plain.minimum());
    std::printf("\njournal file: %.1f MB for 96 MB of pixels (noise: the worst case)\n", double(bytes) / 1e6);
    return 0;
}
