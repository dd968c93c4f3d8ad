// The PNG writer, checked by other programs: Python's zlib reads the stream the blocks
// make, ImageMagick the pixels.
#include "PngWriter.h"
#include "FormatTestUtil.h"
#include "PaletteIndex.h"
#include "Parallel.h"
#include "PictureFiles.h"

#include <QTemporaryDir>

using namespace vermeo;
using namespace vermeo::formats;

namespace {
// What png_check.py prints: "W H BITS TYPE PHYSX PHYSY IDATS".
QStringList checked(const QString &file)
{
    QByteArray out;
    EXPECT_TRUE(test::run(QStringLiteral("/usr/bin/python3"),
                          {QStringLiteral("-I"), QStringLiteral(VERMEO_TEST_SCRIPTS "/png_check.py"), file}, &out))
        << out.constData();
    return QString::fromLatin1(out).trimmed().split(QLatin1Char(' '));
}

// The pixels as ImageMagick decodes the file.
QImage magickPixels(const QTemporaryDir &dir, const QString &file)
{
    const QString ppm = dir.filePath(QStringLiteral("magick.ppm"));
    EXPECT_TRUE(test::run(QStringLiteral("convert"), {file, QStringLiteral("-depth"), QStringLiteral("8"), ppm}));
    return QImage(ppm).convertToFormat(QImage::Format_RGB32);
}
} // namespace

TEST(PngWriter, TrueColourInManyBlocksIsOneStreamOtherProgramsRead)
{
    // 2101 bytes a scan line: a block of 1 MB holds 499 rows, so 1200 rows make three.
    QTemporaryDir dir;
    Picture pic = test::truecolourPicture(700, 1200);
    pic.resolution = {11811, 5906};
    const QString file = dir.filePath(QStringLiteral("photo.png"));
    writePictureFile(pic, file);
    EXPECT_EQ(checked(file), QString("700 1200 8 2 11811 5906 3").split(' '));
    EXPECT_TRUE(test::samePixels(magickPixels(dir, file), pic.image));
    EXPECT_TRUE(test::samePixels(readPictureFile(file).image, pic.image));
}

TEST(PngWriter, PaletteDepthsKeepTheirIndexes)
{
    QTemporaryDir dir;
    for (int depth : {1, 4, 8}) {
        const Picture pic = test::palettePicture(301, 7, depth);
        const QString file = dir.filePath(QStringLiteral("p%1.png").arg(depth));
        writePictureFile(pic, file);
        // Without a known resolution: 96 dpi.
        EXPECT_EQ(checked(file), QString("301 7 %1 3 3780 3780 1").arg(depth).split(' '));
        EXPECT_TRUE(test::samePixels(magickPixels(dir, file), pic.image)) << depth;
        // The file's palette is the picture's, entry for entry, so each point's index is kept.
        const Picture back = readPictureFile(file);
        EXPECT_TRUE(test::samePixels(back.image, pic.image)) << depth;
        EXPECT_EQ(back.palette.mid(0, 1 << depth), fullPalette(pic.palette, depth)) << depth;
    }
}

TEST(PngWriter, SameBytesOnOneThreadAndOnMany)
{
    const Picture pic = test::truecolourPicture(900, 1500);
    const QByteArray many = encodePng(pic);
    const PassThreadsOverride one(0);
    EXPECT_EQ(encodePng(pic), many);
}
