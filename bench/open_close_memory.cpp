// The program's memory over many "Ouvrir" and "Fermer": a picture opened through the
// real file dialog (with its preview) and its window closed, 200 times. Prints the
// resident memory after a warm-up and after the cycles, and the growth per cycle.
//   open_close_memory [CYCLES]
#include "PictureFiles.h"
#include "PixelRows.h"
#include "TMDIChild.h"
#include "TMainForm.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <malloc.h>

using namespace vermeo;

namespace {

long residentKb()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

// Answers the next file dialog as a user would: the file chosen, then "Ouvrir".
void answerFileDialog(const QString &path)
{
    QTimer::singleShot(0, [path] {
        auto *dlg = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dlg) {
            answerFileDialog(path);
            return;
        }
        dlg->selectFile(path);
        QApplication::processEvents();
        static_cast<QDialog *>(dlg)->accept();
    });
}

void cycle(TMainForm &form, const QString &path)
{
    answerFileDialog(path);
    form.FileOpenItemClick();
    QApplication::processEvents();
    if (TMDIChild *c = form.activeChild()) {
        c->doc().setModified(false);
        form.FileCloseItemClick();
    }
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    for (const char *v : {"HOME", "XDG_CONFIG_HOME", "XDG_STATE_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME"})
        qputenv(v, home.path().toLocal8Bit());
    QApplication app(argc, argv);
    const int cycles = argc > 1 ? std::atoi(argv[1]) : 200;
    const QString path = home.filePath(QStringLiteral("photo.jpg"));
    QImage img = newWorkingImage(640, 480);
    for (int y = 0; y < img.height(); ++y) {
        QRgb *row = rowOf(img, y);
        for (int x = 0; x < img.width(); ++x)
            row[x] = qRgb(x & 255, y & 255, (x ^ y) & 255);
    }
    formats::writePictureFile(Picture::fromImage(img), path);

    TMainForm form;
    form.show();
    QApplication::processEvents();
    // Caches and first-use allocations settle during a warm-up.
    for (int i = 0; i < 20; ++i)
        cycle(form, path);
    malloc_trim(0);
    const long before = residentKb();
    for (int i = 0; i < cycles; ++i)
        cycle(form, path);
    malloc_trim(0);
    const long after = residentKb();
    std::printf("%d open/close cycles: resident %ld KB -> %ld KB, %.1f KB a cycle\n", cycles, before, after,
                double(after - before) / cycles);
    return 0;
}
