// BMP: our writer in the declared depth, and the reader on every common variant made
// by ImageMagick and netpbm, checked against their own decoding.
#include "BmpCodec.h"
#include "ByteIO.h"
#include "Error.h"
#include "FormatTestUtil.h"
#include "Parallel.h"
#include "PictureFiles.h"

#include <cstring>

using namespace vermeo;
using namespace vermeo::formats;

TEST(BmpWriter, RoundTripKeepsDepthAndPixels)
{
    for (int depth : {1, 4, 8}) {
        const Picture p = test::palettePicture(37, 9, depth);
        const QByteArray f = encodeBmp(p);
        EXPECT_EQ(le16(reinterpret_cast<const uchar *>(f.constData()) + 28), depth);
        EXPECT_EQ(f.size(), 54 + 4 * (1 << depth) + bmpRowSize(37, depth) * 9);
        const Picture back = decodeBmp(f);
        EXPECT_EQ(back.depth, depth);
        EXPECT_EQ(back.palette, p.palette);
        EXPECT_TRUE(test::samePixels(back.image, p.image)) << depth;
    }
    Picture p32 = test::truecolourPicture(17, 5);
    p32.depth = 32;
    const QByteArray f = encodeBmp(p32);
    EXPECT_EQ(le16(reinterpret_cast<const uchar *>(f.constData()) + 28), 24);
    EXPECT_TRUE(test::samePixels(decodeBmp(f).image, p32.image));
}

// Rows are packed and unpacked on several threads: every row lands in its own place,
// the row padding is zero, and any number of threads gives the same bytes.
TEST(BmpWriter, ManyBandsOnManyThreadsGiveTheRuleBytes)
{
    const int w = 13, h = 1000; // 39 bytes of pixels, one byte of padding a row
    const Picture p = test::truecolourPicture(w, h);
    QByteArray single;
    {
        PassThreadsOverride one(0);
        single = encodeBmp(p);
    }
    for (int threads : {2, 5}) {
        PassThreadsOverride many(threads);
        const QByteArray f = encodeBmp(p);
        EXPECT_EQ(f, single) << threads;
        EXPECT_TRUE(test::samePixels(decodeBmp(f).image, p.image)) << threads;
    }
    ASSERT_EQ(single.size(), 54 + 40 * h);
    // File row r holds picture row h - 1 - r, blue, green, red, then a zero.
    const auto *b = reinterpret_cast<const uchar *>(single.constData()) + 54;
    for (int r = 0; r < h; ++r) {
        const QRgb *src = reinterpret_cast<const QRgb *>(p.image.constScanLine(h - 1 - r));
        for (int x = 0; x < w; ++x) {
            const uchar *px = b + r * 40 + 3 * x;
            ASSERT_EQ(qRgb(px[2], px[1], px[0]), src[x] | 0xFF000000u) << r << " " << x;
        }
        ASSERT_EQ(b[r * 40 + 39], 0) << r;
    }
}

TEST(BmpWriter, DrawnColoursTakeTheNearestPaletteEntry)
{
    Picture p = test::palettePicture(4, 1, 1);
    p.image.setPixel(0, 0, qRgb(250, 240, 10)); // near the yellow entry
    const Picture back = decodeBmp(encodeBmp(p));
    EXPECT_EQ(back.image.pixel(0, 0), qRgb(255, 255, 0));
}

TEST(BmpReader, DamagedFilesAreRefused)
{
    const QByteArray good = encodeBmp(test::truecolourPicture(20, 20));
    EXPECT_THROW(decodeBmp(good.left(good.size() - 10)), VermeoError);
    EXPECT_THROW(decodeBmp(good.left(30)), VermeoError);
    QByteArray huge = good;
    ByteWriter(huge).put32At(18, 60000);
    ByteWriter(huge).put32At(22, 60000);
    EXPECT_THROW(decodeBmp(huge), VermeoError);
    QByteArray rle = encodeBmp(test::palettePicture(20, 20, 8));
    ByteWriter(rle).put32At(30, 1);
    ByteWriter(rle).put32At(18, 30000);
    ByteWriter(rle).put32At(22, 30000);
    EXPECT_THROW(decodeBmp(rle.left(1100)), VermeoError);
    QByteArray header = good;
    ByteWriter(header).put32At(14, 7);
    EXPECT_THROW(decodeBmp(header), VermeoError);
    try {
        decodeBmp(huge);
    } catch (const VermeoError &e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("BMP"))) << e.message().toStdString();
    }
}

TEST(BmpReader, TopDownAndRle4MadeByHand)
{
    // Top-down: negative height, first row stored first.
    const Picture src = test::truecolourPicture(5, 3);
    QByteArray f = encodeBmp(src);
    QByteArray flipped = f.left(54);
    const qsizetype row = bmpRowSize(5, 24);
    for (int y = 2; y >= 0; --y)
        flipped.append(f.mid(54 + row * y, row));
    ByteWriter(flipped).put32At(22, uint32_t(-3));
    EXPECT_TRUE(test::samePixels(decodeBmp(flipped).image, src.image));

    // RLE4, 4 x 2: a run of 4 pixels alternating entries 1 and 2, then an absolute run.
    QList<QRgb> pal;
    for (int i = 0; i < 16; ++i)
        pal.append(qRgb(i * 16, 0, 255 - i * 16));
    QByteArray bmp;
    ByteWriter w(bmp);
    const QByteArray data = QByteArray::fromHex("0412 0000 0004 3456 0000 0001");
    w.bytes("BM", 2);
    w.u32(uint32_t(54 + 64 + data.size()));
    w.u32(0);
    w.u32(54 + 64);
    w.u32(40);
    w.u32(4);
    w.u32(2);
    w.u16(1);
    w.u16(4);
    w.u32(2);
    w.u32(uint32_t(data.size()));
    w.u32(0);
    w.u32(0);
    w.u32(16);
    w.u32(0);
    for (QRgb c : pal) {
        w.u8(qBlue(c));
        w.u8(qGreen(c));
        w.u8(qRed(c));
        w.u8(0);
    }
    bmp.append(data);
    const Picture p = decodeBmp(bmp);
    EXPECT_EQ(p.depth, 4);
    EXPECT_EQ(p.image.pixel(0, 1), pal[1]); // bottom row first
    EXPECT_EQ(p.image.pixel(1, 1), pal[2]);
    EXPECT_EQ(p.image.pixel(0, 0), pal[3]);
    EXPECT_EQ(p.image.pixel(3, 0), pal[6]);
}

namespace {
// A source with 12 colours, so every palette variant holds it.
QImage fewColours(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb(((x / 3) % 4) * 80, ((y / 2) % 3) * 120, 60));
    return img;
}
QImage manyColours(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb((x % 10) * 25, (y % 6) * 50, 200));
    return img;
}
} // namespace

TEST(BmpReader, VariantsMadeByOtherPrograms)
{
    QTemporaryDir dir;
    const QString src = dir.filePath(QStringLiteral("src.png"));
    ASSERT_TRUE(fewColours(29, 13).save(src));
    const QString src60 = dir.filePath(QStringLiteral("src60.png"));
    ASSERT_TRUE(manyColours(29, 13).save(src60));
    const QString mono = dir.filePath(QStringLiteral("mono.png"));
    QImage bw = fewColours(29, 13).convertToFormat(QImage::Format_Mono).convertToFormat(QImage::Format_RGB32);
    ASSERT_TRUE(bw.save(mono));
    const QString ppm = dir.filePath(QStringLiteral("src.ppm"));
    ASSERT_TRUE(fewColours(29, 13).save(ppm));
    const QString pbm = dir.filePath(QStringLiteral("mono.ppm"));
    ASSERT_TRUE(bw.save(pbm));
    if (QStandardPaths::findExecutable(QStringLiteral("convert")).isEmpty())
        GTEST_SKIP() << "ImageMagick missing";

    struct Variant {
        const char *name;
        QStringList command; // writes the file given last
        int depth;
    };
    const QList<Variant> variants = {
        {"im1", {"convert", mono, "-type", "bilevel", "BMP3:%1"}, 1},
        {"im4", {"convert", src, "-colors", "16", "-type", "palette", "BMP3:%1"}, 4},
        {"im8", {"convert", src60, "-type", "palette", "BMP3:%1"}, 8},
        {"imrle8", {"convert", src60, "-type", "palette", "-compress", "RLE", "BMP3:%1"}, 8},
        {"im24", {"convert", src, "-type", "truecolor", "BMP3:%1"}, 24},
        {"im565", {"convert", src, "-define", "bmp:subtype=RGB565", "BMP:%1"}, 16},
        {"im32", {"convert", src, "-alpha", "on", "-type", "TrueColorAlpha", "BMP:%1"}, 32},
        {"imos2", {"convert", src, "-type", "truecolor", "BMP2:%1"}, 24},
        {"pbm1", {"sh", "-c", QStringLiteral("ppmtobmp -bpp 1 %1 > %2").arg(pbm, "%1")}, 1},
        {"pbm4", {"sh", "-c", QStringLiteral("ppmtobmp -bpp 4 %1 > %2").arg(ppm, "%1")}, 4},
        {"pbm8", {"sh", "-c", QStringLiteral("ppmtobmp -bpp 8 %1 > %2").arg(ppm, "%1")}, 8},
        {"pbm24", {"sh", "-c", QStringLiteral("ppmtobmp -bpp 24 %1 > %2").arg(ppm, "%1")}, 24},
        {"pbmos2", {"sh", "-c", QStringLiteral("ppmtobmp -os2 -bpp 8 %1 > %2").arg(ppm, "%1")}, 8},
    };
    int opened = 0;
    for (const Variant &v : variants) {
        const QString file = dir.filePath(QStringLiteral("%1.bmp").arg(v.name));
        QStringList args = v.command.mid(1);
        for (QString &a : args)
            a.replace(QStringLiteral("%1"), file);
        QByteArray out;
        if (!test::run(v.command[0], args, &out)) {
            ADD_FAILURE() << v.name << " could not be made: " << out.constData();
            continue;
        }
        const QString ref = dir.filePath(QStringLiteral("%1.png").arg(v.name));
        ASSERT_TRUE(test::run(QStringLiteral("convert"), {file, "-alpha", "off", "-depth", "8", "PNG24:" + ref}));
        const Picture p = readPictureFile(file);
        EXPECT_EQ(p.depth, v.depth) << v.name;
        // Readers widen 5- and 6-bit channels slightly differently.
        EXPECT_LE(test::maxDifference(p.image, QImage(ref).convertToFormat(QImage::Format_RGB32)),
                  v.depth == 16 ? 8 : 0)
            << v.name;
        ++opened;
    }
    EXPECT_EQ(opened, variants.size());
}

// The reader's bands each read their own rows: a file cut short in the middle of a band
// gives the rows there and white below them (bottom-up) or above (top-down), the same
// on one thread or many.
TEST(BmpReader, RowsCutShortInsideABandReadTheSameOnOneThreadOrMany)
{
    const int w = 13, h = 1000, row = 40, kept = 537;
    const Picture p = test::truecolourPicture(w, h);
    const QByteArray bottomUp = encodeBmp(p);
    // The same picture top-down: the height negated, the rows in picture order.
    QByteArray topDown = bottomUp.left(54);
    {
        const qint32 negative = -h;
        std::memcpy(topDown.data() + 22, &negative, 4);
        for (int r = h - 1; r >= 0; --r)
            topDown += bottomUp.mid(54 + r * row, row);
    }
    for (const QByteArray *file : {&bottomUp, static_cast<const QByteArray *>(&topDown)}) {
        const bool down = file == &topDown;
        const QByteArray cut = file->left(54 + kept * row + row / 2);
        QImage single;
        for (int threads : {0, 2, 5}) {
            PassThreadsOverride override(threads);
            bool truncated = false;
            const QImage got = decodeBmp(cut, &truncated).image;
            EXPECT_TRUE(truncated);
            if (threads == 0)
                single = got;
            EXPECT_EQ(got, single) << threads;
        }
        for (int y = 0; y < h; ++y) {
            const bool present = down ? y < kept : y >= h - kept;
            for (int x = 0; x < w; x += 6)
                ASSERT_EQ(single.pixel(x, y), present ? p.image.pixel(x, y) | 0xFF000000u : 0xFFFFFFFFu)
                    << (down ? "top-down " : "bottom-up ") << x << "," << y;
        }
        EXPECT_THROW(decodeBmp(cut), VermeoError);
    }
}

namespace {
// Takes the header, then fails every write of pixels, as a full disk does.
class FullSink : public ByteSink {
public:
    void write(const uchar *, qint64 n) override { m_pos += n; }
    void writeAt(qint64, const uchar *, qint64) override { throw VermeoError(QStringLiteral("disque plein")); }
    qint64 pos() const override { return m_pos; }

private:
    qint64 m_pos = 0;
};
} // namespace

// A band is written while the next is packed: its failure comes out of the next band's
// write or out of finish(), never lost.
TEST(BmpWriter, AFailedWriteIsThrownByTheNextBandOrByFinish)
{
    const Picture p = test::truecolourPicture(9, 40);
    const auto rows = rowsOf(p.image);
    for (int bands : {1, 2}) {
        FullSink sink;
        auto writer = bmpWriter(sink, shapeOf(p));
        try {
            for (int b = 0; b < bands; ++b)
                writer->writeRows({rows[b * 20], rows.stride}, 20);
            writer->finish();
            ADD_FAILURE() << "no error with " << bands << " band(s)";
        } catch (const VermeoError &e) {
            EXPECT_EQ(e.message(), QStringLiteral("disque plein"));
        }
    }
}
