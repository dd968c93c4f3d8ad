// Palette pictures as a user saves them: a file made by another program (Pillow) is
// opened through "Ouvrir", drawn on with the pencil by mouse events on the view, saved
// with Ctrl+S, and read back by Pillow; every pixel the pencil did not touch must come
// back exactly.
#include "AppFixture.h"
#include "ImageView.h"
#include "PictureFiles.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace vermeo;

namespace {
const QString kPython = QStringLiteral("/usr/bin/python3");
const QString kScript = QStringLiteral(VERMEO_TEST_SUPPORT "/pillow_pictures.py");

bool runPillow(const QStringList &args, QByteArray *out = nullptr)
{
    QProcess p;
    p.start(kPython, QStringList{kScript} + args);
    if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return false;
    if (out)
        *out = p.readAllStandardOutput().trimmed();
    return true;
}

class PaletteSave : public AppTest {
protected:
    void SetUp() override
    {
        QProcess probe;
        probe.start(kPython, {QStringLiteral("-c"), QStringLiteral("import PIL")});
        if (!probe.waitForFinished(30000) || probe.exitCode() != 0)
            GTEST_SKIP() << "python3-pil missing";
        AppTest::SetUp();
    }

    // Pillow's picture of a case, opened through "Ouvrir".
    TMDIChild *open(const char *pictureCase, const QString &name)
    {
        path = dir.filePath(name);
        EXPECT_TRUE(runPillow({QStringLiteral("make"), QLatin1String(pictureCase), path}));
        dialogs.onFile = [this](FileDialogRequest &) { return path; };
        form->FileOpenItemClick();
        dialogs.onFile = nullptr;
        TMDIChild *c = form->activeChild();
        if (c)
            before = c->doc().image().copy();
        return c;
    }

    // A pencil stroke of the palette bar's colour `swatch`, from one point to another.
    void stroke(TMDIChild *c, int swatch, QPoint from, QPoint to)
    {
        form->findChild<ColourSwatch *>(QStringLiteral("Palette%1").arg(swatch))->clicked();
        qobject_cast<QToolButton *>(form->control(QStringLiteral("PenButton")))->click();
        QWidget *view = c->Image1();
        QTest::mousePress(view, Qt::LeftButton, {}, from);
        for (int i = 1; i <= 10; ++i)
            QTest::mouseMove(view, from + (to - from) * i / 10);
        QTest::mouseRelease(view, Qt::LeftButton, {}, to);
    }

    void ctrlS(TMDIChild *c)
    {
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        c->Image1()->setFocus();
        QTest::keyClick(c->Image1(), Qt::Key_S, Qt::ControlModifier);
        QApplication::processEvents();
    }

    // The saved file as Pillow reads it, and what Pillow says of it ("P 256", "RGB 0").
    QImage readBack(QByteArray *mode = nullptr)
    {
        const QString ppm = dir.filePath(QStringLiteral("back.ppm"));
        QByteArray said;
        if (!runPillow({QStringLiteral("dump"), path, ppm}, &said))
            return {};
        if (mode)
            *mode = said;
        return QImage(ppm).convertToFormat(QImage::Format_RGB32);
    }

    // Pixels the drawing did not touch (same colour in the window before and after)
    // that the file does not give back exactly.
    int untouchedChanged(const QImage &back, const QImage &drawn) const
    {
        int n = 0;
        for (int y = 0; y < before.height(); ++y)
            for (int x = 0; x < before.width(); ++x)
                if (drawn.pixel(x, y) == before.pixel(x, y) && back.pixel(x, y) != before.pixel(x, y))
                    ++n;
        return n;
    }

    QTemporaryDir dir;
    QString path;
    QImage before;
};
} // namespace

// Black shapes on white, 1 bit: two red strokes. The question comes before anything is
// written; "Annuler" leaves the file, "Enregistrer en 24 bits" keeps every black pixel black.
TEST_F(PaletteSave, OneBitBlackAndWhiteAsksAndTwentyFourBitsKeepsTheShapesBlack)
{
    TMDIChild *c = open("bw", QStringLiteral("formes.bmp"));
    ASSERT_NE(c, nullptr);
    stroke(c, 2, QPoint(10, 65), QPoint(300, 65));
    stroke(c, 2, QPoint(50, 10), QPoint(60, 230));
    const QImage drawn = c->doc().image().copy();
    const QByteArray original = [&] {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();

    dialogs.answer = QMessageBox::Cancel;
    ctrlS(c);
    ASSERT_EQ(dialogs.asked.size(), 1u) << "no question before the save";
    EXPECT_TRUE(dialogs.asked[0].contains(QStringLiteral("« formes.bmp »")));
    EXPECT_TRUE(dialogs.asked[0].contains(QStringLiteral("palette de 2 couleurs")));
    EXPECT_TRUE(dialogs.asked[0].contains(QStringLiteral("« Enregistrer en 24 bits »")));
    EXPECT_TRUE(dialogs.asked[0].contains(QStringLiteral("« Réduire les nouvelles couleurs »")));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), original);
    f.close();
    EXPECT_TRUE(c->Modified());

    dialogs.answer = QMessageBox::Yes;
    ctrlS(c);
    EXPECT_EQ(dialogs.asked.size(), 2u);
    EXPECT_FALSE(c->Modified());
    QByteArray mode;
    const QImage back = readBack(&mode);
    ASSERT_FALSE(back.isNull());
    EXPECT_EQ(mode, "RGB 0");
    EXPECT_EQ(untouchedChanged(back, drawn), 0);
    EXPECT_EQ(back.pixel(150, 65), qRgb(255, 0, 0));
    EXPECT_EQ(back.pixel(60, 60), qRgb(0, 0, 0)); // inside the first rectangle, untouched
    // A second Ctrl+S asks nothing: the picture is true colour now.
    stroke(c, 0, QPoint(200, 220), QPoint(300, 230));
    ctrlS(c);
    EXPECT_EQ(dialogs.asked.size(), 2u);
}

// Navy and yellow, 1 bit: a red and a black stroke. Navy stays navy, both strokes show.
TEST_F(PaletteSave, OneBitNavyAndYellowKeepsNavyAndBothStrokes)
{
    TMDIChild *c = open("navy", QStringLiteral("marine.bmp"));
    ASSERT_NE(c, nullptr);
    ASSERT_EQ(c->doc().picture().depth, 1);
    stroke(c, 2, QPoint(5, 8), QPoint(310, 8));
    stroke(c, 0, QPoint(5, 231), QPoint(150, 231));
    const QImage drawn = c->doc().image().copy();
    dialogs.answer = QMessageBox::Yes;
    ctrlS(c);
    ASSERT_EQ(dialogs.asked.size(), 1u);
    const QImage back = readBack();
    ASSERT_FALSE(back.isNull());
    EXPECT_EQ(untouchedChanged(back, drawn), 0);
    EXPECT_EQ(back.pixel(2, 120), qRgb(0, 0, 128));
    EXPECT_EQ(back.pixel(150, 8), qRgb(255, 0, 0));
    EXPECT_EQ(back.pixel(80, 231), qRgb(0, 0, 0));
}

// 8 bits with all 256 entries in use, two new strokes, in BMP, PCX, GIF and TIFF; the
// answer "Réduire les nouvelles couleurs" keeps the file's 256 entries and every pixel
// that was not drawn on.
TEST_F(PaletteSave, FullPaletteInEveryPaletteFormatKeepsUntouchedPixelsEitherWay)
{
    for (const char *ext : {"bmp", "pcx", "gif", "tif"})
        for (QMessageBox::StandardButton answer : {QMessageBox::Yes, QMessageBox::No}) {
            // GIF holds no true colour: its question has no "24 bits".
            if (QLatin1String(ext) == QLatin1String("gif") && answer == QMessageBox::Yes)
                continue;
            SCOPED_TRACE(std::string(ext) + (answer == QMessageBox::Yes ? " 24 bits" : " réduire"));
            TMDIChild *c = open("full256", QStringLiteral("plein%1.%2").arg(int(answer)).arg(QLatin1String(ext)));
            ASSERT_NE(c, nullptr);
            ASSERT_EQ(c->doc().picture().depth, 8);
            stroke(c, 2, QPoint(10, 100), QPoint(310, 140));
            stroke(c, 13, QPoint(200, 10), QPoint(210, 230)); // (127, 127, 127)
            const QImage drawn = c->doc().image().copy();
            dialogs.asked.clear();
            dialogs.answer = answer;
            ctrlS(c);
            EXPECT_EQ(dialogs.asked.size(), 1u);
            EXPECT_FALSE(c->Modified());
            QByteArray mode;
            const QImage back = readBack(&mode);
            ASSERT_FALSE(back.isNull());
            EXPECT_EQ(untouchedChanged(back, drawn), 0);
            // The window shows what the file holds.
            EXPECT_EQ(back, c->doc().image().convertToFormat(QImage::Format_RGB32));
            if (answer == QMessageBox::No) {
                EXPECT_EQ(mode, "P 256");
            } else {
                EXPECT_EQ(back.pixel(160, 120), qRgb(255, 0, 0));
                EXPECT_EQ(mode, "RGB 0");
            }
            c->doc().setModified(false);
            closeActive();
        }
}

// 16 entries of which three are used: a red stroke takes a free entry, no question, and
// the file stays 4 bits with its own entries in place.
TEST_F(PaletteSave, NewColoursTakeFreeEntriesWithoutAQuestion)
{
    TMDIChild *c = open("sixteen", QStringLiteral("seize.bmp"));
    ASSERT_NE(c, nullptr);
    const QList<QRgb> palette = c->doc().picture().palette;
    stroke(c, 2, QPoint(10, 6), QPoint(300, 6));
    const QImage drawn = c->doc().image().copy();
    ctrlS(c);
    EXPECT_TRUE(dialogs.asked.empty());
    EXPECT_FALSE(c->Modified());
    const QImage back = readBack();
    EXPECT_EQ(untouchedChanged(back, drawn), 0);
    EXPECT_EQ(back.pixel(150, 6), qRgb(255, 0, 0));
    const Picture file = formats::readPictureFile(path);
    EXPECT_EQ(file.depth, 4);
    for (int i : {0, 1, 2})
        EXPECT_EQ(file.palette[i], palette[i]);
}
