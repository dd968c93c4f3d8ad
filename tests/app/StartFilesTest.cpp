// The program's command line and the files it opens at start-up, and the about box.
#include "StartFiles.h"
#include "AppFixture.h"
#include "DocumentFiles.h"
#include "GraphicRegistry.h"
#include "PictureFiles.h"
#include "TAPropos.h"
#include "VermeoBuild.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMimeDatabase>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace vermeo;

TEST(CommandLine, FilesInOrderOptionsAndNamesAfterTheDoubleDash)
{
    const QString here = QDir::currentPath();
    CommandLine c = parseCommandLine({QStringLiteral("a.bmp"), QStringLiteral("/tmp/b.pcx"),
                                      QStringLiteral("file:///tmp/deux%20mots.gif"), QStringLiteral("--"),
                                      QStringLiteral("-tiret.bmp"), QStringLiteral("--help")});
    EXPECT_TRUE(c.error.isEmpty());
    EXPECT_FALSE(c.help) << "after --, --help is a file name";
    EXPECT_EQ(c.files, QStringList({here + "/a.bmp", "/tmp/b.pcx", "/tmp/deux mots.gif", here + "/-tiret.bmp",
                                    here + "/--help"}));
    EXPECT_TRUE(parseCommandLine({QStringLiteral("--help")}).help);
    EXPECT_TRUE(parseCommandLine({QStringLiteral("-v")}).version);
    c = parseCommandLine({QStringLiteral("--couleur"), QStringLiteral("a.bmp")});
    EXPECT_TRUE(c.error.contains(QStringLiteral("option inconnue « --couleur »"))) << c.error.toStdString();
    EXPECT_TRUE(commandLineUsage().contains(QStringLiteral("FICHIER")));
}

TEST_F(AppTest, FilesNamedAtStartOpenEachInItsWindowAndAMissingOneSaysSo)
{
    QTemporaryDir dir;
    const QString a = dir.filePath(QStringLiteral("a.bmp")), b = dir.filePath(QStringLiteral("b.pcx")),
                  missing = dir.filePath(QStringLiteral("missing.gif"));
    formats::writePictureFile(Picture::fromImage(newWorkingImage(120, 80, qRgb(200, 30, 60))), a);
    formats::writePictureFile(Picture::fromImage(newWorkingImage(90, 60, qRgb(30, 200, 90))), b);
    form->openFiles({a, missing, b});
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    ASSERT_EQ(form->childCount(), 2);
    EXPECT_EQ(form->children()[0]->windowTitle(), "a.bmp");
    EXPECT_EQ(form->children()[1]->windowTitle(), "b.pcx");
    EXPECT_EQ(form->children()[0]->doc().image().pixel(3, 3), qRgb(200, 30, 60));
    EXPECT_EQ(form->children()[1]->doc().image().pixel(3, 3), qRgb(30, 200, 90));
    EXPECT_FALSE(form->children()[1]->Modified());
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(dialogs.asked[0], QStringLiteral("Impossible d'ouvrir « missing.gif » : fichier introuvable."));
    // The last picture opened is the one shown in front, with its size.
    EXPECT_EQ(form->activeChild(), form->children()[1]);
    EXPECT_EQ(form->statusPanel(1), "90 x 60");
}

TEST_F(AppTest, AFileFromTheCommandLineOpensAsWithOuvrir)
{
    QTemporaryDir dir;
    const QString bad = dir.filePath(QStringLiteral("abime.jpg"));
    QFile f(bad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("\xff\xd8\xff ceci n'est pas une photo");
    f.close();
    dialogs.onFile = [&](FileDialogRequest &) { return bad; };
    form->FileOpenItemClick();
    EXPECT_FALSE(form->openPictureFile(bad));
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(form->childCount(), 0);
    ASSERT_EQ(dialogs.asked.size(), 2u);
    EXPECT_EQ(dialogs.asked[0], dialogs.asked[1]) << "the same message either way";

    // A good file: the same window, drawing state and undo copy either way (two copies
    // of one picture, since one file opens in one window only).
    const QString good = dir.filePath(QStringLiteral("bon.png"));
    const QString copy = dir.filePath(QStringLiteral("copie.png"));
    formats::writePictureFile(Picture::fromImage(newWorkingImage(50, 40, qRgb(10, 20, 30))), good);
    ASSERT_TRUE(QFile::copy(good, copy));
    dialogs.onFile = [&](FileDialogRequest &) { return good; };
    form->FileOpenItemClick();
    ASSERT_TRUE(form->openPictureFile(copy));
    ASSERT_EQ(form->childCount(), 2);
    TMDIChild *menu = form->children()[0], *line = form->children()[1];
    EXPECT_EQ(QFileInfo(line->doc().FileName).absolutePath(), QFileInfo(menu->doc().FileName).absolutePath());
    EXPECT_EQ(line->doc().image(), menu->doc().image());
    EXPECT_EQ(menu->windowTitle(), "bon.png");
    EXPECT_EQ(line->windowTitle(), "copie.png");
    EXPECT_EQ(line->doc().Tool, menu->doc().Tool);
    EXPECT_EQ(form->statusPanel(1), "50 x 40");
    line->doc().canvas().SetPixel(1, 1, clWhite);
    line->Modif();
    line->Annule();
    EXPECT_EQ(line->doc().image(), menu->doc().image()) << "the undo copy is the picture as opened";
}

TEST_F(AppTest, TheAboutBoxSaysWhatTheProgramIsAndWhatItRunsWith)
{
    QString text;
    bool closedByEnter = false;
    dialogs.onDialog = [&](QDialog &d) {
        for (const QLabel *l : d.findChildren<QLabel *>())
            text += l->text() + '\n';
        QTest::keyClick(&d, Qt::Key_Return);
        closedByEnter = d.result() == QDialog::Accepted;
    };
    form->action(QStringLiteral("About1"))->trigger();
    ASSERT_EQ(dialogs.dialogs.size(), 1u);
    EXPECT_EQ(dialogs.dialogs[0], QStringLiteral("A propos de Vermeo"));
    EXPECT_TRUE(closedByEnter);
    EXPECT_TRUE(text.contains(QStringLiteral("Version " VERMEO_VERSION)));
    EXPECT_TRUE(text.contains(QStringLiteral("dessin et de retouche d'images")));
    EXPECT_TRUE(text.contains(QStringLiteral("GPL")));
    EXPECT_TRUE(text.contains(QStringLiteral("Qt ") + QString::fromLatin1(qVersion())));
    // Each library with its version, as the build found it.
    static const QRegularExpression withVersion(QStringLiteral("^  (\\S.*) (\\d+\\.\\d+[.\\d\\w-]*) : "));
    int libraries = 0;
    for (const QString &line : libraryLines()) {
        if (line.startsWith(QStringLiteral("Greffons")))
            continue;
        EXPECT_TRUE(withVersion.match(QStringLiteral("  ") + line).hasMatch()) << line.toStdString();
        ++libraries;
    }
    EXPECT_EQ(libraries, 5);
    for (const char *name : {"libjpeg-turbo", "giflib", "libimagequant", "SANE"})
        EXPECT_TRUE(text.contains(QLatin1String(name))) << name;
    // TIFF and icons are read through Qt's plugins: the box says whether they are there.
    EXPECT_TRUE(text.contains(QStringLiteral("Greffons d'images de Qt : ")));
    EXPECT_TRUE(text.contains(QStringLiteral("TIFF"))) << "qt6-image-formats-plugins missing";
}

TEST(DesktopEntry, OffersEveryTypeTheProgramOpensAndPassesTheFiles)
{
    QFile f(QStringLiteral(VERMEO_DESKTOP_FILE));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly | QIODevice::Text));
    QStringList mimeTypes, exec;
    for (const QString &line : QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'))) {
        if (line.startsWith(QStringLiteral("MimeType=")))
            mimeTypes = line.mid(9).split(QLatin1Char(';'), Qt::SkipEmptyParts);
        if (line.startsWith(QStringLiteral("Exec=")))
            exec = line.mid(5).split(QLatin1Char(' '));
    }
    // A file manager hands the chosen files to %F, one argument each.
    EXPECT_EQ(exec, QStringList({QStringLiteral("vermeo"), QStringLiteral("%F")}));
    // The extensions the program reads: the open dialog's, and those of the general reader.
    QStringList extensions;
    for (const QString &p : formats::kOpenPictureFilter.split(QRegularExpression(QStringLiteral("[|;]"))))
        if (static const QRegularExpression pattern(QStringLiteral("^\\*\\.(\\w+)$")); pattern.match(p).hasMatch())
            extensions << p.mid(2);
    for (const char *ext : {"bmp", "dib", "jpe", "tif", "tiff", "ico", "cur", "png", "xpm", "webp", "svg"})
        if (formats::findGraphicFormat(QLatin1String(ext)))
            extensions << QLatin1String(ext);
    extensions.removeDuplicates();
    EXPECT_GE(extensions.size(), 11) << extensions.join(' ').toStdString();
    QMimeDatabase db;
    for (const QString &ext : extensions) {
        const QMimeType type = db.mimeTypeForFile(QStringLiteral("image.") + ext, QMimeDatabase::MatchExtension);
        EXPECT_TRUE(mimeTypes.contains(type.name())) << ext.toStdString() << " is " << type.name().toStdString();
    }
}
