// Printing, the thumbnail browser and the batch converter as a user reaches them: menu
// items and buttons of the main window, the real dialogs, files written and read back.
#include "AppFixture.h"
#include "FolderTree.h"
#include "PdfCheck.h"
#include "PictureFiles.h"
#include "Printing.h"
#include "TCat.h"
#include "TConversion.h"
#include "TConvert.h"
#include "TEcran.h"
#include "TMep.h"
#include "TVignettes.h"
#include "TestPictures.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace vermeo;

namespace {
// Keeps the current directory of the process for a test that lets a dialog change it.
struct KeepCurrentDir {
    ~KeepCurrentDir() { QDir::setCurrent(old); }
    QString old = QDir::currentPath();
};

// In Qt's print dialog as a user does it: the "print to file (PDF)" entry of the printer
// list, the file's name, the copies, then the OK button. False when the dialog has none.
bool choosePdfFile(QDialog &d, const QString &file, int copies)
{
    auto *printers = d.findChild<QComboBox *>(QStringLiteral("printers"));
    auto *name = d.findChild<QLineEdit *>(QStringLiteral("filename"));
    auto *box = d.findChild<QDialogButtonBox *>();
    if (!printers || !name || !box || printers->count() == 0)
        return false;
    // Qt puts its file output last in the list.
    printers->setCurrentIndex(printers->count() - 1);
    if (!printers->currentText().contains(QStringLiteral("PDF")))
        return false;
    name->setText(file);
    if (auto *spin = d.findChild<QSpinBox *>(QStringLiteral("copies")))
        spin->setValue(copies);
    box->button(QDialogButtonBox::Ok)->click();
    return d.result() == QDialog::Accepted;
}

// The conversion's own window: waits until it closes by itself.
bool waitConverted(QDialog &d)
{
    if (!qobject_cast<formats::TConversion *>(&d))
        return false;
    QTest::qWaitFor([&] { return !d.isVisible(); }, 60000);
    return true;
}

void waitFilled(formats::TVignettes &page)
{
    QElapsedTimer t;
    t.start();
    while (page.filling() && t.elapsed() < 60000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
}
} // namespace

TEST_F(AppTest, MiseEnPageUpdatesTheMainWindowAndTheActiveWindowOnlyAndCancelStillSetsThePage)
{
    TMDIChild *other = newPicture();
    TMDIChild *active = newPicture();
    ASSERT_EQ(form->activeChild(), active);
    dialogs.onDialog = [](QDialog &d) {
        auto &mep = static_cast<TMep &>(d);
        EXPECT_EQ(mep.SpinEdit1->value(), 20);
        mep.SpinEdit1->setValue(5);
        mep.SpinEdit4->setValue(33);
        mep.SpinEdit5->setValue(150);
        mep.Button2->click();
    };
    form->action("Miseenpage1")->trigger();
    EXPECT_EQ(form->Margins[0], 5);
    EXPECT_EQ(form->Margins[3], 33);
    EXPECT_EQ(form->PrintScale, 150);
    EXPECT_EQ(active->doc().MarginLeft, 5);
    EXPECT_EQ(active->doc().MarginBottom, 33);
    EXPECT_EQ(other->doc().MarginLeft, 20); // other windows keep theirs
    EXPECT_EQ(ImageDocument::PrintScale, 150);

    // Cancelled: the active window still takes the main window's unchanged values.
    active->SetPage(1, 2, 3, 4, 60);
    dialogs.onDialog = [](QDialog &d) {
        auto &mep = static_cast<TMep &>(d);
        mep.SpinEdit1->setValue(77);
        mep.Button1->click();
    };
    form->action("Miseenpage1")->trigger();
    EXPECT_EQ(form->Margins[0], 5);
    EXPECT_EQ(active->doc().MarginLeft, 5);
    EXPECT_EQ(active->doc().MarginTop, 20);
    EXPECT_EQ(ImageDocument::PrintScale, 150);
    ImageDocument::PrintScale = 100;
}

TEST_F(AppTest, ImprimerPrintsTheCopiesChosenAndTheButtonPrintsOneAtOnce)
{
    // The user's way, on any machine: the print dialog's own PDF file output, a file the
    // test owns, never the machine's queues (a made-up queue stands for a desktop's).
    printing::setPrinterQueueSource([] { return QStringList{QStringLiteral("Bureau")}; });
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("sortie.pdf"));
    TMDIChild *c = newPicture(600, 400);
    c->doc().replacePixels(test::filled(600, 400, ComposeCouleur(20, 20, 20)));
    printing::printer().setResolution(300);
    bool toFile = false;
    dialogs.onDialog = [&](QDialog &d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Imprimer"));
        EXPECT_EQ(d.findChild<QLabel *>(QStringLiteral("noQueueLine")), nullptr); // a queue: no word about it
        toFile = choosePdfFile(d, file, 3);
    };
    form->action("Imprimer1")->trigger();
    ASSERT_TRUE(toFile);
    EXPECT_EQ(printing::printer().copyCount(), 3);
    std::vector<test::PdfImage> images = test::pdfImages(file);
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0].width, 600);
    EXPECT_EQ(images[0].xPpi, 300);
    // The job is named after the window.
    EXPECT_TRUE(test::runTool(QStringLiteral("pdfinfo"), {file}).contains(c->printJobName()));

    // The button prints one copy at once, on what the dialog chose.
    QFile::remove(file);
    dialogs.dialogs.clear();
    dialogs.onDialog = nullptr;
    auto *button = qobject_cast<QToolButton *>(form->control("PrintButton"));
    ASSERT_TRUE(button->isEnabled());
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_TRUE(dialogs.dialogs.empty()); // no print dialog
    EXPECT_EQ(printing::printer().copyCount(), 1);
    EXPECT_EQ(test::pdfImages(file).size(), 1u);

    // Cancelling the print dialog prints nothing.
    QFile::remove(file);
    form->action("Imprimer1")->trigger();
    EXPECT_FALSE(QFile::exists(file));
    printing::printer().setOutputFileName(QString());
    printing::setPrinterQueueSource({});
}

TEST_F(AppTest, WithoutAPrinterQueueImprimerOffersThePdfFileAndTheButtonSaysWhy)
{
    printing::setPrinterQueueSource([] { return QStringList(); });
    printing::printer().setOutputFileName(QString());
    newPicture();
    dialogs.dialogs.clear();
    // The button has no printer to print on at once, the set-up none to set up.
    QTest::mouseClick(form->control("PrintButton"), Qt::LeftButton);
    form->action("Configurationimprimante1")->trigger();
    ASSERT_EQ(dialogs.asked.size(), 2u);
    for (const QString &m : dialogs.asked)
        EXPECT_TRUE(m.startsWith(QStringLiteral("Aucune imprimante n'est installée"))) << m.toStdString();
    EXPECT_TRUE(dialogs.dialogs.empty());

    // "Imprimer...": the dialog, its first line saying why, its PDF output chosen.
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("image.pdf"));
    QString line;
    bool toFile = false;
    dialogs.onDialog = [&](QDialog &d) {
        if (auto *why = d.findChild<QLabel *>(QStringLiteral("noQueueLine")))
            line = why->text();
        auto *printers = d.findChild<QComboBox *>(QStringLiteral("printers"));
        ASSERT_NE(printers, nullptr);
        EXPECT_TRUE(printers->currentText().contains(QStringLiteral("PDF"))) << printers->currentText().toStdString();
        toFile = choosePdfFile(d, file, 1);
    };
    form->action("Imprimer1")->trigger();
    EXPECT_EQ(line, printing::noQueueLine());
    ASSERT_TRUE(toFile);
    EXPECT_EQ(test::pdfImages(file).size(), 1u);
    printing::printer().setOutputFileName(QString());
    printing::setPrinterQueueSource({});
}

TEST_F(AppTest, ThePreviewShowsThePictureOfTheActiveWindow)
{
    TMDIChild *c = newPicture(400, 300);
    c->doc().replacePixels(test::filled(400, 300, ComposeCouleur(0, 0, 0)));
    dialogs.dialogs.clear();
    bool seen = false;
    dialogs.onDialog = [&](QDialog &d) {
        auto *ecran = qobject_cast<TEcran *>(&d);
        ASSERT_NE(ecran, nullptr);
        seen = true;
        EXPECT_FALSE(ecran->previewPicture().isNull());
        EXPECT_EQ(qGray(ecran->previewPicture().pixel(1, 1)), 0);
        ecran->Button1->click();
    };
    QTest::mouseClick(form->control("PreviewButton"), Qt::LeftButton);
    EXPECT_TRUE(seen);
    EXPECT_EQ(dialogs.dialogs, std::vector<QString>{QStringLiteral("Aperçu avant impression")});
}

TEST_F(AppTest, ParcourirShowsTheFolderPageByPageAndADoubleClickOpensThePicture)
{
    KeepCurrentDir keep;
    QTemporaryDir dir;
    for (int i = 0; i < 13; ++i)
        formats::writePictureFile(Picture::fromImage(test::varied(300 + i, 200)),
                                  dir.filePath(QStringLiteral("photo%1.jpg").arg(i, 2, 10, QLatin1Char('0'))));
    formats::writePictureFile(Picture::fromImage(test::varied(10, 10)), dir.filePath(QStringLiteral("notes.txt")));
    form->SpinEdit1->setValue(9); // a drawing state the opened window does not take
    dialogs.onDialog = [&](QDialog &d) {
        if (auto *cat = qobject_cast<formats::TCat *>(&d)) {
            cat->DirectoryListBox1->setFolder(dir.path());
            EXPECT_EQ(cat->FileListBox1->count(), 13); // the mask leaves notes.txt out
            EXPECT_EQ(QDir::currentPath(), QDir(dir.path()).canonicalPath());
            QTest::mouseClick(cat->Button2, Qt::LeftButton);
            return;
        }
        auto *shown = qobject_cast<formats::TVignettes *>(&d);
        ASSERT_NE(shown, nullptr);
        formats::TVignettes &page = *shown;
        waitFilled(page);
        EXPECT_EQ(page.Labels[0]->text(), QStringLiteral("photo00.jpg"));
        QTest::mouseClick(page.SpeedButton3, Qt::LeftButton);
        waitFilled(page);
        EXPECT_EQ(page.Labels[11]->text(), QStringLiteral("photo12.jpg"));
        QTest::mouseDClick(page.Images[11], Qt::LeftButton);
    };
    form->action("Parcourir1")->trigger();
    QApplication::processEvents();
    ASSERT_EQ(form->childCount(), 1);
    TMDIChild *c = form->activeChild();
    EXPECT_EQ(c->subWindow()->windowTitle(), QStringLiteral("photo12.jpg"));
    EXPECT_EQ(c->doc().image().size(), QSize(312, 200));
    EXPECT_FALSE(c->Modified());
    EXPECT_EQ(c->doc().canvas().penWidth(), 1);
    // It is among the recent files, and browsing to it again brings its window forward.
    ASSERT_FALSE(form->recentMenu()->actions().isEmpty());
    EXPECT_EQ(QFileInfo(form->recentMenu()->actions().first()->data().toString()).fileName(), "photo12.jpg");
    form->action("Parcourir1")->trigger();
    QApplication::processEvents();
    EXPECT_EQ(form->childCount(), 1);

    // "Annuler" in the picker opens nothing.
    dialogs.onDialog = [](QDialog &d) {
        if (auto *cat = qobject_cast<formats::TCat *>(&d))
            cat->Button1->click();
        else
            ADD_FAILURE() << "the page is shown after Annuler";
    };
    form->action("Parcourir1")->trigger();
    EXPECT_EQ(form->childCount(), 1);
}

TEST_F(AppTest, ConversionsMultiplesConvertsTheSelectedFilesAndListsTheOneThatFailed)
{
    QTemporaryDir in, out;
    formats::writePictureFile(Picture::fromImage(test::varied(64, 48)), in.filePath(QStringLiteral("a.old.bmp")));
    formats::writePictureFile(Picture::fromImage(test::varied(32, 24)), in.filePath(QStringLiteral("b.gif")));
    QFile bad(in.filePath(QStringLiteral("c.jpg")));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("\xFF\xD8 tronqué");
    bad.close();
    formats::writePictureFile(Picture::fromImage(test::varied(8, 8)), in.filePath(QStringLiteral("d.bmp")));
    dialogs.onDialog = [&](QDialog &d) {
        if (waitConverted(d))
            return;
        auto &dlg = static_cast<formats::TConvert &>(d);
        EXPECT_EQ(dlg.Edit1->text(), QDir::currentPath());
        dlg.DirectoryOutline1->setFolder(in.path());
        ASSERT_EQ(dlg.FileListBox1->count(), 4);
        for (int i = 0; i < 3; ++i) // a, b, c: not d
            dlg.FileListBox1->item(i)->setSelected(true);
        dlg.Edit1->setText(out.path());
        dlg.ComboBox1->setFocus();
        QTest::keyClick(dlg.ComboBox1, Qt::Key_Down);         // "Gif"
        QTest::keyClick(dlg.ComboBox1, Qt::Key_Down);         // "Bmp"
        QTest::keyClick(dlg.ComboBox1, Qt::Key_Down);         // "Pcx"
        QTest::keyClicks(dlg.ComboBox1, QStringLiteral("j")); // typed keys choose nothing
        EXPECT_EQ(dlg.ComboBox1->currentText(), QStringLiteral("Pcx"));
        QTest::mouseClick(dlg.Button2, Qt::LeftButton);
    };
    form->action("Conversionsmultiples1")->trigger();
    ASSERT_EQ(dialogs.asked.size(), 1u);
    const QString message = dialogs.asked[0];
    EXPECT_TRUE(message.startsWith(QStringLiteral("2 fichiers convertis, 1 échec :\n"))) << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("c.jpg")));
    EXPECT_EQ(QDir(out.path()).entryList(QDir::Files), QStringList({"a.Pcx", "b.Pcx"}));
    EXPECT_EQ(formats::readPictureFile(out.filePath(QStringLiteral("a.Pcx"))).image, test::varied(64, 48));
    EXPECT_FALSE(form->ProgressBar1->isVisible());

    // Cancelled: nothing converted, no message.
    dialogs.asked.clear();
    dialogs.onDialog = [](QDialog &d) { static_cast<formats::TConvert &>(d).Button1->click(); };
    form->action("Conversionsmultiples1")->trigger();
    EXPECT_TRUE(dialogs.asked.empty());
}

TEST_F(AppTest, ConversionsMultiplesAnnulerStopsAfterTheCurrentFilesAndSaysHowManyWereConverted)
{
    QTemporaryDir in, out;
    const int count = 60;
    for (int i = 0; i < count; ++i)
        formats::writePictureFile(Picture::fromImage(test::noise(300, 200, quint32(i))),
                                  in.filePath(QStringLiteral("p%1.bmp").arg(i, 2, 10, QLatin1Char('0'))));
    int shownWhenStopped = -1;
    bool buttonOff = false;
    dialogs.onDialog = [&](QDialog &d) {
        if (auto *run = qobject_cast<formats::TConversion *>(&d)) {
            EXPECT_EQ(run->windowTitle(), QStringLiteral("Conversions multiples"));
            // A file or two done, then "Annuler", as a user who changed their mind.
            QTest::qWaitFor([&] { return run->ProgressBar1->value() >= 1; }, 60000);
            shownWhenStopped = run->ProgressBar1->value();
            QTest::mouseClick(run->Button1, Qt::LeftButton);
            buttonOff = !run->Button1->isEnabled();
            QTest::qWaitFor([&] { return !run->isVisible(); }, 60000);
            EXPECT_FALSE(run->isVisible()) << "the window closes once the files under way are done";
            return;
        }
        auto &dlg = static_cast<formats::TConvert &>(d);
        dlg.DirectoryOutline1->setFolder(in.path());
        dlg.FileListBox1->selectAll();
        dlg.Edit1->setText(out.path());
        dlg.ComboBox1->setCurrentIndex(1); // "Gif"
        QTest::mouseClick(dlg.Button2, Qt::LeftButton);
    };
    form->action("Conversionsmultiples1")->trigger();
    EXPECT_TRUE(buttonOff);
    ASSERT_GE(shownWhenStopped, 1);
    const int written = int(QDir(out.path()).entryList(QDir::Files).size());
    EXPECT_GE(written, shownWhenStopped);
    EXPECT_LT(written, count) << "Annuler stopped nothing";
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(
        dialogs.asked[0].toStdString(),
        QStringLiteral("Conversion arrêtée : %1 fichiers convertis sur %2").arg(written).arg(count).toStdString());
    // What was written is whole: every file reads back.
    for (const QString &f : QDir(out.path()).entryList(QDir::Files))
        EXPECT_EQ(formats::readPictureFile(out.filePath(f)).image.size(), QSize(300, 200)) << f.toStdString();
}
