// vermeo-cli convert and info: files read and written by the window's rules.
#include "CliTestUtil.h"
#include "FormatTestUtil.h"
#include "PictureFiles.h"

using namespace vermeo;
using namespace vermeo::formats;

TEST(Cli, ConvertAndInfo)
{
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("in.bmp"));
    writePictureFile(test::palettePicture(21, 13, 4), in);
    const QString cli = QStringLiteral(VERMEO_CLI);
    QByteArray out;
    ASSERT_TRUE(test::run(cli, {QStringLiteral("info"), in}, &out)) << out.constData();
    EXPECT_TRUE(out.contains("21 x 13\n4 bits par point")) << out.constData();
    const QString pcx = dir.filePath(QStringLiteral("o.pcx"));
    ASSERT_TRUE(test::run(cli, {QStringLiteral("convert"), in, pcx}));
    EXPECT_EQ(readPictureFile(pcx).depth, 4);
    const QString bad = dir.filePath(QStringLiteral("bad.jpg"));
    test::writeFile(bad, "not a jpeg");
    const QString never = dir.filePath(QStringLiteral("never.bmp"));
    EXPECT_FALSE(test::run(cli, {QStringLiteral("convert"), bad, never}, &out));
    EXPECT_FALSE(QFile::exists(never));
    EXPECT_TRUE(out.contains("bad.jpg")) << out.constData();
    ASSERT_TRUE(test::run(cli, {QStringLiteral("--help")}, &out));
    EXPECT_TRUE(out.contains("convert ENTRÉE SORTIE"));
}

