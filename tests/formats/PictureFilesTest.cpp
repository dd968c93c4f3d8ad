// Picture files by name, the document's Charge and Sauve and the dialogs' filters.
#include "PictureFiles.h"
#include "BmpCodec.h"
#include "ByteIO.h"
#include "DialogRunner.h"
#include "DocumentFiles.h"
#include "Error.h"
#include "FormatTestUtil.h"
#include "PaletteFit.h"
#include "PaletteIndex.h"
#include "RecordingHost.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <csignal>
#include <cstring>

using namespace vermeo;
using namespace vermeo::formats;

TEST(NameTables, OrdersOfTheContainsTests)
{
    EXPECT_EQ(readingKind(QStringLiteral("/a/photo.jpg.bmp")), FileKind::Jpeg);
    EXPECT_EQ(writingKind(QStringLiteral("/a/photo.jpg.bmp")), FileKind::Jpeg);
    EXPECT_EQ(readingKind(QStringLiteral("image.jpeg")), FileKind::General);
    // The batch side reads ".jpeg" and ".png" endings as the windows do; any other name as BMP.
    EXPECT_EQ(batchReadingKind(QStringLiteral("image.jpeg")), FileKind::Jpeg);
    EXPECT_EQ(batchReadingKind(QStringLiteral("image.PNG")), FileKind::Png);
    EXPECT_EQ(batchReadingKind(QStringLiteral("image.png.old")), FileKind::Bmp);
    EXPECT_EQ(readingKind(QStringLiteral("x.tif")), FileKind::General);
    EXPECT_EQ(writingKind(QStringLiteral("x.TIFF")), FileKind::Tiff);
    EXPECT_EQ(writingKind(QStringLiteral("a.gif.wmf")), FileKind::Gif);
    EXPECT_EQ(writingKind(QStringLiteral("a.emf.pcx")), FileKind::Emf);
    EXPECT_EQ(writingKind(QStringLiteral("/dir.pcx/picture")), FileKind::Pcx);
    EXPECT_EQ(writingKind(QStringLiteral("picture.png")), FileKind::Png);
    EXPECT_EQ(writingKind(QStringLiteral("picture.pnm")), FileKind::Bmp);
}

TEST(PictureFiles, GeneralReaderAndBatchReaderDiffer)
{
    QTemporaryDir dir;
    const Picture p = test::truecolourPicture(9, 4);
    const QString jpeg = dir.filePath(QStringLiteral("image.jpeg"));
    test::writeFile(jpeg, encodeAs(FileKind::Jpeg, p));
    EXPECT_EQ(readPictureFile(jpeg).width(), 9); // the general reader knows ".jpeg"
    Picture target;
    LitFichier(target, jpeg); // batch: ".jpeg" is JPEG there too
    EXPECT_EQ(target.width(), 9);
    const QString pnm = dir.filePath(QStringLiteral("image.pnm"));
    test::writeFile(pnm, encodeAs(FileKind::Jpeg, p));
    EXPECT_THROW(LitFichier(target, pnm), VermeoError); // batch: any other name is a Windows bitmap
    EXPECT_EQ(target.width(), 9);
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
        EXPECT_TRUE(e.message().startsWith(QStringLiteral("Impossible d'ouvrir « keep.wmf » :")))
            << e.message().toStdString();
    }
}

TEST(DialogFilters, DelphiStringsBecomeQtFilters)
{
    EXPECT_EQ(delphiFilterToQt(QStringLiteral("Bitmap (*.bmp)|*.bmp|Jpeg (*.jpg;*.jpeg)|*.jpg;*.jpeg")),
              QStringLiteral("Bitmap (*.bmp) (*.bmp);;Jpeg (*.jpg;*.jpeg) (*.jpg *.jpeg)"));
    const QStringList open = delphiFilterToQt(kOpenPictureFilter).split(QStringLiteral(";;"));
    ASSERT_EQ(open.size(), 12);
    EXPECT_EQ(open[7], QStringLiteral("Png (*.png) (*.png)"));
    EXPECT_EQ(open[9], QStringLiteral("Heic (*.heic;*.heif) (*.heic *.heif)"));
    EXPECT_TRUE(open[0].startsWith(QStringLiteral("Tout (*.bmp;*.jpg;*.jpeg;*wmf;*.emf;*;gif;*.pcx) (")));
    EXPECT_TRUE(open[0].endsWith(QStringLiteral("(*.bmp *.jpg *.jpeg *.wmf *.emf *.gif *.pcx)")));
    const QStringList save = delphiFilterToQt(kSavePictureFilter).split(QStringLiteral(";;"));
    ASSERT_EQ(save.size(), 10);
    EXPECT_EQ(kSaveFilterExtensions.size(), 10);
    EXPECT_EQ(save[9], QStringLiteral("WebP sans perte (*.webp) (*.webp)"));
    EXPECT_EQ(kSaveFilterExtensions[7], QStringLiteral(".png"));
    EXPECT_EQ(save[5], QStringLiteral("Pcx (*;pcx) (*.pcx)"));
    EXPECT_EQ(save[3], QStringLiteral("Metafile évolué (emf) (*.emf)"));
}

namespace {
using test::RecordingHost;
} // namespace

TEST(Charge, LoadsAndTakesTheUndoCopy)
{
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("p.pcx"));
    writePictureFile(test::palettePicture(31, 17, 8), name);
    ImageDocument doc;
    doc.Init(200, 200, clWhite);
    doc.Modif();
    doc.setZoomLevel(2);
    doc.Tool = tcFill;
    RecordingHost host;
    Charge(doc, host, name);
    EXPECT_EQ(doc.FileName, name);
    EXPECT_FALSE(doc.modified());
    EXPECT_EQ(doc.zoomLevel(), 0);
    EXPECT_EQ(doc.image().size(), QSize(31, 17));
    EXPECT_EQ(doc.Tool, tcFill);
    EXPECT_EQ(doc.picture().depth, 8);
    EXPECT_EQ(host.panel[1], QStringLiteral("31 x 17"));
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
    auto zInit = [&] {
        ++zinits;
        doc.setZoomLevel(0);
    };

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
    doc.setZoomLevel(3);
    EXPECT_TRUE(Sauve(doc, host, false, zInit));
    EXPECT_EQ(zinits, 1);
    EXPECT_TRUE(QFile::exists(doc.FileName));

    // "Enregistrer sous..." always writes once a name is chosen; a folder's dot does not
    // stop the chosen type's extension being added.
    dialogs.onFile = [&](FileDialogRequest &r) {
        r.filterIndex = 1;
        return dir.filePath(QStringLiteral("a.b/pic"));
    };
    QDir(dir.path()).mkdir(QStringLiteral("a.b"));
    EXPECT_TRUE(Sauve(doc, host, true, zInit));
    EXPECT_EQ(doc.FileName, dir.filePath(QStringLiteral("a.b/pic.jpg")));
    EXPECT_EQ(readPictureFile(doc.FileName).width(), 12);
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("a.b/pic"))));
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
    ASSERT_EQ(filters.size(), 12);
}

TEST(PictureFiles, JpegAndPngNamesAreWrittenInTheirFormat)
{
    QTemporaryDir dir;
    EXPECT_EQ(writingKind(QStringLiteral("photo.jpeg")), FileKind::Jpeg);
    EXPECT_EQ(writingKind(QStringLiteral("photo.PNG")), FileKind::Png);
    EXPECT_EQ(writingKind(QStringLiteral("photo.png.bmp")), FileKind::Bmp);
    const QString jpeg = dir.filePath(QStringLiteral("photo.jpeg"));
    writePictureFile(test::truecolourPicture(16, 8), jpeg);
    EXPECT_TRUE(test::readFile(jpeg).startsWith("\xFF\xD8"));
    // A palette picture becomes a palette PNG, and opens with its palette.
    const Picture p4 = test::palettePicture(21, 5, 4);
    const QString png = dir.filePath(QStringLiteral("p.png"));
    writePictureFile(p4, png);
    const QByteArray f = test::readFile(png);
    ASSERT_TRUE(f.startsWith("\x89PNG"));
    EXPECT_EQ(uchar(f[25]), 3); // colour type: palette
    const Picture back = readPictureFile(png);
    EXPECT_TRUE(test::samePixels(back.image, p4.image));
    EXPECT_EQ(back.depth, 8);
    const QString tc = dir.filePath(QStringLiteral("t.png"));
    writePictureFile(test::truecolourPicture(16, 8), tc);
    EXPECT_EQ(uchar(test::readFile(tc)[25]), 2); // true colour
    EXPECT_TRUE(test::samePixels(readPictureFile(tc).image, test::truecolourPicture(16, 8).image));
}

TEST(PictureFiles, LargeFilesReadThroughQtOpen)
{
    // 6000 x 6000 at 16 bits: above Qt's own 128 MB limit once decoded.
    QTemporaryDir dir;
    const int w = 6000, h = 6000;
    QByteArray bmp;
    ByteWriter wr(bmp);
    const qint64 row = bmpRowSize(w, 16);
    wr.bytes("BM", 2);
    wr.u32(uint32_t(54 + row * h));
    wr.u32(0);
    wr.u32(54);
    wr.u32(40);
    wr.u32(w);
    wr.u32(h);
    wr.u16(1);
    wr.u16(16);
    wr.u32(0);
    wr.u32(uint32_t(row * h));
    wr.u32(3780);
    wr.u32(3780);
    wr.u32(0);
    wr.u32(0);
    bmp.append(QByteArray(row * h, '\0'));
    bmp[54] = char(0x1F); // the bottom-left pixel: pure blue in 5-5-5
    const QString name = dir.filePath(QStringLiteral("big16.bmp"));
    test::writeFile(name, bmp);
    bmp.clear();
    const Picture p = readPictureFile(name);
    EXPECT_EQ(p.image.size(), QSize(w, h));
    EXPECT_EQ(p.depth, 16);
    EXPECT_GE(qBlue(p.image.pixel(0, h - 1)), 248); // 5 bits widened
    EXPECT_EQ(qRed(p.image.pixel(0, h - 1)), 0);
}

TEST(PictureFiles, MessagesAreFrenchAndNameFileAndCause)
{
    QTemporaryDir dir;
    struct Case {
        QString name;
        QByteArray bytes;
        QString cause;
    };
    const Case cases[] = {
        {QStringLiteral("photo.jpg"), encodeBmp(test::truecolourPicture(4, 4)),
         QStringLiteral("ce n'est pas un fichier JPEG")},
        {QStringLiteral("anim.gif"), QByteArray("BMnot a gif at all"), QStringLiteral("ce n'est pas un fichier GIF")},
        {QStringLiteral("vide.emf"), QByteArray(), QStringLiteral("fichier vide")},
        {QStringLiteral("image.png"), QByteArray("\x89PNG\r\n\x1a\n garbage", 17), QStringLiteral("fichier PNG")},
    };
    for (const Case &c : cases) {
        const QString file = dir.filePath(c.name);
        test::writeFile(file, c.bytes);
        try {
            readPictureFile(file);
            ADD_FAILURE() << c.name.toStdString();
        } catch (const VermeoError &e) {
            const QString m = e.message();
            EXPECT_TRUE(m.startsWith(QStringLiteral("Impossible d'ouvrir « %1 » :").arg(c.name))) << m.toStdString();
            EXPECT_TRUE(m.contains(c.cause)) << m.toStdString();
            for (const char *english : {"Not a", "not in", "file", "Unable", "error", "format", "header"}) {
                if (!c.cause.contains(QLatin1String(english))) {
                    EXPECT_FALSE(m.contains(QLatin1String(english))) << m.toStdString();
                }
            }
        }
    }
    QDir(dir.path()).mkdir(QStringLiteral("dossier.bmp"));
    try {
        readPictureFile(dir.filePath(QStringLiteral("dossier.bmp")));
        ADD_FAILURE();
    } catch (const VermeoError &e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("c'est un dossier"))) << e.message().toStdString();
    }
    try {
        writePictureFile(test::truecolourPicture(4, 4), dir.filePath(QStringLiteral("absent/x.bmp")));
        ADD_FAILURE();
    } catch (const VermeoError &e) {
        EXPECT_EQ(e.message(), QStringLiteral("Impossible d'enregistrer « x.bmp » : dossier introuvable."));
    }
}

TEST(PictureFiles, OnlyRegularFilesAreRead)
{
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("zero.bmp"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), link));
    for (const QString &name : {QStringLiteral("/dev/zero"), link}) {
        try {
            readPictureFile(name);
            ADD_FAILURE() << name.toStdString();
        } catch (const VermeoError &e) {
            EXPECT_TRUE(e.message().contains(QStringLiteral("ce n'est pas un fichier ordinaire")))
                << e.message().toStdString();
        }
    }
}

namespace {
// An icon of BMP entries: (side, bits) each, with the pixels of one colour per entry.
QByteArray iconOf(const QList<std::pair<int, int>> &entries, const QList<QRgb> &colours)
{
    QByteArray dir, data;
    ByteWriter d(dir);
    d.u16(0);
    d.u16(1);
    d.u16(uint16_t(entries.size()));
    qint64 at = 6 + 16 * entries.size();
    for (int i = 0; i < entries.size(); ++i) {
        const auto [side, bits] = entries[i];
        QByteArray e;
        ByteWriter w(e);
        w.u32(40);
        w.u32(side);
        w.u32(2 * side);
        w.u16(1);
        w.u16(uint16_t(bits));
        w.u32(0);
        w.u32(0);
        w.u32(0);
        w.u32(0);
        w.u32(0);
        w.u32(0);
        const qint64 row = bmpRowSize(side, bits);
        if (bits == 8) {
            w.u8(qBlue(colours[i]));
            w.u8(qGreen(colours[i]));
            w.u8(qRed(colours[i]));
            w.u8(0);
            w.zeros(4 * 255);
            w.zeros(row * side); // every pixel entry 0
        } else {
            for (int p = 0; p < side * side; ++p) {
                w.u8(qBlue(colours[i]));
                w.u8(qGreen(colours[i]));
                w.u8(qRed(colours[i]));
                w.u8(255);
            }
        }
        w.zeros(bmpRowSize(side, 1) * side); // AND mask: all opaque
        d.u8(uint8_t(side));
        d.u8(uint8_t(side));
        d.u8(bits == 8 ? 0 : 0);
        d.u8(0);
        d.u16(1);
        d.u16(uint16_t(bits));
        d.u32(uint32_t(e.size()));
        d.u32(uint32_t(at));
        at += e.size();
        data.append(e);
    }
    return dir + data;
}
} // namespace

TEST(PictureFiles, AnIconOpensAtItsLargestSizeWithTheMostColours)
{
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("multi.ico"));
    test::writeFile(name, iconOf({{16, 32}, {48, 8}, {48, 32}, {32, 32}},
                                 {qRgb(255, 0, 0), qRgb(0, 0, 255), qRgb(0, 255, 0), qRgb(255, 255, 0)}));
    const Picture p = readPictureFile(name);
    EXPECT_EQ(p.image.size(), QSize(48, 48));
    EXPECT_EQ(p.image.pixel(10, 10), qRgb(0, 255, 0));
}

TEST(PaletteSaving, DrawnColoursAreKeptWhenTheyFitTheDepth)
{
    // Drawing pure red on a 16-colour picture that has no red: the file holds red.
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("seize.bmp"));
    Picture p16 = test::palettePicture(40, 20, 4);
    QImage img = p16.image;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 40; ++x)
            img.setPixel(x, y, p16.palette[x < 20 ? 3 : 9]); // two of its 16 entries in use
    p16.image = img;
    writePictureFile(p16, name);
    ImageDocument doc;
    RecordingHost host;
    Charge(doc, host, name);
    doc.canvas().setPenColour(clRed);
    doc.canvas().setBrushColour(clRed);
    doc.canvas().setBrushStyle(bsSolid);
    doc.canvas().Rectangle(2, 2, 10, 10);
    doc.Modif();
    ASSERT_TRUE(Sauve(doc, host, false, {}));
    const Picture back = readPictureFile(name);
    EXPECT_EQ(back.depth, 4);
    EXPECT_EQ(back.image.pixel(5, 5), qRgb(255, 0, 0));
    EXPECT_EQ(back.palette[3], p16.palette[3]); // entries in use keep their places
    EXPECT_EQ(back.palette[9], p16.palette[9]);
    EXPECT_TRUE(test::samePixels(back.image, doc.image()));
}

// A palette picture given more colours than its palette holds: the one question, before
// anything is written; each answer keeps every untouched pixel exactly.
TEST(PaletteSaving, TooManyColoursAskOnceAndKeepEveryUntouchedPixel)
{
    QTemporaryDir dir;
    Picture p = test::palettePicture(64, 48, 4); // its 16 entries all in use
    const Picture original = p;
    for (int x = 0; x < 64; ++x) // a stroke of 64 new colours
        p.image.setPixel(x, 10, qRgb(x * 4, 255 - x, 7));
    EXPECT_TRUE(paletteOverflows(FileKind::Bmp, p));
    EXPECT_FALSE(paletteOverflows(FileKind::Jpeg, p));
    const auto untouchedSame = [&](const QImage &back) {
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 64; ++x)
                if (y != 10 && back.pixel(x, y) != original.image.pixel(x, y))
                    return false;
        return true;
    };
    ScriptedDialogs dialogs;
    RecordingHost host;
    for (QMessageBox::StandardButton answer : {QMessageBox::Cancel, QMessageBox::Yes, QMessageBox::No}) {
        ImageDocument doc;
        doc.Init(64, 48, clWhite);
        doc.replacePicture(p);
        doc.FileName = dir.filePath(QStringLiteral("trop%1.bmp").arg(int(answer)));
        doc.Modif();
        dialogs.asked.clear();
        dialogs.answer = answer;
        const bool written = Sauve(doc, host, false, {});
        ASSERT_EQ(dialogs.asked.size(), 1u);
        EXPECT_TRUE(dialogs.asked[0].contains(QStringLiteral("ne tiennent pas dans sa palette de 16 couleurs")))
            << dialogs.asked[0].toStdString();
        if (answer == QMessageBox::Cancel) {
            EXPECT_FALSE(written);
            EXPECT_TRUE(doc.modified());
            EXPECT_FALSE(QFile::exists(doc.FileName));
            continue;
        }
        ASSERT_TRUE(written);
        const Picture back = readPictureFile(doc.FileName);
        EXPECT_TRUE(untouchedSame(back.image));
        EXPECT_TRUE(test::samePixels(back.image, doc.image())); // the window shows the file
        if (answer == QMessageBox::Yes) {
            EXPECT_EQ(back.depth, 24);
            EXPECT_EQ(back.image.pixel(30, 10), qRgb(120, 225, 7));
        } else {
            EXPECT_EQ(back.depth, 4);
            EXPECT_EQ(back.palette, fullPalette(original.palette, 4)); // index and value kept
        }
    }
    // Every format with a palette gives back what the returned picture holds.
    for (const char *ext : {".pcx", ".tif", ".gif", ".png", ".bmp"})
        for (PaletteChoice choice : {PaletteChoice::TrueColour, PaletteChoice::ReduceNew}) {
            const QString file = dir.filePath(QStringLiteral("r") + QLatin1String(ext));
            const Picture written = writePictureFile(p, file, {choice, false});
            EXPECT_TRUE(test::samePixels(readPictureFile(file).image, written.image)) << ext;
            EXPECT_TRUE(untouchedSame(written.image)) << ext;
        }
}

// New colours go to entries no pixel uses, those the file did not define first; GIF
// grows a small palette up to 256 entries rather than reduce.
TEST(PaletteSaving, NewColoursTakeFreeEntriesAndGifGrowsItsPalette)
{
    Picture p = Picture::withPalette(newWorkingImage(8, 8, qRgb(0, 0, 128)), 4,
                                     {qRgb(0, 0, 128), qRgb(9, 9, 9), qRgb(255, 255, 0)});
    p.image.setPixel(1, 1, qRgb(255, 255, 0));
    p.image.setPixel(2, 2, qRgb(255, 0, 0));
    const Picture fitted = fitPalette(p);
    EXPECT_EQ(fitted.depth, 4);
    EXPECT_EQ(fitted.palette[0], qRgb(0, 0, 128));
    EXPECT_EQ(fitted.palette[1], qRgb(9, 9, 9)); // the file's own, unused, stays
    EXPECT_EQ(fitted.palette[2], qRgb(255, 255, 0));
    EXPECT_EQ(fitted.palette[3], qRgb(255, 0, 0));

    Picture one = Picture::withPalette(newWorkingImage(8, 8, qRgb(0, 0, 128)), 1, {qRgb(0, 0, 128), qRgb(255, 255, 0)});
    one.image.setPixel(0, 0, qRgb(255, 255, 0));
    one.image.setPixel(3, 3, qRgb(255, 0, 0));
    EXPECT_TRUE(paletteOverflows(FileKind::Bmp, one));
    EXPECT_FALSE(paletteOverflows(FileKind::Gif, one));
    const Picture gif = writtenForm(FileKind::Gif, one);
    EXPECT_EQ(gif.depth, 4);
    EXPECT_EQ(gif.palette.mid(0, 3), (QList<QRgb>{qRgb(0, 0, 128), qRgb(255, 255, 0), qRgb(255, 0, 0)}));
    EXPECT_TRUE(test::samePixels(gif.image, one.image));
}

TEST(PictureFiles, MadeRowsGiveTheFileOfTheWholePictureAndAFailureLeavesTheOldOne)
{
    QTemporaryDir dir;
    // Taller than one band of the writer: the maker is asked for several, in order.
    const QImage whole = test::noise(700, 2000, 5);
    const QString made = dir.filePath(QStringLiteral("made.bmp")), kept = dir.filePath(QStringLiteral("whole.bmp"));
    writePictureFile(Picture::fromImage(whole), kept);
    std::vector<std::pair<int, int>> asked;
    MadeRows rows{whole.width(), whole.height(),
                  [&](int y0, int count, RowsOf<QRgb> out) {
                      asked.emplace_back(y0, count);
                      for (int i = 0; i < count; ++i)
                          std::copy_n(rowOf(whole, y0 + i), whole.width(), out[i]);
                  },
                  32};
    for (const char *kind : {"made.bmp", "made.pcx"}) {
        const QString name = dir.filePath(QString::fromLatin1(kind));
        asked.clear();
        ASSERT_TRUE(writeMadePicture(rows, name)) << kind;
        EXPECT_EQ(readPictureFile(name).image, whole) << kind;
        ASSERT_GT(asked.size(), 1u) << kind;
        for (size_t i = 0; i < asked.size(); ++i) {
            EXPECT_EQ(asked[i].first, i == 0 ? 0 : asked[i - 1].first + asked[i - 1].second) << kind;
            if (i + 1 < asked.size()) {
                EXPECT_EQ(asked[i].second % 32, 0) << kind;
            }
        }
        EXPECT_EQ(asked.back().first + asked.back().second, whole.height()) << kind;
    }
    // To the byte what a save of the whole picture writes.
    EXPECT_EQ(test::readFile(made), test::readFile(kept));
    // Formats coded in one piece are left to the caller, nothing written.
    asked.clear();
    EXPECT_FALSE(writeMadePicture(rows, dir.filePath(QStringLiteral("made.png"))));
    EXPECT_TRUE(asked.empty());
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("made.png"))));

    // A maker that fails on its second band: the old file stays, no temporary is left.
    const QByteArray before = test::readFile(made);
    const qsizetype files = QDir(dir.path()).entryList(QDir::Files).size();
    rows.make = [&](int y0, int, RowsOf<QRgb>) {
        if (y0 > 0)
            throw VermeoError(QStringLiteral("Mémoire insuffisante"));
    };
    try {
        writeMadePicture(rows, made);
        ADD_FAILURE() << "no error";
    } catch (const VermeoError &e) {
        EXPECT_EQ(e.message(), QStringLiteral("Impossible d'enregistrer « made.bmp » : Mémoire insuffisante."));
    }
    EXPECT_EQ(test::readFile(made), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), files);
}

TEST(PictureFiles, PixelsWhereTheyLieInAFileAreThoseTheReaderGives)
{
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("photo.bmp"));
    // 37 pixels: a row padded by one byte. Bottom-up as we write it, then the same rows
    // top-down (the height negated, the rows in picture order), then 32 bits a pixel.
    const Picture p = test::truecolourPicture(37, 23);
    const QByteArray bottomUp = encodeBmp(p);
    const qsizetype row = bmpRowSize(37, 24);
    QByteArray topDown = bottomUp.left(54);
    const qint32 negative = -23;
    std::memcpy(topDown.data() + 22, &negative, 4);
    for (int r = 22; r >= 0; --r)
        topDown += bottomUp.mid(54 + r * row, row);
    QByteArray wide = bottomUp.left(54);
    wide[28] = 32;
    for (int r = 0; r < 23; ++r)
        for (int x = 0; x < 37; ++x)
            wide += bottomUp.mid(54 + r * row + 3 * x, 3) + char(0x11 * (x % 7));
    for (const QByteArray *file : {&bottomUp, static_cast<const QByteArray *>(&topDown),
                                   static_cast<const QByteArray *>(&wide)}) {
        test::writeFile(name, *file);
        const QImage read = readPictureFile(name).image;
        PackedPixels pixels;
        ASSERT_TRUE(openPackedPixels(name, pixels));
        ASSERT_EQ(QSize(pixels.width, pixels.height), read.size());
        for (int y = 0; y < pixels.height; ++y)
            for (int x = 0; x < pixels.width; ++x)
                ASSERT_EQ(pixels.pixel(x, y), read.pixel(x, y)) << x << "," << y;
        EXPECT_NO_THROW(pixels.check());
    }

    // Palettes, other formats and files cut short are left to the reader, which says why.
    writePictureFile(test::palettePicture(20, 10, 8), name);
    PackedPixels none;
    EXPECT_FALSE(openPackedPixels(name, none));
    const QString png = dir.filePath(QStringLiteral("photo.png"));
    writePictureFile(p, png);
    EXPECT_FALSE(openPackedPixels(png, none));
    test::writeFile(name, bottomUp.left(54 + 20 * row + 5));
    EXPECT_FALSE(openPackedPixels(name, none));
    try {
        readPictureFile(name);
        ADD_FAILURE() << "a file cut short was read";
    } catch (const VermeoError &e) {
        EXPECT_EQ(e.message(), QStringLiteral("Impossible d'ouvrir « photo.bmp » : fichier tronqué."));
    }
    // A damaged header says so with the file's name, as the reader does.
    test::writeFile(name, QByteArray("BMnot a picture at all, only words"));
    EXPECT_THROW(openPackedPixels(name, none), VermeoError);
}

TEST(PictureFiles, AFileCutShortWhileItsPixelsAreReadIsToldNotFatal)
{
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("photo.bmp"));
    // Several pages of pixels, so that the cut leaves some and takes the others.
    const Picture p = test::truecolourPicture(300, 200);
    writePictureFile(p, name);
    PackedPixels pixels;
    ASSERT_TRUE(openPackedPixels(name, pixels));
    EXPECT_NO_THROW(pixels.check());
    // Another program cuts the file to its headers and a few rows.
    ASSERT_TRUE(QFile::resize(name, 54 + 10 * bmpRowSize(300, 24)));
    // Every pixel is still read: those that went read as black, none ends the process.
    quint64 sum = 0;
    for (int y = 0; y < pixels.height; ++y)
        for (int x = 0; x < pixels.width; ++x)
            sum += pixels.pixel(x, y) & 0xFFFFFFu;
    EXPECT_EQ(pixels.pixel(0, 0), 0xFF000000u);
    EXPECT_EQ(pixels.pixel(5, pixels.height - 1), p.image.pixel(5, pixels.height - 1) | 0xFF000000u);
    EXPECT_GT(sum, 0u);
    try {
        pixels.check();
        ADD_FAILURE() << "a file cut short passed";
    } catch (const VermeoError &e) {
        EXPECT_EQ(e.message(), QStringLiteral("« photo.bmp » modifié pendant la lecture"));
    }
    // A bus error outside any mapped file is still the fault it always was.
    EXPECT_DEATH(::raise(SIGBUS), "");
}
