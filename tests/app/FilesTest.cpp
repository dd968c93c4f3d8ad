// Opening and saving through the main window's menus.
#include "AppFixture.h"
#include "PictureFiles.h"

#include <QFile>
#include <QTemporaryDir>

using namespace vermeo;

TEST_F(AppTest, OpeningADamagedFileLeavesNoWindowAndSaysWhy)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("abime.bmp");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("BM\x10\x00 ceci n'est pas une image");
    f.close();
    dialogs.onFile = [&](FileDialogRequest &) { return path; };
    form->FileOpenItemClick();
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(form->childCount(), 0);
    ASSERT_FALSE(dialogs.asked.empty());
    EXPECT_TRUE(dialogs.asked.back().contains("abime.bmp")) << dialogs.asked.back().toStdString();
}

TEST_F(AppTest, OpenShowsTheFileAndSaveAsCancelledWritesNothing)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("photo.bmp");
    Picture pic = Picture::fromImage(newWorkingImage(120, 80, qRgb(10, 200, 30)));
    formats::writePictureFile(pic, path);
    dialogs.onFile = [&](FileDialogRequest &) { return path; };
    form->FileOpenItemClick();
    TMDIChild *c = form->activeChild();
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->windowTitle(), "photo.bmp");
    EXPECT_EQ(form->statusPanel(1), "120 x 80");
    EXPECT_EQ(c->doc().image().pixel(5, 5), qRgb(10, 200, 30));
    EXPECT_FALSE(c->Modified());

    // Modified, then "Enregistrer sous..." cancelled: the original stays as it was.
    c->doc().canvas().SetPixel(1, 1, clBlack);
    c->Modif();
    const QByteArray before = [&] {
        QFile in(path);
        in.open(QIODevice::ReadOnly);
        return in.readAll();
    }();
    dialogs.onFile = nullptr;
    form->FileSaveAsItemClick();
    QFile in(path);
    in.open(QIODevice::ReadOnly);
    EXPECT_EQ(in.readAll(), before);
    EXPECT_TRUE(c->Modified());

    // "Enregistrer" writes it and clears the flag.
    form->FileSaveItemClick();
    EXPECT_FALSE(c->Modified());
    EXPECT_EQ(formats::readPictureFile(path).image.pixel(1, 1), qRgb(0, 0, 0));
}
