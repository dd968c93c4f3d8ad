// The program's save onto targets that are no regular file, or are write-protected:
// through "Enregistrer sous..." and "Enregistrer" as a user goes.
#include "AppFixture.h"
#include "PictureFiles.h"

#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <sys/sysmacros.h>

using namespace vermeo;

namespace {
class SaveTargetTest : public AppTest {
protected:
    TMDIChild *drawnPicture()
    {
        TMDIChild *c = newPicture(60, 40);
        c->doc().canvas().SetPixel(3, 3, clRed);
        c->Modif();
        return c;
    }
    void saveAs(const QString &path)
    {
        dialogs.onFile = [path](FileDialogRequest &) { return path; };
        form->FileSaveAsItemClick();
        dialogs.onFile = nullptr;
    }
    QTemporaryDir dir;
};
} // namespace

TEST_F(SaveTargetTest, AFifoALoopAndADeviceAreRefusedWithOneLineNamingThem)
{
    const QString fifo = dir.filePath(QStringLiteral("tube.bmp"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0666), 0);
    const QString loop = dir.filePath(QStringLiteral("boucle.bmp"));
    QFile::link(loop, loop);
    TMDIChild *c = drawnPicture();
    std::vector<std::pair<QString, QString>> cases = {
        {fifo, QStringLiteral("Impossible d'enregistrer « tube.bmp » : c'est un tube nommé (FIFO), pas un fichier.")},
        {loop, QStringLiteral("Impossible d'enregistrer « boucle.bmp » : les liens symboliques forment une boucle.")},
    };
    // A copy of /dev/full under a picture's name, where this user may make device nodes.
    const QString device = dir.filePath(QStringLiteral("plein.bmp"));
    if (::mknod(QFile::encodeName(device).constData(), S_IFCHR | 0666, makedev(1, 7)) == 0)
        cases.push_back(
            {device,
             QStringLiteral("Impossible d'enregistrer « plein.bmp » : c'est un périphérique, pas un fichier.")});
    else
        std::fprintf(stderr, "no device node made here (mknod needs root): that case is left to the file tests\n");
    for (const auto &[target, message] : cases) {
        dialogs.asked.clear();
        saveAs(target);
        ASSERT_EQ(dialogs.asked.size(), 1u);
        EXPECT_EQ(dialogs.asked[0], message);
        EXPECT_TRUE(c->Modified());
        EXPECT_TRUE(c->doc().FileName.isEmpty()); // the picture keeps no name it could not take
    }
    struct stat st {};
    ASSERT_EQ(::lstat(QFile::encodeName(fifo).constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot).size(),
              int(cases.size()));
}

// Write-protected: the program asks; "Non" leaves the file, "Oui" replaces it and keeps
// its mode. As root too.
TEST_F(SaveTargetTest, AWriteProtectedFileIsReplacedOnlyAfterTheUserSaysSo)
{
    const QString path = dir.filePath(QStringLiteral("garde.bmp"));
    formats::writePictureFile(Picture::fromImage(newWorkingImage(60, 40, qRgb(0, 0, 255))), path);
    ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    TMDIChild *c = drawnPicture();
    dialogs.answer = QMessageBox::No;
    saveAs(path);
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(dialogs.asked[0],
              QStringLiteral("Le fichier « garde.bmp » est protégé en écriture.\nLe remplacer quand même ?"));
    EXPECT_EQ(formats::readPictureFile(path).image.pixel(3, 3), qRgb(0, 0, 255));
    EXPECT_TRUE(c->Modified());

    dialogs.answer = QMessageBox::Yes;
    saveAs(path);
    EXPECT_FALSE(c->Modified());
    EXPECT_EQ(formats::readPictureFile(path).image.pixel(3, 3), qRgb(255, 0, 0));
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0444u);
}
