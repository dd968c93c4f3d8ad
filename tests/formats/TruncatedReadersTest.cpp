// Files cut short, read by each reader in both ways: as an error ("fichier tronqué") and,
// for the window's "Ouvrir", as the part that could be read. Metafile object slots and
// line lengths that hostile files play with.
#include "Error.h"
#include "FormatTestUtil.h"
#include "PcxCodec.h"
#include "PictureFiles.h"

using namespace vermeo;
using namespace vermeo::formats;

namespace {
struct Cut {
    const char *name;
    Picture picture;
    QRect kept; // rows the first 60 % of the file holds exactly
};
} // namespace

TEST(TruncatedReaders, StrictReadersRefuseAndOpenReadsTheRowsThere)
{
    const Picture tc = test::truecolourPicture(64, 50);
    const std::vector<Cut> cuts = {
        {"x.bmp", tc, QRect(0, 30, 64, 20)}, // bottom-up: the file starts with the last rows
        {"x.bmp", test::palettePicture(64, 50, 8), QRect(0, 30, 64, 20)},
        {"x.bmp", test::palettePicture(64, 50, 1), QRect(0, 30, 64, 20)},
        {"x.pcx", tc, QRect(0, 0, 64, 20)},
        {"x.pcx", test::palettePicture(64, 50, 4), QRect(0, 0, 64, 20)},
        {"x.gif", test::palettePicture(64, 50, 8), QRect(0, 0, 64, 5)},
        {"x.jpg", tc, QRect()},
    };
    for (const Cut &c : cuts) {
        const QByteArray whole = encodeAs(writingKind(QLatin1String(c.name)), c.picture);
        const QByteArray part = whole.left(whole.size() * 6 / 10);
        SCOPED_TRACE(c.name);
        try {
            decodeAs(FileKind::General, part, QLatin1String(c.name));
            ADD_FAILURE() << "a truncated file was read as whole";
        } catch (const VermeoError &e) {
            EXPECT_EQ(e.message(), QStringLiteral("fichier tronqué"));
        }
        bool truncated = false;
        const Picture read = decodeAs(FileKind::General, part, QLatin1String(c.name), &truncated);
        EXPECT_TRUE(truncated);
        ASSERT_EQ(read.image.size(), c.picture.image.size());
        EXPECT_EQ(read.depth, decodeAs(FileKind::General, whole, QLatin1String(c.name)).depth);
        if (c.kept.isValid()) {
            EXPECT_TRUE(test::samePixels(read.image.copy(c.kept), c.picture.image.copy(c.kept)));
            // The rows that are missing are white, not invented.
            const int missingRow = c.kept.top() == 0 ? 49 : 0;
            EXPECT_EQ(read.image.pixel(3, missingRow), qRgb(255, 255, 255));
        }
        // A whole file is not truncated.
        bool wholeTruncated = false;
        decodeAs(FileKind::General, whole, QLatin1String(c.name), &wholeTruncated);
        EXPECT_FALSE(wholeTruncated);
    }
}

TEST(TruncatedReaders, AFileCutInsideItsHeadersOpensNowhere)
{
    for (const char *name : {"x.bmp", "x.pcx", "x.gif", "x.jpg"}) {
        const QByteArray whole = encodeAs(writingKind(QLatin1String(name)), test::truecolourPicture(30, 20));
        bool truncated = false;
        EXPECT_THROW(decodeAs(FileKind::General, whole.left(20), QLatin1String(name), &truncated), VermeoError) << name;
    }
}

TEST(HostileFiles, APcxLineFarShorterThanItsWidthIsRefused)
{
    // 60000 pixels wide from lines of 2 bytes: each byte of the file would cost 30,000
    // pixels. A line a few pixels short of the width is tolerated as before.
    auto header = [](int width, int bpl) {
        QByteArray h(128, '\0');
        h[0] = 10;
        h[1] = 5;
        h[2] = 1;
        h[3] = 8;
        h[8] = char((width - 1) & 255);
        h[9] = char((width - 1) >> 8);
        h[65] = 1;
        h[66] = char(bpl & 255);
        h[67] = char(bpl >> 8);
        h[68] = 2; // grey
        return h;
    };
    QByteArray wide =
        header(60000, 2) + QByteArray::fromHex("c200").repeated(400) + QByteArray(1, 12) + QByteArray(768, '\0');
    try {
        decodePcx(wide);
        ADD_FAILURE() << "refusal expected";
    } catch (const VermeoError &e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("lignes de 2 octets pour 60000 points")))
            << e.message().toStdString();
    }
    QByteArray nearly =
        header(20, 8) + QByteArray::fromHex("c8ff").repeated(1) + QByteArray(1, 12) + QByteArray(768, '\0');
    const Picture p = decodePcx(nearly);
    EXPECT_EQ(p.width(), 20);
}

TEST(HostileFiles, WmfObjectsTakeTheLowestFreeSlotAndAFullTableTakesNoMore)
{
    // Pens red (slot 0) and blue (slot 1); slot 0 deleted; a green pen takes slot 0 again.
    // Then 70,000 more pens: the table holds 65,535 and the others are dropped, so
    // selecting slot 1 still gives the blue pen.
    QByteArray f;
    auto u16 = [&f](int v) { f.append(char(v & 255)).append(char((v >> 8) & 255)); };
    auto u32 = [&](quint32 v) {
        u16(int(v & 0xFFFF));
        u16(int(v >> 16));
    };
    u32(0x9AC6CDD7u);
    u16(0);
    u16(0);
    u16(0);
    u16(30);
    u16(30);
    u16(96);
    u32(0);
    u16(0);
    u16(1);
    u16(9);
    u16(0x300);
    u32(0);
    u16(0);
    u32(0);
    u16(0);
    auto pen = [&](quint32 colour) {
        u32(8);
        u16(0x02FA);
        u16(0);
        u16(5);
        u16(0);
        u32(colour);
    };
    auto select = [&](int i) {
        u32(4);
        u16(0x012D);
        u16(i);
    };
    auto line = [&](int y) {
        u32(5);
        u16(0x0214);
        u16(y);
        u16(2);
        u32(5);
        u16(0x0213);
        u16(y);
        u16(28);
    };
    pen(0x0000FF);
    pen(0xFF0000);
    u32(4);
    u16(0x01F0);
    u16(0); // delete slot 0
    pen(0x00FF00);
    for (int i = 0; i < 70000; ++i)
        pen(0x000000);
    select(0);
    line(5);
    select(1);
    line(20);
    u32(3);
    u16(0);
    const Picture p = decodeAs(FileKind::Wmf, f, QStringLiteral("x.wmf"));
    EXPECT_EQ(p.image.pixel(15, 5), qRgb(0, 255, 0));
    EXPECT_EQ(p.image.pixel(15, 20), qRgb(0, 0, 255));
}

TEST(HostileFiles, AGifScreenItsBytesCannotCoverIsRefusedBeforeItIsMade)
{
    // 10 KB (comments, and a 1 x 1 frame) declaring a screen of 10000 x 10000: 400 MB
    // of white for a file that LZW could never fill past about 27 million pixels.
    auto gif = [](int side, int commentBlocks) {
        QByteArray f = "GIF89a";
        f.append(char(side & 255)).append(char(side >> 8)).append(char(side & 255)).append(char(side >> 8));
        f += QByteArray::fromHex("800000000000ffffff");
        for (int i = 0; i < commentBlocks; ++i)
            f += QByteArray::fromHex("21fe") + QByteArray(1, char(255)) + QByteArray(255, 'x') + QByteArray(1, 0);
        return f + QByteArray::fromHex("2c0000000001000100000202440100"
                                       "3b");
    };
    try {
        decodeAs(FileKind::Gif, gif(10000, 40), QStringLiteral("x.gif"));
        ADD_FAILURE() << "refusal expected";
    } catch (const VermeoError &e) {
        EXPECT_EQ(e.message(), QStringLiteral("fichier GIF refusé (taille 10000 x 10000)"));
    }
    // A screen the bytes could cover, around a frame of one pixel: 100 MB of white for
    // nothing the file holds.
    try {
        decodeAs(FileKind::Gif, gif(5000, 40), QStringLiteral("x.gif"));
        ADD_FAILURE() << "refusal expected";
    } catch (const VermeoError &e) {
        EXPECT_EQ(e.message(), QStringLiteral("fichier GIF refusé (écran de 5000 x 5000 pour une image de 1 x 1)"));
    }
    // The same frame on a smaller screen opens, white around its one pixel.
    const Picture p = decodeAs(FileKind::Gif, gif(1000, 40), QStringLiteral("x.gif"));
    EXPECT_EQ(p.image.size(), QSize(1000, 1000));
    EXPECT_EQ(p.image.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(p.image.pixel(500, 500), qRgb(255, 255, 255));
}

TEST(HeaderInfo, GivesWhatReadingGivesInEveryFormat)
{
    // Size and depth from the headers, for files of every kind the writers make, against
    // the picture that reading them gives.
    QTemporaryDir dir;
    const std::vector<Picture> pictures = {test::truecolourPicture(37, 23), test::palettePicture(37, 23, 1),
                                           test::palettePicture(37, 23, 4), test::palettePicture(37, 23, 8)};
    int checked = 0;
    for (const char *ext : {"bmp", "pcx", "gif", "jpg", "jpeg", "wmf", "emf", "png", "tif", "webp"}) {
        for (const Picture &pic : pictures) {
            const QString name = dir.filePath(QStringLiteral("p%1.%2").arg(pic.depth).arg(QLatin1String(ext)));
            writePictureFile(pic, name);
            const PictureInfo info = pictureFileInfo(name);
            const Picture read = readPictureFile(name);
            EXPECT_EQ(info.size, read.image.size()) << name.toStdString();
            EXPECT_EQ(info.depth, read.depth) << name.toStdString();
            ++checked;
        }
    }
    EXPECT_EQ(checked, 40);
    // A photo stored across with its EXIF orientation: the upright size, as it opens.
    const QString turned = QStringLiteral(VERMEO_TEST_DATA "/fuzz/jpg/exiftool-orientation6-p3.jpg");
    const Picture upright = readPictureFile(turned);
    ASSERT_NE(upright.width(), upright.height());
    EXPECT_EQ(pictureFileInfo(turned).size, upright.image.size());
}
