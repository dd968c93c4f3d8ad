// Picture files by name, the document's Charge and Sauve and the dialogs' filters.
#include "DialogRunner.h"
#include "DocumentFiles.h"
#include "Error.h"
#include "FormatTestUtil.h"
#include "PictureFiles.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

using namespace vermeo;
using namespace vermeo::formats;

TEST(NameTables, OrdersOfTheContainsTests)
{
    EXPECT_EQ(readingKind(QStringLiteral("/a/photo.jpg.bmp")), FileKind::Jpeg);
    EXPECT_EQ(writingKind(QStringLiteral("/a/photo.jpg.bmp")), FileKind::Jpeg);
    EXPECT_EQ(readingKind(QStringLiteral("image.jpeg")), FileKind::General);
    EXPECT_EQ(batchReadingKind(QStringLiteral("image.jpeg")), FileKind::Bmp);
    EXPECT_EQ(readingKind(QStringLiteral("x.tif")), FileKind::General);
    EXPECT_EQ(writingKind(QStringLiteral("x.TIFF")), FileKind::Tiff);
    EXPECT_EQ(writingKind(QStringLiteral("a.gif.wmf")), FileKind::Gif);
    EXPECT_EQ(writingKind(QStringLiteral("a.emf.pcx")), FileKind::Emf);
    EXPECT_EQ(writingKind(QStringLiteral("/dir.pcx/picture")), FileKind::Pcx);
    EXPECT_EQ(writingKind(QStringLiteral("picture.png")), FileKind::Bmp);
}

TEST(PictureFiles, GeneralReaderAndBatchReaderDiffer)
{
    QTemporaryDir dir;
    const Picture p = test::truecolourPicture(9, 4);
    const QString jpeg = dir.filePath(QStringLiteral("image.jpeg"));
    test::writeFile(jpeg, encodeAs(FileKind::Jpeg, p));
    EXPECT_EQ(readPictureFile(jpeg).width(), 9);      // the general reader knows ".jpeg"
    Picture target;
    EXPECT_THROW(LitFichier(target, jpeg), VermeoError); // batch: read as a Windows bitmap
    const QString tif = dir.filePath(QStringLiteral("x.tif"));
    writePictureFile(p, tif);
    EXPECT_TRUE(test::samePixels(readPictureFile(tif).image, p.image)); // through Qt's reader
    const QString png = dir.filePath(QStringLiteral("x.png"));
    ASSERT_TRUE(p.image.save(png));
    EXPECT_TRUE(test::samePixels(readPictureFile(png).image, p.image));
    const QString ico = dir.filePath(QStringLiteral("x.ico"));
    ASSERT_TRUE(p.image.save(ico, "ICO"));
    EXPECT_TRUE(test::samePixels(readPictureFile(ico).image, p.image));
}

TEST(PictureFiles, EightBitBmpStaysEightBit)
{
    QTemporaryDir dir;
    const QString a = dir.filePath(QStringLiteral("a.bmp")), b = dir.filePath(QStringLiteral("b.bmp"));
    writePictureFile(test::palettePicture(10, 10, 8), a);
    Picture p;
    LitFichier(p, a);
    EcritFichier(p, b);
    EXPECT_EQ(readPictureFile(b).depth, 8);
    EXPECT_EQ(QFileInfo(b).size(), 54 + 1024 + 100 + 20);
    const QString pcx = dir.filePath(QStringLiteral("c.pcx")), pcx2 = dir.filePath(QStringLiteral("d.pcx"));
    writePictureFile(test::palettePicture(10, 10, 4), pcx);
    writePictureFile(readPictureFile(pcx), pcx2);
    EXPECT_EQ(readPictureFile(pcx2).depth, 4);
}

TEST(PictureFiles, AFailedSaveLeavesTheOldFileAndMessagesNameTheFile)
{
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("keep.wmf"));
    test::writeFile(name, "old contents");
    try {
        writePictureFile(test::truecolourPicture(40000, 1), name);
        ADD_FAILURE() << "no error";
    } catch (const VermeoError &e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("« keep.wmf »"))) << e.message().toStdString();
    }
    EXPECT_EQ(test::readFile(name), QByteArray("old contents"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1); // no temporary left
    try {
        readPictureFile(name);
        ADD_FAILURE() << "no error";
    } catch (const VermeoError &e) {
        EXPECT_TRUE(e.message().startsWith(QStringLiteral("Impossible d'ouvrir « keep.wmf » :"))) << e.message().toStdString();
    }
}

TEST(DialogFilters, DelphiStringsBecomeQtFilters)
{
    EXPECT_EQ(delphiFilterToQt(QStringLiteral("Bitmap (*.bmp)|*.bmp|Jpeg (*.jpg;*.jpeg)|*.jpg;*.jpeg")),
              QStringLiteral("Bitmap (*.bmp) (*.bmp);;Jpeg (*.jpg;*.jpeg) (*.jpg *.jpeg)"));
    const QStringList open = delphiFilterToQt(kOpenPictureFilter).split(QStringLiteral(";;"));
    ASSERT_EQ(open.size(), 7);
    EXPECT_TRUE(open[0].startsWith(QStringLiteral("Tout (*.bmp;*.jpg;*.jpeg;*wmf;*.emf;*;gif;*.pcx) (")));
    EXPECT_TRUE(open[0].endsWith(QStringLiteral("(*.bmp *.jpg *.jpeg *.wmf *.emf *.gif *.pcx)")));
    const QStringList save = delphiFilterToQt(kSavePictureFilter).split(QStringLiteral(";;"));
    ASSERT_EQ(save.size(), 7);
    EXPECT_EQ(save[5], QStringLiteral("Pcx (*;pcx) (*.pcx)"));
    EXPECT_EQ(save[3], QStringLiteral("Metafile évolué (emf) (*.emf)"));
}

namespace {
struct RecordingHost : DocumentHost {
    QString panel1;
    int fits = 0;
    void setStatusText(int panel, const QString &t) override { if (panel == 1) panel1 = t; }
    void fitWindow() override { ++fits; }
};
} // namespace

TEST(Charge, LoadsAndTakesTheUndoCopy)
{
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("p.pcx"));
    writePictureFile(test::palettePicture(31, 17, 8), name);
    ImageDocument doc;
    doc.Init(200, 200, clWhite);
    doc.Modif();
    doc.ZoomLevel = 2;
    doc.Tool = 7;
    RecordingHost host;
    Charge(doc, host, name);
    EXPECT_EQ(doc.FileName, name);
    EXPECT_FALSE(doc.modified());
    EXPECT_EQ(doc.ZoomLevel, 0);
    EXPECT_EQ(doc.BaseWidth, 31);
    EXPECT_EQ(doc.BaseHeight, 17);
    EXPECT_EQ(doc.Tool, 7);
    EXPECT_EQ(doc.picture().depth, 8);
    EXPECT_EQ(host.panel1, QStringLiteral("31 x 17"));
    EXPECT_EQ(host.fits, 1);
    doc.Annule(); // before any change: the picture as loaded
    EXPECT_TRUE(test::samePixels(doc.image(), test::palettePicture(31, 17, 8).image));
}

TEST(Charge, AFailureLeavesTheDocumentAsItWas)
{
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("bad.gif"));
    test::writeFile(name, "GIF89a....");
    ImageDocument doc;
    doc.Init(200, 200, clWhite);
    doc.FileName = QStringLiteral("before.bmp");
    doc.Modif();
    RecordingHost host;
    EXPECT_THROW(Charge(doc, host, name), VermeoError);
    EXPECT_EQ(doc.FileName, QStringLiteral("before.bmp"));
    EXPECT_TRUE(doc.modified());
    EXPECT_EQ(doc.width(), 200);
    EXPECT_EQ(host.fits, 0);
}

TEST(Sauve, RulesOfWritingAndCancelling)
{
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    ImageDocument doc;
    doc.Init(12, 8, clRed);
    RecordingHost host;
    int zinits = 0;
    auto zInit = [&] { ++zinits; doc.ZoomLevel = 0; };

    // Unnamed: the dialog; a name without "." takes the chosen filter's extension.
    dialogs.onFile = [&](FileDialogRequest &r) {
        EXPECT_TRUE(r.save);
        r.filterIndex = 5;
        return dir.filePath(QStringLiteral("noext"));
    };
    EXPECT_TRUE(Sauve(doc, host, false, zInit));
    EXPECT_EQ(doc.FileName, dir.filePath(QStringLiteral("noext.pcx")));
    EXPECT_FALSE(doc.modified());
    EXPECT_EQ(readPictureFile(doc.FileName).width(), 12);

    // Unchanged and named: "Enregistrer" writes nothing.
    QFile::remove(doc.FileName);
    EXPECT_FALSE(Sauve(doc, host, false, zInit));
    EXPECT_FALSE(QFile::exists(doc.FileName));

    // Cancelling "Enregistrer sous..." on a modified named picture writes nothing.
    doc.Modif();
    dialogs.onFile = [](FileDialogRequest &) { return QString(); };
    EXPECT_FALSE(Sauve(doc, host, true, zInit));
    EXPECT_FALSE(QFile::exists(doc.FileName));
    EXPECT_TRUE(doc.modified());

    // Zoomed: back to actual size first.
    doc.ZoomLevel = 3;
    EXPECT_TRUE(Sauve(doc, host, false, zInit));
    EXPECT_EQ(zinits, 1);
    EXPECT_TRUE(QFile::exists(doc.FileName));

    // "Enregistrer sous..." always writes once a name is chosen; a "." anywhere stops
    // the extension being added.
    dialogs.onFile = [&](FileDialogRequest &r) {
        r.filterIndex = 1;
        return dir.filePath(QStringLiteral("a.b/pic"));
    };
    QDir(dir.path()).mkdir(QStringLiteral("a.b"));
    EXPECT_TRUE(Sauve(doc, host, true, zInit));
    EXPECT_EQ(doc.FileName, dir.filePath(QStringLiteral("a.b/pic")));
    Picture written;
    LitFichier(written, doc.FileName); // a BMP: the batch side reads any other name so
    EXPECT_EQ(written.width(), 12);
}

TEST(Sauve, NameWithoutDotGetsBmp)
{
    QTemporaryDir dir;
    ImageDocument doc;
    doc.Init(5, 5, clRed);
    doc.FileName = dir.filePath(QStringLiteral("plain"));
    doc.Modif();
    RecordingHost host;
    EXPECT_TRUE(Sauve(doc, host, false, {}));
    EXPECT_EQ(doc.FileName, dir.filePath(QStringLiteral("plain.bmp")));
    EXPECT_TRUE(QFile::exists(doc.FileName));
}

TEST(OpenDialog, FilterAndPreview)
{
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("p.gif"));
    writePictureFile(test::palettePicture(15, 9, 4), name);
    ScriptedDialogs dialogs;
    FileDialogRequest seen;
    dialogs.onFile = [&](FileDialogRequest &r) {
        seen = r;
        return name;
    };
    EXPECT_EQ(askOpenPictureName(nullptr), name);
    EXPECT_FALSE(seen.save);
    EXPECT_TRUE(seen.hideFilterPatterns);
    EXPECT_EQ(seen.filter, delphiFilterToQt(kOpenPictureFilter));
    ASSERT_TRUE(bool(seen.preview));
    EXPECT_EQ(seen.preview(name).size(), QSize(15, 9));
    EXPECT_TRUE(seen.preview(dir.filePath(QStringLiteral("missing.bmp"))).isNull());
}

TEST(OpenDialog, RealDialogShowsThePreviewOfTheSelectedFile)
{
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("p.pcx"));
    writePictureFile(test::palettePicture(40, 20, 8), name);
    bool previewShown = false, clearedOnAFolder = false, typedNameShown = false;
    QStringList filters;
    QTimer::singleShot(200, [&] {
        auto *dlg = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dlg)
            return;
        filters = dlg->nameFilters();
        auto previewed = [dlg] {
            for (QLabel *label : dlg->findChildren<QLabel *>())
                if (label->size() == QSize(200, 200) && !label->pixmap().isNull())
                    return true;
            return false;
        };
        // What the dialog reports when the user moves onto a file.
        emit dlg->currentChanged(name);
        previewShown = previewed();
        emit dlg->currentChanged(dir.path());
        clearedOnAFolder = !previewed();
        // A name typed in the box, as the keyboard user does.
        dlg->setDirectory(dir.path());
        if (auto *edit = dlg->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
            edit->setText(QStringLiteral("p.pcx"));
        typedNameShown = previewed();
        dlg->reject();
    });
    EXPECT_TRUE(askOpenPictureName(nullptr).isEmpty());
    EXPECT_TRUE(previewShown);
    EXPECT_TRUE(clearedOnAFolder);
    EXPECT_TRUE(typedNameShown);
    ASSERT_EQ(filters.size(), 7);
}
