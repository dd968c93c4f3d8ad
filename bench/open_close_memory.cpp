// The program's memory over many "Ouvrir" and "Fermer": a picture opened through the
// real file dialog (with its preview) and its window closed, 200 times. Prints the
// resident memory after a warm-up and after the cycles, and the growth per cycle; with
// "dialog", each cycle only shows the dialog and cancels it, and with "window" it opens
// the picture without the dialog, which tells the two costs apart.
//   open_close_memory [CYCLES] [dialog|window]
#include "PictureFiles.h"
#include "PixelRows.h"
#include "SharedIcons.h"
#include "TMDIChild.h"
#include "TMainForm.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QIcon>
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

// Bytes the allocator has handed out and not had back: a leak grows it, fragmentation
// (resident pages the allocator keeps for later) does not.
long heapInUseKb()
{
    const struct mallinfo2 m = mallinfo2();
    return long((m.uordblks + m.hblkhd) / 1024);
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

enum class Part { Both, Dialog, Window };
Part part = Part::Both;

// Cancels the next file dialog.
void cancelFileDialog()
{
    QTimer::singleShot(0, [] {
        if (auto *dlg = qobject_cast<QFileDialog *>(QApplication::activeModalWidget()))
            static_cast<QDialog *>(dlg)->reject();
        else
            cancelFileDialog();
    });
}

void cycle(TMainForm &form, const QString &path)
{
    if (part == Part::Dialog) {
        cancelFileDialog();
        form.FileOpenItemClick();
        QApplication::processEvents();
        return;
    }
    if (part == Part::Window)
        form.openPictureFile(path);
    else {
        answerFileDialog(path);
        form.FileOpenItemClick();
    }
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
    shareStandardIcons();
    const int cycles = argc > 1 ? std::atoi(argv[1]) : 200;
    if (argc > 2)
        part = QByteArray(argv[2]) == "dialog"   ? Part::Dialog
               : QByteArray(argv[2]) == "window" ? Part::Window
                                                 : Part::Both;
    const QString path = home.filePath(QStringLiteral("photo.jpg"));
    QImage img = newWorkingImage(640, 480);
    for (int y = 0; y < img.height(); ++y) {
        QRgb *row = rowOf(img, y);
        for (int x = 0; x < img.width(); ++x)
            row[x] = qRgb(x & 255, y & 255, (x ^ y) & 255);
    }
    formats::writePictureFile(Picture::fromImage(img), path);

    // The program's own icon, as its main() sets it: the image windows' title bars share it.
    const QIcon icon(QStringLiteral(":/vermeo/vermeo.svg"));
    if (!icon.pixmap(32, 32).isNull())
        QApplication::setWindowIcon(icon);
    TMainForm form;
    form.show();
    QApplication::processEvents();
    // Caches and first-use allocations settle during a warm-up.
    for (int i = 0; i < 20; ++i)
        cycle(form, path);
    malloc_trim(0);
    const long before = residentKb(), heapBefore = heapInUseKb();
    for (int i = 0; i < cycles; ++i)
        cycle(form, path);
    malloc_trim(0);
    const long after = residentKb(), heapAfter = heapInUseKb();
    std::printf("%d open/close cycles: resident %ld KB -> %ld KB, %.1f KB a cycle; "
                "heap in use %ld KB -> %ld KB, %.2f KB a cycle\n",
                cycles, before, after, double(after - before) / cycles, heapBefore, heapAfter,
                double(heapAfter - heapBefore) / cycles);
    return 0;
}
