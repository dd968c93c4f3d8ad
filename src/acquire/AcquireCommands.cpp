#include "AcquireCommands.h"

#include "DialogRunner.h"
#include "SaneSession.h"
#include "ScreenCapture.h"
#include "TSource.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <functional>
#include <memory>

namespace vermeo::acquire {

namespace {
// Runs the event loop until done() holds or ms have passed; true when done() held.
bool waitUntil(const std::function<bool()> &done, int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() >= ms)
            return false;
        QEventLoop loop;
        QTimer::singleShot(10, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

bool onScreen(QWidget *w) { return w->isVisible() && w->windowHandle() && w->windowHandle()->isExposed(); }

// Time for the windows that were under the main window to paint themselves again.
constexpr int kRepaintMs = 300;
constexpr int kMinimiseMs = 1500;
} // namespace

QImage captureScreen(QWidget *mainWindow)
{
    const QSize block = mainWindow ? mainWindow->frameGeometry().size() : QSize();
    if (block.isEmpty())
        return composeCapture({});
    const Qt::WindowStates before = mainWindow->windowState() & ~Qt::WindowMinimized;
    const bool shown = mainWindow->isVisible();
    if (shown) {
        mainWindow->showMinimized();
        if (!waitUntil([&] { return !onScreen(mainWindow); }, kMinimiseMs)) {
            // No window manager took the window off the screen: we do it ourselves.
            mainWindow->hide();
            waitUntil([&] { return !onScreen(mainWindow); }, kMinimiseMs);
        }
        waitUntil([] { return false; }, kRepaintMs);
    }
    QImage grabbed;
    if (QScreen *screen = QGuiApplication::primaryScreen())
        grabbed =
            screen
                ->grabWindow(0, 0, 0, std::min(block.width(), kCaptureWidth), std::min(block.height(), kCaptureHeight))
                .toImage();
    if (shown) {
        // The state first: a window shown while still marked minimised would come back iconic.
        mainWindow->setWindowState(before);
        mainWindow->show();
        mainWindow->raise();
        mainWindow->activateWindow();
    }
    return composeCapture(grabbed);
}

QList<QImage> Acquerir(QWidget *parent)
{
    ScanControl control;
    ScanOutcome outcome;
    const ScanSettings settings = scanSettings();
    std::unique_ptr<QThread> worker(QThread::create([&] { outcome = scanImages(saneSession(), settings, control); }));
    TNumerisation progress(parent, control);
    worker->start();
    progress.runUntil(*worker);
    worker->wait();
    if (!outcome.error.isEmpty())
        DialogRunner::tell(parent, QMessageBox::Warning, outcome.error);
    return outcome.images;
}

void SelectionnerSource(QWidget *parent)
{
    SaneSession &session = saneSession();
    session.clearError();
    if (!session.initialise() || !session.listDevices()) {
        const QString error = session.errorMessage();
        session.shutdown();
        DialogRunner::tell(parent, QMessageBox::Warning, error);
        return;
    }
    TSource dialog(parent);
    // While the dialog is open the session stays at its device list; a scanner is opened
    // only for as long as it takes to read what it offers.
    dialog.Init(session.devices(), scanSettings(), [&session](const QString &device) {
        DeviceChoices c;
        if (session.openDevice(device)) {
            c = session.choices();
            session.closeDevice();
        }
        session.clearError();
        return c;
    });
    if (DialogRunner::exec(dialog) == QDialog::Accepted)
        scanSettings() = dialog.Result();
    session.shutdown();
}

} // namespace vermeo::acquire
