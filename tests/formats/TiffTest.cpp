// The TIFF writer: layouts and offsets, and other readers accepting what it writes.
#include "ByteIO.h"
#include "FormatTestUtil.h"
#include "TiffWriter.h"

#include <QBuffer>
#include <QImageReader>

using namespace vermeo;
using namespace vermeo::formats;

namespace {
const uchar *bytes(const QByteArray &a) { return reinterpret_cast<const uchar *>(a.constData()); }

// The value of a directory entry, by tag.
uint32_t tagValue(const QByteArray &f, uint16_t tag, uint32_t *count = nullptr)
{
    const uint32_t dir = le32(bytes(f) + 4);
    const int n = le16(bytes(f) + dir);
    for (int i = 0; i < n; ++i) {
        const uchar *e = bytes(f) + dir + 2 + 12 * i;
        if (le16(e) == tag) {
            if (count)
                *count = le32(e + 4);
            return le16(e + 2) == 3 && le32(e + 4) == 1 ? le16(e + 8) : le32(e + 8);
        }
    }
    return 0xFFFFFFFF;
}

QImage readWithQt(const QByteArray &f)
{
    QBuffer b;
    b.setData(f);
    b.open(QIODevice::ReadOnly);
    return QImageReader(&b, "TIFF").read();
}
} // namespace

TEST(TiffWriter, TrueColourLayout)
{
    const Picture p = test::truecolourPicture(100, 50);
    const QByteArray f = encodeTiff(p);
    // The software name with its NUL (11 bytes), the rows, one byte that puts the
    // directory on a word boundary, the directory.
    ASSERT_EQ(f.size(), 41 + 15000 + 1 + 186);
    EXPECT_EQ(f.left(4), QByteArray("II\x2a\x00", 4));
    EXPECT_EQ(le32(bytes(f) + 4), 15042u);
    EXPECT_EQ(le16(bytes(f) + 15042), 15);
    EXPECT_EQ(le32(bytes(f) + 8), 877u);
    EXPECT_EQ(le32(bytes(f) + 12), 10u);
    EXPECT_EQ(f.mid(30, 11), QByteArray("Brumelinor\0", 11));
    uint32_t count = 0;
    EXPECT_EQ(tagValue(f, 305, &count), 30u);
    EXPECT_EQ(count, 11u);
    EXPECT_EQ(tagValue(f, 273), 41u);
    EXPECT_EQ(tagValue(f, 258), 24u);
    EXPECT_EQ(tagValue(f, 279), 15000u);
    EXPECT_EQ(tagValue(f, 262), 2u);
    // First pixel, red green blue.
    const QRgb c = p.image.pixel(0, 0);
    EXPECT_EQ(uchar(f[41]), qRed(c));
    EXPECT_EQ(uchar(f[43]), qBlue(c));
    EXPECT_TRUE(test::samePixels(readWithQt(f), p.image));
}

TEST(TiffWriter, PaletteLayouts)
{
    const Picture p8 = test::palettePicture(30, 20, 8);
    const QByteArray f = encodeTiff(p8);
    EXPECT_EQ(tagValue(f, 320), 8u);
    EXPECT_EQ(tagValue(f, 282), 1544u);
    EXPECT_EQ(tagValue(f, 283), 1552u);
    EXPECT_EQ(tagValue(f, 305), 1560u);
    EXPECT_EQ(tagValue(f, 273), 1571u);
    EXPECT_EQ(le16(bytes(f) + 8 + 2 * 1), uint16_t(qRed(p8.palette[1]) * 257));
    EXPECT_TRUE(test::samePixels(readWithQt(f), p8.image));

    // 4 bits at the full width, each row padded to a whole byte.
    const Picture p4 = test::palettePicture(101, 3, 4);
    const QByteArray g = encodeTiff(p4);
    EXPECT_EQ(tagValue(g, 256), 101u);
    EXPECT_EQ(tagValue(g, 279), 51u * 3);
    EXPECT_TRUE(test::samePixels(readWithQt(g), p4.image));
}

TEST(TiffWriter, ColourMapEntriesReachFullIntensity)
{
    // 255 is written 65535, so that every reader gets 255 back.
    Picture p = test::palettePicture(8, 2, 8);
    p.palette[0] = qRgb(255, 254, 1);
    p.image.setPixel(0, 0, p.palette[0]);
    const QByteArray f = encodeTiff(p);
    EXPECT_EQ(le16(bytes(f) + 8), 65535);
    EXPECT_EQ(le16(bytes(f) + 8 + 512), 254 * 257);
    EXPECT_EQ(le16(bytes(f) + 8 + 1024), 257);
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("full.tif"));
    test::writeFile(name, f);
    QByteArray out;
    if (!test::run(QStringLiteral("convert"), {name + "[0]", "-format", "%[pixel:p{0,0}]", "info:"}, &out))
        GTEST_SKIP() << "ImageMagick missing";
    EXPECT_TRUE(out.contains("(255,254,1)")) << out.constData();
}

TEST(TiffWriter, OneBitPictures)
{
    // Black and white: a bilevel file, the lighter entry white.
    Picture bw = test::palettePicture(21, 5, 1);
    bw.palette = {qRgb(255, 255, 255), qRgb(0, 0, 0)};
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 21; ++x)
            bw.image.setPixel(x, y, bw.palette[(x + y) % 2]);
    const QByteArray f = encodeTiff(bw);
    EXPECT_EQ(tagValue(f, 258), 1u);
    EXPECT_EQ(tagValue(f, 262), 1u);
    EXPECT_TRUE(test::samePixels(readWithQt(f), bw.image));
    // Two other colours: a two-entry palette that keeps them.
    const Picture p1 = test::palettePicture(21, 5, 1);
    const QByteArray g = encodeTiff(p1);
    EXPECT_EQ(tagValue(g, 262), 3u);
    uint32_t count = 0;
    EXPECT_EQ(tagValue(g, 320, &count), 8u);
    EXPECT_EQ(count, 6u);
    EXPECT_TRUE(test::samePixels(readWithQt(g), p1.image));
    Picture p16 = test::truecolourPicture(7, 3);
    p16.depth = 16;
    EXPECT_TRUE(test::samePixels(readWithQt(encodeTiff(p16)), p16.image));
}

TEST(TiffWriter, TiffinfoAcceptsOurFiles)
{
    QTemporaryDir dir;
    int checked = 0;
    for (const Picture &p : {test::truecolourPicture(33, 17), test::palettePicture(33, 17, 8),
                             test::palettePicture(33, 17, 4), test::palettePicture(33, 17, 1)}) {
        const QString name = dir.filePath(QStringLiteral("t%1.tif").arg(p.depth));
        test::writeFile(name, encodeTiff(p));
        QByteArray out;
        if (QStandardPaths::findExecutable(QStringLiteral("tiffinfo")).isEmpty())
            GTEST_SKIP() << "tiffinfo missing";
        EXPECT_TRUE(test::run(QStringLiteral("tiffinfo"), {name}, &out)) << out.constData();
        EXPECT_FALSE(out.contains("Error")) << out.constData();
        EXPECT_FALSE(out.contains("Warning")) << out.constData();
        EXPECT_TRUE(out.contains("Software: Brumelinor\n")) << out.constData();
        // ImageMagick checks what libtiff lets by: a name without its NUL, a directory at
        // an odd offset (33 x 17 x 3 bytes of rows is odd).
        ASSERT_TRUE(test::run(QStringLiteral("identify"), {QStringLiteral("-verbose"), name}, &out)) << out.constData();
        EXPECT_FALSE(out.contains("arning")) << out.constData();
        EXPECT_FALSE(out.contains("null byte")) << out.constData();
        EXPECT_TRUE(out.contains("tiff:software: Brumelinor")) << out.constData();
        ++checked;
    }
    EXPECT_EQ(checked, 4);
}
