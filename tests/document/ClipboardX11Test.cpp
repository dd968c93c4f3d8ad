// Exchange with another program through the X11 clipboard. Runs only when asked for
// (tests/clipboard_xclip_check.sh, under xvfb-run with the xcb platform), since the
// offscreen platform keeps the clipboard inside the process.
#include "Clipboard.h"
#include "RecordingHost.h"

#include <QEventLoop>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

using namespace vermeo;
using namespace vermeo::clipboard;
using namespace vermeo::test;

namespace {
bool wanted() { return qEnvironmentVariableIntValue("VERMEO_XCLIP_CHECK") == 1; }

// Runs a program to its end while our event loop keeps answering clipboard requests.
int runServing(const QStringList &args, QByteArray *out = nullptr)
{
    QProcess p;
    QEventLoop loop;
    QObject::connect(&p, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&p, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    QTimer::singleShot(20000, &loop, &QEventLoop::quit);
    p.start(QStringLiteral("xclip"), args);
    loop.exec();
    if (out)
        *out = p.readAllStandardOutput();
    return p.state() == QProcess::NotRunning && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}
} // namespace

TEST(ClipboardX11, CopyHereIsPastedByXclipAndTheReverse)
{
    if (!wanted())
        GTEST_SKIP() << "run tests/clipboard_xclip_check.sh";
    ImageDocument doc;
    RecordingHost host;
    loadNoise(doc, 73, 41, 21);
    const QImage picture = doc.image().copy();
    SelectImg(doc, host);
    Copier(doc, host);

    QByteArray png;
    ASSERT_EQ(runServing({"-selection", "clipboard", "-t", "image/png", "-o"}, &png), 0);
    QImage got;
    ASSERT_TRUE(got.loadFromData(png, "PNG")) << png.size() << " bytes";
    EXPECT_EQ(got.convertToFormat(QImage::Format_RGB32), picture);

    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("autre.png"));
    const QImage other = noise(50, 30, 22);
    ASSERT_TRUE(other.save(file, "PNG"));
    ASSERT_EQ(runServing({"-selection", "clipboard", "-t", "image/png", "-i", file}), 0);
    // xclip takes the selection from a process of its own; wait until we see it.
    for (int i = 0; i < 200 && clipboardBitmap().size() != other.size(); ++i) {
        QEventLoop wait;
        QTimer::singleShot(10, &wait, &QEventLoop::quit);
        wait.exec();
    }
    ASSERT_TRUE(clipboardHasBitmap());
    ImageDocument pasted;
    pasted.Init(50, 30, clWhite);
    Coller(pasted, host);
    EXPECT_EQ(pasted.image(), other);
}
