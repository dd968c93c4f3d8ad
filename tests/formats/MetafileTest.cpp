// WMF and EMF: our one-bitmap files read back exactly, and drawings rendered.
#include "Metafile.h"
#include "Error.h"
#include "FormatTestUtil.h"

#include <QtEndian>

using namespace vermeo;
using namespace vermeo::formats;

TEST(Metafile, OurFilesHoldThePictureAtItsSize)
{
    const Picture p = test::truecolourPicture(101, 37);
    for (const QByteArray &f : {encodeWmf(p), encodeEmf(p)}) {
        EXPECT_EQ(metafileSize(f), QSize(101, 37));
        EXPECT_TRUE(test::samePixels(decodeMetafile(f).image, p.image));
    }
    EXPECT_THROW(encodeWmf(test::truecolourPicture(40000, 1)), VermeoError);
    // Other programs size an EMF by its frame (0.01 mm): 96 dots per inch both ways.
    const QByteArray emf = encodeEmf(test::truecolourPicture(300, 200));
    auto s32 = [&emf](int at) { return qFromLittleEndian<qint32>(emf.constData() + at); };
    EXPECT_EQ(s32(32) - s32(24), 7938);
    EXPECT_EQ(s32(36) - s32(28), 5292);
}

TEST(Metafile, DrawingRecordsAreRendered)
{
    for (const char *name : {"drawing.wmf", "drawing.emf"}) {
        const QByteArray f = test::readFile(QStringLiteral(VERMEO_TEST_DATA "/formats/") + QLatin1String(name));
        ASSERT_FALSE(f.isEmpty()) << name;
        const QImage img = decodeMetafile(f).image;
        ASSERT_EQ(img.size(), QSize(200, 100)) << name;
        EXPECT_EQ(img.pixel(35, 25), qRgb(0, 255, 0)) << name;  // green rectangle
        EXPECT_EQ(img.pixel(10, 25), qRgb(255, 0, 0)) << name;  // its red outline
        EXPECT_EQ(img.pixel(150, 70), qRgb(0, 0, 255)) << name; // blue ellipse
        EXPECT_EQ(img.pixel(170, 10), qRgb(0, 0, 255)) << name; // polygon
        EXPECT_EQ(img.pixel(50, 95), qRgb(255, 0, 0)) << name;  // line
        EXPECT_EQ(img.pixel(100, 20), qRgb(255, 255, 255)) << name;
        int dark = 0; // the text "Hi" near (70, 60)
        for (int y = 55; y < 80; ++y)
            for (int x = 68; x < 90; ++x)
                dark += qGray(img.pixel(x, y)) < 100;
        EXPECT_GT(dark, 10) << name;
    }
}

TEST(Metafile, DamagedFilesAreRefusedOrCut)
{
    const QByteArray f = encodeEmf(test::truecolourPicture(20, 10));
    EXPECT_THROW(decodeMetafile(f.left(50)), VermeoError);
    // A record running past the end stops the playing: a white picture remains.
    const Picture cut = decodeMetafile(f.left(150));
    EXPECT_EQ(cut.image.size(), QSize(20, 10));
    QByteArray w = encodeWmf(test::truecolourPicture(20, 10));
    w[6 + 4] = char(0xFF); // bounding box right = huge
    w[6 + 5] = char(0x7F);
    w[8 + 4] = char(0xFF);
    w[8 + 5] = char(0x7F);
    EXPECT_THROW(decodeMetafile(w), VermeoError);
    EXPECT_THROW(decodeMetafile(QByteArray(40, '\x01')), VermeoError);
}

TEST(Metafile, FilesMadeByLibreOffice)
{
    // Drawn from an SVG of a green rectangle outlined in red, a blue ellipse (a path of
    // Béziers in the EMF) and the text "Hi".
    for (const char *name : {"libreoffice.wmf", "libreoffice.emf"}) {
        const QByteArray f = test::readFile(QStringLiteral(VERMEO_TEST_DATA "/formats/") + QLatin1String(name));
        ASSERT_FALSE(f.isEmpty()) << name;
        const QImage img = decodeMetafile(f).image;
        ASSERT_GE(img.width(), 185) << name;
        EXPECT_EQ(img.pixel(30, 20), qRgb(0, 255, 0)) << name;
        EXPECT_EQ(img.pixel(143, 63), qRgb(0, 0, 255)) << name;
        EXPECT_EQ(img.pixel(100, 20), qRgb(255, 255, 255)) << name;
    }
}

namespace {
void put32(QByteArray &f, int at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        f[at + i] = char((v >> (8 * i)) & 0xFF);
}

QByteArray emfRecord(uint32_t type, std::initializer_list<uint32_t> params)
{
    QByteArray r(8 + 4 * int(params.size()), '\0');
    put32(r, 0, type);
    put32(r, 4, uint32_t(r.size()));
    int at = 8;
    for (uint32_t v : params) {
        put32(r, at, v);
        at += 4;
    }
    return r;
}
} // namespace

TEST(Metafile, ExtremeValuesAreHarmless)
{
    const Picture p = test::truecolourPicture(30, 20);
    const QByteArray ours = encodeEmf(p);
    // Restoring "all the way back" with the most negative count, before the bitmap.
    QByteArray f = ours;
    f.insert(108, emfRecord(33, {}) + emfRecord(33, {}) + emfRecord(34, {0x80000000u}) + emfRecord(34, {0x7FFFFFFFu}));
    EXPECT_TRUE(test::samePixels(decodeMetafile(f).image, p.image));

    // Bounds and frame spanning the whole 32-bit range cannot give a picture size.
    QByteArray huge = ours;
    for (int at : {8, 12, 24, 28})
        put32(huge, at, 0x80000000u);
    for (int at : {16, 20, 32, 36})
        put32(huge, at, 0x7FFFFFFFu);
    EXPECT_THROW(decodeMetafile(huge), VermeoError);

    // Same with a frame of no size: the bounds alone are far too large.
    put32(huge, 32, 0x80000000u);
    EXPECT_THROW(decodeMetafile(huge), VermeoError);
}
