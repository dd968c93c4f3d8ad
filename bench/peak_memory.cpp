// Peak memory with one 6000 x 4000 photo open and edited in the program: opened from a
// JPEG, a stroke, a colour command, undo, zoom steps, select-all and copy, a save.
// Prints the peak above what the program used before opening, against the picture's
// 96 MB (aim: under 3x).
//   peak_memory FILE.jpg   (the file is made first when it does not exist)
#include "DialogRunner.h"
#include "PictureFiles.h"
#include "PixelRows.h"
#include "TMDIChild.h"
#include "TMainForm.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSpinBox>
#include <QTemporaryDir>
#include <cstdio>

using namespace vermeo;

namespace {

long statusKb(const char *field)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field))).trimmed().split(' ').first().toLong();
    return -1;
}

void makePhoto(const QString &path)
{
    QImage img = newWorkingImage(6000, 4000);
    QRandomGenerator rng(9);
    for (int y = 0; y < img.height(); ++y) {
        QRgb *row = rowOf(img, y);
        // Smooth colours with some noise, as a photo compresses.
        for (int x = 0; x < img.width(); ++x)
            row[x] =
                qRgb((x / 24 + int(rng.bounded(8))) & 255, (y / 16 + int(rng.bounded(8))) & 255, (x + y) / 40 & 255);
    }
    formats::writePictureFile(Picture::fromImage(img), path);
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: peak_memory FILE.jpg\n");
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    if (!QFile::exists(path)) {
        makePhoto(path);
        std::printf("made %s; run again to measure\n", argv[1]);
        return 0;
    }
    auto *form = new TMainForm;
    form->show();
    QApplication::processEvents();
    const long before = statusKb("VmRSS:");

    ScriptedDialogs dialogs;
    dialogs.onFile = [&](FileDialogRequest &) { return path; };
    form->FileOpenItemClick();
    TMDIChild *c = form->activeChild();
    auto step = [&](const char *item) {
        form->action(QString::fromLatin1(item))->trigger();
        QApplication::processEvents();
    };
    c->mouse().drag({100, 100}, {900, 700}, 20);
    dialogs.onDialog = [](QDialog &d) {
        d.findChild<QSpinBox *>(QStringLiteral("SpinEdit1"))->setValue(30);
        d.findChild<QPushButton *>(QStringLiteral("Button2"))->click();
    };
    step("Luminosit1");
    step("Annuler1");
    step("Inverser1");
    step("Zoomarrire1");
    step("Zoomarrire1");
    step("Taillerelle1");
    step("Toutslectionner1");
    step("CopyItem");
    QTemporaryDir dir;
    dialogs.onFile = [&](FileDialogRequest &) { return dir.filePath(QStringLiteral("edited.bmp")); };
    form->FileSaveAsItemClick();
    const long peak = statusKb("VmHWM:");
    const double pictureMb = 6000.0 * 4000 * 4 / (1 << 20);
    const double usedMb = double(peak - before) / 1024.0;
    std::printf("before opening %.0f MB, peak %.0f MB: %.0f MB for the picture, %.2fx its %.0f MB (aim < 3x)\n",
                double(before) / 1024, double(peak) / 1024, usedMb, usedMb / pictureMb, pictureMb);
    c->doc().setModified(false);
    delete form;
    return 0;
}
