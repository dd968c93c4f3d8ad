// The screen capture on a real X server (capture_check.sh runs it under xvfb-run, with
// and without a window manager): a pattern window of our own lies under the main
// window, which must be off the screen while the screen is grabbed.
#include "AcquireCommands.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

using namespace vermeo::acquire;

namespace {
bool wanted() { return qEnvironmentVariableIntValue("VERMEO_CAPTURE_CHECK") == 1; }

QRgb patternAt(int x, int y) { return qRgb((x * 7) & 255, (y * 5) & 255, ((x / 40 + y / 30) & 1) * 255); }

// A window painting the pattern over the screen's top left 900 x 700, out of the window
// manager's hands so it stays exactly there.
class PatternWindow : public QWidget {
public:
    PatternWindow() : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint)
    {
        m_pattern = QImage(900, 700, QImage::Format_RGB32);
        for (int y = 0; y < m_pattern.height(); ++y)
            for (int x = 0; x < m_pattern.width(); ++x)
                m_pattern.setPixel(x, y, patternAt(x, y));
        setGeometry(0, 0, 900, 700);
    }
    QImage m_pattern;

protected:
    void paintEvent(QPaintEvent *) override { QPainter(this).drawImage(0, 0, m_pattern); }
};

// A stand-in main window, plain red, on top of the pattern.
class MainWindow : public QWidget {
protected:
    void paintEvent(QPaintEvent *) override { QPainter(this).fillRect(rect(), Qt::red); }
};

void showAndSettle(QWidget &w)
{
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    QTest::qWait(300);
}
} // namespace

TEST(CaptureX11, MainWindowIsOffTheScreenWhileGrabbedAndComesBack)
{
    if (!wanted())
        GTEST_SKIP() << "run tests/acquire/capture_check.sh";
    PatternWindow pattern;
    showAndSettle(pattern);
    MainWindow main;
    main.setGeometry(0, 0, 300, 200);
    showAndSettle(main);
    const QSize block = main.frameGeometry().size();
    ASSERT_LT(block.width(), 800);

    const QImage capture = captureScreen(&main);
    ASSERT_EQ(capture.size(), QSize(800, 600));
    int wrong = 0;
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x) {
            const bool inBlock = x < block.width() && y < block.height();
            if (capture.pixel(x, y) != (inBlock ? patternAt(x, y) : qRgb(255, 255, 255)))
                ++wrong;
        }
    EXPECT_EQ(wrong, 0) << "block " << block.width() << " x " << block.height() << ", first " << std::hex
                        << capture.pixel(0, 0) << " " << capture.pixel(150, 100);
    QTest::qWait(300);
    EXPECT_TRUE(main.isVisible());
    EXPECT_FALSE(main.isMinimized());

    // A main window larger than the capture picture fills all of it.
    main.setGeometry(0, 0, 850, 650);
    QTest::qWait(300);
    const QImage full = captureScreen(&main);
    EXPECT_EQ(full.pixel(799, 599), patternAt(799, 599));
    EXPECT_EQ(full.pixel(400, 300), patternAt(400, 300));
}
