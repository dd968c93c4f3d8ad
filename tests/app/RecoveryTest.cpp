// Recovery at start-up through the real windows: pictures drawn with the mouse are
// journalled at the pause, left behind as by a program that was killed, and offered
// by the next main window in its "Récupération des images" dialog.
#include "AppFixture.h"
#include "ImageView.h"
#include "JournalSession.h"
#include "PictureFiles.h"
#include "TRecup.h"
#include "TestPictures.h"

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

using namespace vermeo;

namespace {

// A main window with the journals of its run in one folder.
struct ProgramRun {
    explicit ProgramRun(const QString &folder) : session(folder)
    {
        form.setJournalSession(&session);
        form.show();
        QApplication::processEvents();
    }
    ~ProgramRun()
    {
        for (auto *c : form.children())
            c->doc().setModified(false);
        form.mdiArea()->closeAllSubWindows();
        QApplication::processEvents();
    }
    JournalSession session;
    TMainForm form;
};

void drag(TMDIChild *c, QPoint from, QPoint to)
{
    QWidget *view = c->Image1();
    QTest::mousePress(view, Qt::LeftButton, {}, from);
    for (int i = 1; i <= 10; ++i)
        QTest::mouseMove(view, from + (to - from) * i / 10);
    QTest::mouseRelease(view, Qt::LeftButton, {}, to);
}

// Waits for the pause in editing and the write that follows it.
bool journalled(TMDIChild *c)
{
    return QTest::qWaitFor([c] { return c->journal()->upToDate(); }, 6000);
}

// The journal as the program would leave it if it were killed now.
QString leftBehind(TMDIChild *c, const QString &folder, int n)
{
    const QString gone = folder + QStringLiteral("/gone-1.%1.vjournal").arg(n);
    EXPECT_TRUE(QFile::copy(c->journal()->path(), gone));
    return gone;
}

QStringList journals(const QString &folder)
{
    return QDir(folder).entryList({QStringLiteral("*.vjournal")}, QDir::Files, QDir::Name);
}

} // namespace

TEST(Recovery, PicturesKilledUnsavedComeBackWithTheirNamesDepthAndPixels)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("state/vermeo"));
    const QString palFile = dir.filePath(QStringLiteral("pal.bmp"));
    // Eight bits, four colours; black (the pen's) among them, so saving keeps every stroke.
    const QList<QRgb> colours{qRgb(0, 0, 0), qRgb(40, 170, 210), qRgb(250, 200, 40), qRgb(200, 30, 60)};
    QImage pixels = newWorkingImage(120, 90, colours[1]);
    for (int y = 20; y < 60; ++y)
        for (int x = 10; x < 100; ++x)
            pixels.setPixel(x, y, colours[2 + (x / 30) % 2]);
    const Picture pal = Picture::withPalette(pixels, 8, colours);
    formats::writePictureFile(pal, palFile);
    QImage drawnNew, drawnPal;
    QList<QRgb> loadedPalette;
    {
        ProgramRun first(folder);
        ScriptedDialogs dialogs;
        dialogs.onDialog = [](QDialog &d) {
            d.findChild<QSpinBox *>("SpinEdit1")->setValue(400);
            d.findChild<QSpinBox *>("SpinEdit2")->setValue(300);
            d.findChild<QPushButton *>("Button2")->click();
        };
        first.form.FileNewItemClick();
        TMDIChild *unnamed = first.form.activeChild();
        ASSERT_TRUE(first.form.openPictureFile(palFile));
        TMDIChild *named = first.form.activeChild();
        drag(unnamed, {20, 30}, {350, 260});
        drag(named, {100, 5}, {3, 80});
        ASSERT_TRUE(journalled(unnamed));
        ASSERT_TRUE(journalled(named));
        drawnNew = unnamed->doc().image().copy();
        drawnPal = named->doc().image().copy();
        loadedPalette = named->doc().picture().palette;
        EXPECT_EQ(loadedPalette.mid(0, 4), colours);
        struct stat st {};
        ASSERT_EQ(::stat(QFile::encodeName(unnamed->journal()->path()).constData(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0600u);
        leftBehind(unnamed, folder, 1);
        leftBehind(named, folder, 2);
        // A clean quit takes this run's own journals with it.
    }
    EXPECT_EQ(journals(folder), QStringList({"gone-1.1.vjournal", "gone-1.2.vjournal"}));

    ProgramRun second(folder);
    ScriptedDialogs dialogs;
    QStringList lines;
    dialogs.onDialog = [&](QDialog &d) {
        auto *list = d.findChild<QListWidget *>("ListBox1");
        for (int i = 0; i < list->count(); ++i) {
            lines << list->item(i)->text();
            EXPECT_EQ(list->item(i)->checkState(), Qt::Checked);
        }
        d.findChild<QPushButton *>("Button1")->click();
    };
    second.form.offerRecovery();
    EXPECT_EQ(dialogs.dialogs, std::vector<QString>{QStringLiteral("Récupération des images")});
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(
        lines.filter(QRegularExpression("^Image1 : 400 x 300, 24 bits, modifiée le \\d+ \\S+ \\d{4} à \\d\\d:\\d\\d$"))
            .size() == 1)
        << qPrintable(lines.join('\n'));
    EXPECT_EQ(lines.filter(QStringLiteral("pal.bmp : 120 x 90, 8 bits, modifiée le ")).size(), 1);

    ASSERT_EQ(second.form.childCount(), 2);
    for (TMDIChild *c : second.form.children()) {
        EXPECT_TRUE(c->Modified());
        if (c->windowTitle() == QStringLiteral("Image1")) {
            EXPECT_TRUE(c->FileName().isEmpty());
            EXPECT_EQ(c->doc().image(), drawnNew);
            EXPECT_EQ(c->doc().picture().depth, 24);
        } else {
            EXPECT_EQ(c->windowTitle(), QStringLiteral("pal.bmp"));
            EXPECT_EQ(c->FileName(), palFile);
            EXPECT_EQ(c->doc().image(), drawnPal);
            EXPECT_EQ(c->doc().picture().depth, 8);
            EXPECT_EQ(c->doc().picture().palette, loadedPalette);
            // "Annuler" keeps the recovered picture.
            c->Annule();
            EXPECT_EQ(c->doc().image(), drawnPal);
        }
    }
    // The journals are this run's now: nothing is offered twice...
    EXPECT_EQ(journals(folder).filter(QStringLiteral("gone-1.")).size(), 0);
    EXPECT_EQ(journals(folder).size(), 2);
    // ...and saving the palette picture under its name takes its journal away.
    TMDIChild *named =
        second.form.children()[0]->windowTitle() == "pal.bmp" ? second.form.children()[0] : second.form.children()[1];
    second.form.mdiArea()->setActiveSubWindow(named->subWindow());
    second.form.FileSaveItemClick();
    EXPECT_FALSE(named->Modified());
    EXPECT_EQ(journals(folder).size(), 1);
    const Picture saved = formats::readPictureFile(palFile);
    EXPECT_EQ(saved.image, drawnPal);
    EXPECT_EQ(saved.depth, 8);
}

TEST(Recovery, IgnoreKeepsDeleteAsksAndRemovesOnlyTheTickedDamagedFilesNeverStopTheStart)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("vermeo"));
    QDir().mkpath(folder);
    QString kept, thrown;
    {
        ProgramRun first(folder);
        for (const QString &title : {QStringLiteral("Image1"), QStringLiteral("Image2")}) {
            TMDIChild *c = first.form.OuvreFenetreImage(title);
            c->Init(30, 20, clWhite);
            first.form.prepareChild(c);
            drag(c, {1, 1}, {25, 15});
            c->journal()->writeNow();
            c->journal()->waitForWrite();
            (kept.isEmpty() ? kept : thrown) = leftBehind(c, folder, kept.isEmpty() ? 1 : 2);
        }
    }
    QFile bad(folder + QStringLiteral("/gone-1.3.vjournal"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("VERMJRNL\x01\x00\x00\x00 tronqué");
    bad.close();

    {
        ProgramRun second(folder);
        ScriptedDialogs dialogs;
        QStringList lines;
        dialogs.onDialog = [&](QDialog &d) {
            auto *list = d.findChild<QListWidget *>("ListBox1");
            for (int i = 0; i < list->count(); ++i)
                lines << list->item(i)->text() + (list->item(i)->checkState() == Qt::Checked ? " [x]" : " [ ]");
            d.findChild<QPushButton *>("Button2")->click(); // Ignorer
        };
        second.form.offerRecovery();
        EXPECT_EQ(lines.size(), 3);
        EXPECT_EQ(
            lines.filter(QStringLiteral("gone-1.3.vjournal : illisible, Fichier de récupération endommagé")).size(), 1)
            << qPrintable(lines.join('\n'));
        EXPECT_EQ(lines.filter(QStringLiteral("[x]")).size(), 2);
        EXPECT_EQ(second.form.childCount(), 0);
        EXPECT_EQ(journals(folder).size(), 3);
    }
    {
        // Offered again; "Supprimer" asks, and "Non" keeps the dialog and the files.
        ProgramRun third(folder);
        ScriptedDialogs dialogs;
        dialogs.answer = QMessageBox::No;
        dialogs.onDialog = [&](QDialog &d) {
            auto *list = d.findChild<QListWidget *>("ListBox1");
            d.findChild<QPushButton *>("Button3")->click();
            EXPECT_TRUE(d.isVisible());
            dialogs.answer = QMessageBox::Yes;
            // Image1 and the damaged file ticked, Image2 not.
            for (int i = 0; i < list->count(); ++i)
                list->item(i)->setCheckState(list->item(i)->text().startsWith("Image2") ? Qt::Unchecked : Qt::Checked);
            d.findChild<QPushButton *>("Button3")->click();
        };
        third.form.offerRecovery();
        EXPECT_EQ(dialogs.asked.size(), 2u);
        EXPECT_EQ(third.form.childCount(), 0);
        EXPECT_EQ(journals(folder), QStringList({QFileInfo(thrown).fileName()}));
    }
    // Nothing left but Image2, which the next start still offers.
    ProgramRun fourth(folder);
    ScriptedDialogs dialogs;
    dialogs.onDialog = [](QDialog &d) { d.findChild<QPushButton *>("Button1")->click(); };
    fourth.form.offerRecovery();
    ASSERT_EQ(fourth.form.childCount(), 1);
    EXPECT_EQ(fourth.form.activeChild()->windowTitle(), QStringLiteral("Image2"));
}
