// PCX: the run encoding, every accepted layout, the refusals and round trips.
#include "Error.h"
#include "FormatTestUtil.h"
#include "GraphicRegistry.h"
#include "PcxCodec.h"
#include "PictureFiles.h"
#include "TPCX.h"

using namespace vermeo;
using namespace vermeo::formats;

namespace {
// A PCX header with the given layout; coded data and a palette block are appended by the caller.
QByteArray pcxHeader(int bits, int planes, int w, int h, int bpl, int kind, int xmin = 0)
{
    QByteArray hd(128, '\0');
    auto put16 = [&hd](int at, int v) {
        hd[at] = char(v & 0xFF);
        hd[at + 1] = char((v >> 8) & 0xFF);
    };
    hd[0] = 10;
    hd[1] = 5;
    hd[2] = 1;
    hd[3] = char(bits);
    put16(4, xmin);
    put16(8, (xmin + w - 1) & 0xFFFF);
    put16(10, h - 1);
    hd[65] = char(planes);
    put16(66, bpl);
    put16(68, kind);
    return hd;
}

QByteArray runs(int count, uchar v)
{
    QByteArray out;
    pcxEmitRun(out, count, v);
    return out;
}
} // namespace

TEST(PcxRuns, EncodesRunsAsDescribed)
{
    EXPECT_EQ(runs(200, 7), QByteArray::fromHex("ff07ff07ff07cb07"));
    EXPECT_EQ(runs(1, 200), QByteArray::fromHex("c1c8"));
    EXPECT_EQ(runs(1, 100), QByteArray::fromHex("64"));
    EXPECT_EQ(runs(63, 5), QByteArray::fromHex("ff05"));
    EXPECT_EQ(runs(64, 5), QByteArray::fromHex("ff0505"));
    EXPECT_EQ(runs(64, 192), QByteArray::fromHex("ffc0c1c0"));
}

TEST(PcxDecode, OneBitGreyIgnoresTheColourMap)
{
    QByteArray f = pcxHeader(1, 1, 8, 1, 2, 0);
    f[16] = char(200); // a colour map that must not be used
    f[19] = char(10);
    f.append(QByteArray::fromHex("c1f0 00"));
    int code = -1;
    const Picture p = decodePcx(f, &code);
    EXPECT_EQ(code, pcxMonoGrey);
    EXPECT_EQ(p.depth, 1);
    EXPECT_EQ(p.image.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(p.image.pixel(4, 0), qRgb(0, 0, 0));
}

TEST(PcxDecode, LayoutsAndCodes)
{
    { // 1 bit, palette kind 1: the header colour map
        QByteArray f = pcxHeader(1, 1, 8, 1, 2, 1);
        f[16] = char(10);
        f[17] = char(20);
        f[18] = char(30);
        f[19] = char(40);
        f[20] = char(50);
        f[21] = char(60);
        f.append(QByteArray::fromHex("0f00"));
        int code = -1;
        const Picture p = decodePcx(f, &code);
        EXPECT_EQ(code, pcxMonoPalette);
        EXPECT_EQ(p.image.pixel(0, 0), qRgb(10, 20, 30));
        EXPECT_EQ(p.image.pixel(7, 0), qRgb(40, 50, 60));
    }
    { // 4 bits grey: 16 x i
        QByteArray f = pcxHeader(4, 1, 4, 1, 2, 2);
        f.append(QByteArray::fromHex("1f3a"));
        int code = -1;
        const Picture p = decodePcx(f, &code);
        EXPECT_EQ(code, pcx16Grey);
        EXPECT_EQ(p.depth, 4);
        EXPECT_EQ(p.image.pixel(0, 0), qRgb(16, 16, 16));
        EXPECT_EQ(p.image.pixel(1, 0), qRgb(240, 240, 240));
        EXPECT_EQ(p.image.pixel(3, 0), qRgb(160, 160, 160));
    }
    { // 8 bits grey still needs the palette block with 12
        QByteArray f = pcxHeader(8, 1, 2, 1, 2, 2);
        f.append(QByteArray::fromHex("05 09"));
        QByteArray block(769, '\0');
        block[0] = 12;
        int code = -1;
        const Picture p = decodePcx(f + block, &code);
        EXPECT_EQ(code, pcx256Grey);
        EXPECT_EQ(p.image.pixel(1, 0), qRgb(9, 9, 9));
        block[0] = 11;
        EXPECT_THROW(decodePcx(f + block), VermeoError);
    }
    { // 8 bits, palette kind 0 counts as colour
        QByteArray f = pcxHeader(8, 1, 2, 1, 2, 0);
        f.append(QByteArray::fromHex("01 c1 ff"));
        QByteArray block(769, '\0');
        block[0] = 12;
        block[4] = char(1);
        block[5] = char(2);
        block[6] = char(3);
        block[766] = char(250);
        int code = -1;
        const Picture p = decodePcx(f + block, &code);
        EXPECT_EQ(code, pcx256Palette);
        EXPECT_EQ(p.image.pixel(0, 0), qRgb(1, 2, 3));
        EXPECT_EQ(p.image.pixel(1, 0), qRgb(250, 0, 0));
    }
}

TEST(PcxDecode, Refusals)
{
    QByteArray planes8x2 = pcxHeader(8, 2, 8, 1, 8, 1);
    planes8x2.append(QByteArray(16, '\0'));
    EXPECT_THROW(decodePcx(planes8x2), VermeoError);
    QByteArray kind3 = pcxHeader(1, 1, 8, 1, 2, 3);
    kind3.append(QByteArray(4, '\0'));
    EXPECT_THROW(decodePcx(kind3), VermeoError);
    QByteArray bits2x2 = pcxHeader(2, 2, 8, 1, 2, 1);
    bits2x2.append(QByteArray(4, '\0'));
    EXPECT_THROW(decodePcx(bits2x2), VermeoError);
    QByteArray raw = pcxHeader(8, 3, 4, 4, 4, 1);
    raw[2] = 0;
    raw.append(QByteArray(47, '\0')); // one byte short of 4 lines of 3 planes
    EXPECT_THROW(decodePcx(raw), VermeoError);
    QByteArray truncated = pcxHeader(8, 3, 4, 4, 4, 1);
    truncated.append(QByteArray::fromHex("c9 10")); // fewer bytes than the picture needs
    EXPECT_THROW(decodePcx(truncated), VermeoError);
    EXPECT_THROW(decodePcx(QByteArray(60, '\x0a')), VermeoError);
    QByteArray manufacturer = pcxHeader(1, 1, 8, 1, 2, 1);
    manufacturer[0] = 9;
    EXPECT_THROW(decodePcx(manufacturer + QByteArray(2, '\0')), VermeoError);
}

TEST(PcxDecode, WrappedMinimumGivesAWidthOf65536)
{
    // Xmin 10, Xmax 9: 65536 wide. A tiny file cannot back that and is refused...
    QByteArray tiny = pcxHeader(8, 3, 65536, 1, 65534, 1, 10);
    tiny.append(QByteArray::fromHex("c1 00"));
    EXPECT_THROW(decodePcx(tiny), VermeoError);
    // ...while a file that holds every byte opens at that width.
    QByteArray mono = pcxHeader(1, 1, 65536, 1, 8192, 2, 10);
    for (int i = 0; i < 8192 / 63; ++i)
        mono.append(QByteArray::fromHex("ffff"));
    mono.append(char(192 + 8192 % 63));
    mono.append(char(0xFF));
    const Picture p = decodePcx(mono);
    EXPECT_EQ(p.width(), 65536);
    EXPECT_EQ(p.height(), 1);
    EXPECT_EQ(p.image.pixel(65535, 0), qRgb(255, 255, 255));
}

TEST(PcxRoundTrip, EveryDepthExactAndKept)
{
    for (int depth : {1, 4, 8}) {
        const Picture src = test::palettePicture(101, 7, depth);
        const QByteArray f = encodePcx(src);
        EXPECT_EQ(uchar(f[3]), depth);
        EXPECT_EQ(uchar(f[65]), 1);
        const Picture back = decodePcx(f);
        EXPECT_EQ(back.depth, depth);
        EXPECT_TRUE(test::samePixels(back.image, src.image)) << depth;
        if (depth == 8) {
            EXPECT_EQ(uchar(f[f.size() - 769]), 12);
        }
    }
    const Picture tc = test::truecolourPicture(101, 9);
    const QByteArray f = encodePcx(tc);
    EXPECT_EQ(uchar(f[65]), 3);
    EXPECT_EQ(uchar(f[66]) | (uchar(f[67]) << 8), 102); // even bytes per plane line
    const Picture back = decodePcx(f);
    EXPECT_EQ(back.width(), 101);
    EXPECT_TRUE(test::samePixels(back.image, tc.image));
}

TEST(PcxRoundTrip, SixteenAndThirtyTwoBitPicturesAreWrittenAsTrueColour)
{
    for (int depth : {16, 32}) {
        Picture p = test::truecolourPicture(13, 5);
        p.depth = depth;
        const QByteArray f = encodePcx(p);
        ASSERT_GT(f.size(), 128);
        EXPECT_EQ(uchar(f[65]), 3);
        EXPECT_TRUE(test::samePixels(decodePcx(f).image, p.image));
    }
}

TEST(TPCXClass, FormatsAssignAndRegistration)
{
    TPCX g;
    EXPECT_TRUE(g.GetEmpty());
    g.Assign(test::palettePicture(9, 4, 4));
    EXPECT_FALSE(g.GetEmpty());
    EXPECT_EQ(g.format(), pcx16Palette);
    g.SetFormat(pcxMonoGrey);
    EXPECT_EQ(g.bitmap().depth, 1);
    for (int y = 0; y < g.GetHeight(); ++y)
        for (int x = 0; x < g.GetWidth(); ++x) {
            const QRgb c = g.bitmap().image.pixel(x, y);
            EXPECT_TRUE(c == qRgb(0, 0, 0) || c == qRgb(255, 255, 255));
        }
    g.SetFormat(pcxUnknown);
    EXPECT_TRUE(g.GetEmpty());

    TPCX h;
    h.Assign(test::palettePicture(5, 3, 8));
    const QByteArray bytes = h.saveToBytes();
    TPCX k;
    k.loadFromBytes(bytes);
    EXPECT_EQ(k.format(), pcx256Palette);
    EXPECT_THROW(k.loadFromBytes(QByteArray("nope")), VermeoError);
    EXPECT_TRUE(k.GetEmpty());
    EXPECT_EQ(k.GetWidth(), 0);

    const GraphicDecoder d = findGraphicFormat(QStringLiteral("pcx"));
    ASSERT_TRUE(bool(d));
    EXPECT_EQ(d(bytes).width(), 5);
}

TEST(PcxDecode, OneBitWithAnEmptyColourMapIsBlackAndWhite)
{
    // Pillow writes palette kind 1 and leaves the colour map at zero.
    QByteArray f = pcxHeader(1, 1, 8, 1, 2, 1);
    f.append(QByteArray::fromHex("c1f0 00"));
    int code = -1;
    const Picture p = decodePcx(f, &code);
    EXPECT_EQ(code, pcxMonoGrey);
    EXPECT_EQ(p.image.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(p.image.pixel(7, 0), qRgb(0, 0, 0));
}

TEST(PcxDecode, PlanarPackedAndUncompressedLayoutsMadeByHand)
{
    // 3 planes of 1 bit, 8 x 1: plane p holds bit p of the index.
    QByteArray planar = pcxHeader(1, 3, 8, 1, 2, 1);
    for (int i = 0; i < 8; ++i) {
        planar[16 + 3 * i] = char(i * 30);
        planar[17 + 3 * i] = char(255 - i * 30);
        planar[18 + 3 * i] = char(i);
    }
    planar.append(QByteArray::fromHex("aa00 c1cc00 c1f000")); // every index 0..7 once (bytes from 192 as runs of 1)
    const Picture p = decodePcx(planar);
    EXPECT_EQ(p.depth, 4);
    for (int x = 0; x < 8; ++x) {
        const int index = (((0xAA >> (7 - x)) & 1)) | (((0xCC >> (7 - x)) & 1) << 1) | (((0xF0 >> (7 - x)) & 1) << 2);
        EXPECT_EQ(p.image.pixel(x, 0), qRgb(index * 30, 255 - index * 30, index)) << x;
    }
    // 2 bits packed, 4 colours of the header's map.
    QByteArray packed = pcxHeader(2, 1, 4, 1, 2, 1);
    for (int i = 0; i < 4; ++i)
        packed[16 + 3 * i] = char(60 * i);
    packed.append(QByteArray::fromHex("1b00")); // 00 01 10 11
    const Picture q = decodePcx(packed);
    for (int x = 0; x < 4; ++x)
        EXPECT_EQ(q.image.pixel(x, 0), qRgb(60 * x, 0, 0)) << x;
    // Encoding 0: the bytes as they are, 192 and above included.
    QByteArray raw = pcxHeader(8, 3, 2, 1, 2, 1);
    raw[2] = 0;
    raw.append(QByteArray::fromHex("c8ff 10c1 2030"));
    const Picture r = decodePcx(raw);
    EXPECT_EQ(r.image.pixel(0, 0), qRgb(0xC8, 0x10, 0x20));
    EXPECT_EQ(r.image.pixel(1, 0), qRgb(0xFF, 0xC1, 0x30));
}

TEST(PcxDecode, FilesMadeByOtherPrograms)
{
    // Each file is made by its program where it is installed, else taken from the kept copy.
    QTemporaryDir dir;
    const QString data = QStringLiteral(VERMEO_TEST_DATA "/formats/pcx/");
    struct Maker {
        const char *fixture;
        const char *source;
        QString command; // %1 source, %2 output
    };
    const Maker makers[] = {
        {"netpbm-planes2.pcx", "c4.ppm", QStringLiteral("ppmtopcx %1 > %2")},
        {"netpbm-planes3.pcx", "c8.ppm", QStringLiteral("ppmtopcx %1 > %2")},
        {"netpbm-planes4.pcx", "c16.ppm", QStringLiteral("ppmtopcx %1 > %2")},
        {"netpbm-packed2.pcx", "c4.ppm", QStringLiteral("ppmtopcx -packed %1 > %2")},
        {"imagemagick-palette.pcx", "c16.ppm", QStringLiteral("convert %1 -type palette %2")},
        {"graphicsmagick-palette.pcx", "c16.ppm", QStringLiteral("gm convert %1 -type palette %2")},
        {"graphicsmagick-truecolour.pcx", "c16.ppm", QStringLiteral("gm convert %1 %2")},
    };
    int made = 0;
    for (const Maker &m : makers) {
        const QString source = data + QLatin1String(m.source);
        QString file = dir.filePath(QLatin1String(m.fixture));
        const QString program = m.command.section(QLatin1Char(' '), 0, 0);
        if (!QStandardPaths::findExecutable(program).isEmpty() &&
            test::run(QStringLiteral("sh"), {"-c", m.command.arg(source, file)}))
            ++made;
        else
            file = data + QLatin1String(m.fixture);
        const QImage expected = QImage(source).convertToFormat(QImage::Format_RGB32);
        ASSERT_FALSE(expected.isNull()) << m.source;
        const Picture p = readPictureFile(file);
        EXPECT_TRUE(test::samePixels(p.image, expected)) << m.fixture;
    }
    // Four planes of 8 bits: red, green, blue and alpha, on white.
    const Picture rgba = readPictureFile(data + QStringLiteral("imagemagick-rgba.pcx"));
    const QImage c16 = QImage(data + QStringLiteral("c16.ppm")).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(rgba.image.size(), c16.size());
    for (int x = 0; x < c16.width(); ++x) {
        const QRgb c = c16.pixel(x, 0), got = rgba.image.pixel(x, 0);
        EXPECT_LE(std::abs(qRed(got) - (qRed(c) + 255) / 2), 1) << x;
        EXPECT_LE(std::abs(qBlue(got) - (qBlue(c) + 255) / 2), 1) << x;
    }
    RecordProperty("made", made);
}
