// Real scans through SANE's simulated "test" scanner, with a configuration folder of
// our own. SANE reads SANE_CONFIG_DIR once per process, so the machine without a
// scanner is checked in a child process.
#include "AcquireCommands.h"
#include "DialogRunner.h"
#include "SaneSession.h"
#include "TSource.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace vermeo;
using namespace vermeo::acquire;

namespace {
const QString kConfig = QStringLiteral(VERMEO_SANE_CONFIG);
const QString kNoScanner = QStringLiteral(VERMEO_SANE_NONE);

bool withoutScanner() { return qEnvironmentVariable("SANE_CONFIG_DIR") == kNoScanner; }

class SaneTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("SANE_CONFIG_DIR"))
            qputenv("SANE_CONFIG_DIR", kConfig.toLocal8Bit());
        if (withoutScanner())
            GTEST_SKIP() << "this process has no scanner";
        saneSession().clearError();
        scanSettings() = ScanSettings{};
    }
    void TearDown() override { scanSettings() = ScanSettings{}; }

    static ScanSettings settings(const QString &mode, QList<QPair<QString, QString>> extra = {})
    {
        ScanSettings s;
        s.device = QStringLiteral("test:0");
        s.mode = mode;
        s.resolution = 50;
        s.extra = std::move(extra);
        return s;
    }

    static ScanOutcome scan(const ScanSettings &s)
    {
        ScanControl control;
        ScanOutcome out = scanImages(saneSession(), s, control);
        EXPECT_EQ(saneSession().state(), SessionState::NoSession);
        return out;
    }
};

// The same scan through SANE's own command-line front end, as PNM.
QImage scanimage(const QStringList &options)
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("scan.pnm"));
    QProcess p;
    p.start(QStringLiteral("scanimage"), QStringList{"-d", "test:0", "--format=pnm", "-o", out} + options);
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return {};
    return QImage(out).convertToFormat(QImage::Format_RGB32);
}

struct ModeCase {
    const char *mode;
    QList<QPair<QString, QString>> extra;
    QStringList scanimageOptions;
};
} // namespace

// Grey, line art, 16-bit colour and a three-pass scanner give what scanimage gives.
TEST_F(SaneTest, FlatbedScansMatchScanimagePixelForPixel)
{
    const ModeCase cases[] = {
        {"Color", {{"test-picture", "Color pattern"}}, {"--mode", "Color", "--test-picture", "Color pattern"}},
        {"Gray", {{"test-picture", "Color pattern"}}, {"--mode", "Gray", "--test-picture", "Color pattern"}},
        {"Gray",
         {{"depth", "1"}, {"test-picture", "Grid"}},
         {"--mode", "Gray", "--depth", "1", "--test-picture", "Grid"}},
        {"Color",
         {{"depth", "16"}, {"test-picture", "Color pattern"}},
         {"--mode", "Color", "--depth", "16", "--test-picture", "Color pattern"}},
        {"Color",
         {{"three-pass", "yes"}, {"test-picture", "Color pattern"}},
         {"--mode", "Color", "--three-pass=yes", "--test-picture", "Color pattern"}},
    };
    for (const ModeCase &c : cases) {
        SCOPED_TRACE(c.scanimageOptions.join(' ').toStdString());
        const ScanOutcome out = scan(settings(QString::fromLatin1(c.mode), c.extra));
        ASSERT_TRUE(out.error.isEmpty()) << out.error.toStdString();
        ASSERT_EQ(out.images.size(), 1);
        // 80 x 100 mm at 50 dpi.
        EXPECT_EQ(out.images[0].size(), QSize(157, 196));
        const QImage expected = scanimage(c.scanimageOptions + QStringList{"--resolution", "50"});
        if (expected.isNull())
            GTEST_SKIP() << "scanimage (sane-utils) is missing";
        EXPECT_EQ(out.images[0], expected);
    }
}

TEST_F(SaneTest, ColourPatternHasItsBands)
{
    const ScanOutcome out = scan(settings(QStringLiteral("Color"), {{"test-picture", "Color pattern"}}));
    ASSERT_EQ(out.images.size(), 1);
    const QImage &img = out.images[0];
    // Rows of red, green and blue squares on black, left to right fading.
    QSet<QRgb> colours;
    for (int y = 0; y < img.height(); ++y)
        colours.insert(img.pixel(2, y));
    EXPECT_TRUE(colours.contains(qRgb(255, 0, 0)));
    EXPECT_TRUE(colours.contains(qRgb(0, 255, 0)));
    EXPECT_TRUE(colours.contains(qRgb(0, 0, 255)));
}

// The user's way: the progress window, the worker thread, every feeder page collected.
TEST_F(SaneTest, AcquerirCollectsEveryFeederPage)
{
    ScriptedDialogs dialogs;
    scanSettings() = settings(QStringLiteral("Color"), {{"test-picture", "Color pattern"}});
    scanSettings().source = QStringLiteral("Automatic Document Feeder");
    const QList<QImage> pages = Acquerir(nullptr);
    EXPECT_TRUE(dialogs.asked.empty());
    ASSERT_EQ(pages.size(), 10); // the simulated feeder holds ten sheets
    for (const QImage &page : pages)
        EXPECT_EQ(page, pages[0]);
    EXPECT_EQ(saneSession().state(), SessionState::NoSession);
}

// "Annuler" in the progress window stops a slow scan: no picture, no message, no hang.
TEST_F(SaneTest, AnnulerStopsTheScanAndGivesNothing)
{
    ScriptedDialogs dialogs;
    scanSettings() = settings(
        QStringLiteral("Color"),
        {{"read-limit", "yes"}, {"read-limit-size", "1024"}, {"read-delay", "yes"}, {"read-delay-duration", "50000"}});
    scanSettings().resolution = 200;
    bool clicked = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *p = qobject_cast<TNumerisation *>(w); p && p->isVisible() && !clicked) {
                QTest::mouseClick(p->Button1, Qt::LeftButton);
                clicked = true;
            }
    });
    poll.start(200);
    const QList<QImage> pages = Acquerir(nullptr);
    EXPECT_TRUE(clicked);
    EXPECT_TRUE(pages.isEmpty()); // left alone, the scan would deliver its page after a minute
    EXPECT_TRUE(dialogs.asked.empty());
    EXPECT_EQ(saneSession().state(), SessionState::NoSession);
}

// The device's own status reaches the user in French; nothing is opened.
TEST_F(SaneTest, DeviceFailureIsReportedWithItsStatus)
{
    ScriptedDialogs dialogs;
    scanSettings() = settings(QStringLiteral("Gray"), {{"read-return-value", "SANE_STATUS_JAMMED"}});
    EXPECT_TRUE(Acquerir(nullptr).isEmpty());
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(dialogs.asked[0], QStringLiteral("Acquisition : la lecture de l'image a échoué "
                                               "(bourrage de papier dans le chargeur, SANE_STATUS_JAMMED)"));
    EXPECT_EQ(saneSession().firstError(), AcquireError::Read);

    // A setting the device does not know is named.
    const ScanOutcome out = scan(settings(QStringLiteral("Sépia")));
    EXPECT_TRUE(out.images.isEmpty());
    EXPECT_TRUE(out.error.startsWith(QStringLiteral("Acquisition : le scanner refuse le réglage « mode = Sépia »")))
        << out.error.toStdString();
}

TEST_F(SaneTest, StepsOutOfOrderDoNothingAndTheFirstErrorStays)
{
    SaneSession s;
    EXPECT_FALSE(s.openDevice(QStringLiteral("test:0")));
    EXPECT_FALSE(s.startFrame());
    EXPECT_EQ(s.state(), SessionState::NoSession);
    ASSERT_TRUE(s.initialise());
    EXPECT_FALSE(s.initialise());
    ASSERT_TRUE(s.listDevices());
    EXPECT_FALSE(s.openDevice(QStringLiteral("test:9")));
    EXPECT_EQ(s.state(), SessionState::DevicesListed);
    EXPECT_EQ(s.firstError(), AcquireError::Open);
    ASSERT_TRUE(s.openDevice(QStringLiteral("test:1")));
    EXPECT_FALSE(s.configure(settings(QStringLiteral("Sépia"))));
    EXPECT_EQ(s.firstError(), AcquireError::Open); // the first failure is kept
    EXPECT_TRUE(s.errorMessage().contains(QStringLiteral("« test:9 »")));
    EXPECT_EQ(s.state(), SessionState::DeviceOpen);
    s.shutdown();
    EXPECT_EQ(s.state(), SessionState::NoSession);
}

// The source dialog lists SANE's scanners; the choice serves the next "Acquérir".
TEST_F(SaneTest, ChosenSourceIsUsedByTheNextScan)
{
    ScriptedDialogs dialogs;
    dialogs.onDialog = [](QDialog &d) {
        auto &src = dynamic_cast<TSource &>(d);
        ASSERT_EQ(src.ListBox1->count(), 2);
        EXPECT_EQ(src.ListBox1->item(1)->text(), QStringLiteral("Noname frontend-tester (test:1)"));
        src.ListBox1->setCurrentRow(1);
        EXPECT_EQ(src.ComboBox1->count(), 2);
        // SANE's values in French, from its own catalogue, whatever the session's locale.
        QStringList shown;
        for (QComboBox *c : {src.ComboBox1, src.ComboBox2})
            for (int i = 0; i < c->count(); ++i)
                shown << c->itemText(i);
        EXPECT_EQ(shown, (QStringList{"A plat", "Chargeur automatique de document", "Gris", "Couleur"}))
            << shown.join(" | ").toStdString();
        src.ComboBox1->setCurrentText(QStringLiteral("Chargeur automatique de document"));
        src.ComboBox2->setCurrentText(QStringLiteral("Gris"));
        src.SpinEdit1->setValue(25);
        QTest::keyClick(&src, Qt::Key_Return);
    };
    SelectionnerSource(nullptr);
    EXPECT_EQ(saneSession().state(), SessionState::NoSession);
    EXPECT_EQ(scanSettings().device, QStringLiteral("test:1"));
    EXPECT_EQ(scanSettings().source, QStringLiteral("Automatic Document Feeder")); // SANE's value, not the French
    EXPECT_EQ(scanSettings().mode, QStringLiteral("Gray"));
    EXPECT_EQ(scanSettings().resolution, 25);

    const QList<QImage> pages = Acquerir(nullptr);
    ASSERT_EQ(pages.size(), 10);
    EXPECT_EQ(pages[0].size(), QSize(78, 98)); // 80 x 100 mm at 25 dpi

    // Escape keeps the earlier choice.
    dialogs.onDialog = [](QDialog &d) {
        dynamic_cast<TSource &>(d).ListBox1->setCurrentRow(0);
        QTest::keyClick(&d, Qt::Key_Escape);
    };
    SelectionnerSource(nullptr);
    EXPECT_EQ(scanSettings().device, QStringLiteral("test:1"));
}

// A machine without a scanner: both commands say so, in a child process of its own.
TEST(NoScanner, BothCommandsSaySoAndOpenNothing)
{
    if (!withoutScanner()) {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("SANE_CONFIG_DIR"), kNoScanner);
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=NoScanner.*")});
        ASSERT_TRUE(child.waitForFinished(60000));
        const QByteArray log = child.readAllStandardOutput();
        EXPECT_EQ(child.exitCode(), 0) << log.toStdString();
        EXPECT_TRUE(log.contains("[  PASSED  ] 1 test")) << log.toStdString();
        return;
    }
    ScriptedDialogs dialogs;
    EXPECT_TRUE(Acquerir(nullptr).isEmpty());
    SelectionnerSource(nullptr);
    EXPECT_TRUE(dialogs.dialogs.empty());
    const std::vector<QString> expected(2, QStringLiteral("Acquisition : aucun scanner disponible"));
    EXPECT_EQ(dialogs.asked, expected);
    EXPECT_EQ(saneSession().state(), SessionState::NoSession);
    EXPECT_EQ(saneSession().firstError(), AcquireError::NoDevice);
}
