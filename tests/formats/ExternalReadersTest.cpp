// Other programs read what we write: Pillow opens our BMP, PCX, TIFF, GIF and JPEG
// with the expected pixels.
#include "FormatTestUtil.h"
#include "PictureFiles.h"

using namespace vermeo;
using namespace vermeo::formats;

TEST(ExternalReaders, PillowReadsOurFiles)
{
    const QString python = QStringLiteral("/usr/bin/python3");
    if (!test::run(python, {QStringLiteral("-c"), QStringLiteral("import PIL")}))
        GTEST_SKIP() << "python3-pil missing";
    QTemporaryDir dir;
    QString manifest;
    auto add = [&](const Picture &p, const QString &name, int tolerance) {
        const QString file = dir.filePath(name);
        writePictureFile(p, file);
        const QString ref = file + QStringLiteral(".ref.png");
        ASSERT_TRUE(p.image.save(ref));
        manifest += QStringLiteral("%1 %2 %3\n").arg(file, ref).arg(tolerance);
    };
    const Picture tc = test::truecolourPicture(101, 23);
    for (int depth : {1, 4, 8})
        add(test::palettePicture(101, 23, depth), QStringLiteral("p%1.bmp").arg(depth), 0);
    // Pillow reads 1-bit PCX as black and white whatever the colour map says, and has no
    // single-plane 4-bit PCX at all (ImageMagick checks that one below).
    Picture bw = test::palettePicture(101, 23, 1);
    bw.palette = {qRgb(0, 0, 0), qRgb(255, 255, 255)};
    for (int y = 0; y < bw.height(); ++y)
        for (int x = 0; x < bw.width(); ++x)
            bw.image.setPixel(x, y, bw.image.pixel(x, y) == qRgb(255, 255, 0) ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    add(bw, QStringLiteral("p1.pcx"), 0);
    add(test::palettePicture(101, 23, 8), QStringLiteral("p8.pcx"), 0);
    add(tc, QStringLiteral("tc.bmp"), 0);
    add(tc, QStringLiteral("tc.pcx"), 0);
    add(tc, QStringLiteral("tc.tif"), 0);
    add(test::palettePicture(101, 23, 8), QStringLiteral("p8.tif"), 0);
    add(test::palettePicture(101, 23, 4), QStringLiteral("p4.tif"), 0);
    add(test::palettePicture(101, 23, 4), QStringLiteral("p4.gif"), 0);
    QImage smooth(64, 48, QImage::Format_RGB32);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x)
            smooth.setPixel(x, y, qRgb(x * 4, y * 5, 100));
    add(Picture::fromImage(smooth), QStringLiteral("s.gif"), 40);
    add(Picture::fromImage(smooth), QStringLiteral("s.jpg"), 12);
    const QString list = dir.filePath(QStringLiteral("manifest.txt"));
    test::writeFile(list, manifest.toUtf8());
    QByteArray out;
    EXPECT_TRUE(test::run(python, {QStringLiteral(VERMEO_TEST_SCRIPTS "/pillow_check.py"), list}, &out))
        << out.constData();
}

TEST(ExternalReaders, ImageMagickReadsOurFourBitPcx)
{
    if (QStandardPaths::findExecutable(QStringLiteral("convert")).isEmpty())
        GTEST_SKIP() << "ImageMagick missing";
    QTemporaryDir dir;
    // 4 bits only: ImageMagick, like Pillow, reads 1-bit PCX as black and white.
    for (int depth : {4}) {
        const Picture p = test::palettePicture(101, 23, depth);
        const QString file = dir.filePath(QStringLiteral("p%1.pcx").arg(depth));
        writePictureFile(p, file);
        const QString png = file + QStringLiteral(".png");
        ASSERT_TRUE(test::run(QStringLiteral("convert"), {file, "PNG24:" + png}));
        EXPECT_TRUE(test::samePixels(QImage(png), p.image)) << depth;
    }
}
