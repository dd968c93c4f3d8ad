// Whole-picture commands on a 6000 x 4000 photo, from the menu item to the repainted
// window (offscreen platform), against one plain read-and-write pass over the same
// pixels; and opening a 6000 x 4000 JPEG and BMP in a window against djpeg decoding the
// same JPEG to a file.
#include "BenchRatios.h"
#include "TestPictures.h"

#include "DialogRunner.h"
#include "PictureFiles.h"
#include "PixelRows.h"
#include "TMDIChild.h"
#include "TMainForm.h"
#include "ToneKernels.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSpinBox>
#include <QTemporaryDir>
#include <memory>

using namespace vermeo;

namespace {

constexpr int kW = 6000, kH = 4000;

QImage photo() { return test::noise(kW, kH, 5); }

struct Session {
    TMainForm form;
    ScriptedDialogs dialogs;
    QTemporaryDir dir;
    QString jpeg, bmp;
    TMDIChild *child = nullptr;

    Session()
    {
        form.show();
        const QImage pic = photo();
        jpeg = dir.filePath(QStringLiteral("photo.jpg"));
        bmp = dir.filePath(QStringLiteral("photo.bmp"));
        formats::writePictureFile(Picture::fromImage(pic), jpeg);
        formats::writePictureFile(Picture::fromImage(pic), bmp);
        child = form.OuvreFenetreImage(QStringLiteral("photo"));
        child->Init(kW, kH, clWhite);
        form.prepareChild(child);
        child->doc().replacePixels(pic);
        QApplication::processEvents();
        dialogs.answer = QMessageBox::Yes;
        // Every dialog is answered with a change and "OK".
        dialogs.onDialog = [](QDialog &d) {
            if (auto *spin = d.findChild<QSpinBox *>(QStringLiteral("SpinEdit1")))
                spin->setValue(spin->minimum() + (spin->maximum() - spin->minimum()) / 3 + 1);
            if (auto *ok = d.findChild<QPushButton *>(QStringLiteral("Button2")))
                ok->click();
        };
    }
};

// Made on first use, destroyed by main before the application.
std::unique_ptr<Session> theSession;
Session &session()
{
    if (!theSession)
        theSession = std::make_unique<Session>();
    return *theSession;
}

void runItem(benchmark::State &state, const char *item)
{
    Session &s = session();
    QAction *a = s.form.action(QString::fromLatin1(item));
    for (auto _ : state) {
        a->trigger();
        QApplication::processEvents();
    }
}

// The yardstick: the least a whole-picture command does, a new picture written from
// every pixel of the old one (on one thread).
void BM_PlainPass(benchmark::State &state)
{
    const QImage src = photo();
    for (auto _ : state) {
        QImage dst = newWorkingImage(kW, kH);
        const auto in = rowsOf(src);
        const auto out = rowsOf(dst);
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x)
                out[y][x] = in[y][x] ^ 0x00FFFFFFu;
        benchmark::DoNotOptimize(dst.constBits());
    }
}

// The brightness kernel alone, for the share of the command spent around it.
void BM_BrightnessKernel(benchmark::State &state)
{
    const QImage src = photo();
    for (auto _ : state)
        benchmark::DoNotOptimize(colour::brightness(src, 40, silentProgress()).constBits());
}

void openInWindow(benchmark::State &state, bool jpeg)
{
    Session &s = session();
    const QString file = jpeg ? s.jpeg : s.bmp;
    for (auto _ : state) {
        s.dialogs.onFile = [&](FileDialogRequest &) { return file; };
        s.form.FileOpenItemClick();
        QApplication::processEvents();
        state.PauseTiming();
        TMDIChild *c = s.form.activeChild();
        c->doc().setModified(false);
        c->subWindow()->close();
        QApplication::processEvents();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        s.form.mdiArea()->setActiveSubWindow(s.child->subWindow());
        state.ResumeTiming();
    }
}

void BM_OpenJpeg(benchmark::State &state) { openInWindow(state, true); }
void BM_OpenBmp(benchmark::State &state) { openInWindow(state, false); }

void BM_Djpeg(benchmark::State &state)
{
    Session &s = session();
    const QString out = s.dir.filePath(QStringLiteral("djpeg.ppm"));
    for (auto _ : state)
        QProcess::execute(QStringLiteral("djpeg"), {QStringLiteral("-outfile"), out, s.jpeg});
}

const char *const kItems[] = {"Inverser1",   "Niveaudegris1", "Luminosit1",      "Contraste1",
                              "Saturation1", "Teinte1",       "Solariser1",      "Balancedescouleurs1",
                              "Ombrer1",     "Foncclair1",    "Miroirvertical1", "MiroirHorizontal1",
                              "Monochrome1", "Encadrer1",     "Effacerlimage1",  "Taillerelle1"};

void registerAll()
{
    BENCHMARK(BM_PlainPass)->Unit(benchmark::kMillisecond);
    BENCHMARK(BM_BrightnessKernel)->Unit(benchmark::kMillisecond);
    bench::ratioTo("BM_BrightnessKernel", "BM_PlainPass", "the kernel alone (a new picture) vs a plain pass");
    for (const char *item : kItems) {
        benchmark::RegisterBenchmark(item, [item](benchmark::State &st) {
            runItem(st, item);
        })->Unit(benchmark::kMillisecond);
        bench::ratioTo(item, "BM_PlainPass", "menu item to repainted window vs a plain pass, aim < 3x");
    }
    BENCHMARK(BM_Djpeg)->Unit(benchmark::kMillisecond);
    BENCHMARK(BM_OpenJpeg)->Unit(benchmark::kMillisecond);
    BENCHMARK(BM_OpenBmp)->Unit(benchmark::kMillisecond);
    bench::ratioTo("BM_OpenJpeg", "BM_Djpeg", "open in a window vs djpeg to a file, aim < 1.5x");
    bench::ratioTo("BM_OpenBmp", "BM_Djpeg", "open in a window vs djpeg to a file, aim < 1.5x");
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    registerAll();
    const int status = bench::runWithRatios(argc, argv);
    theSession.reset();
    return status;
}
