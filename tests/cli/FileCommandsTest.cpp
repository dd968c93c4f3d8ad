// vermeo-cli convert and info: files read and written by the window's rules.
#include "BatchConversion.h"
#include "Canvas.h"
#include "CliRun.h"
#include "FormatTestUtil.h"
#include "PaletteFit.h"
#include "PictureFiles.h"
#include "ShadowGradient.h"

#include <QRegularExpression>
#include <QStandardPaths>

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

TEST(CliFiles, ConvertByBandsGivesTheSameFilesAsWholePictures)
{
    QTemporaryDir dir;
    const Picture tc = test::truecolourPicture(301, 97);
    const Picture p8 = test::palettePicture(123, 45, 8);
    const Picture p1 = test::palettePicture(77, 9, 1);
    int checked = 0;
    for (const Picture &src : {tc, p8, p1}) {
        for (const char *inExt : {".bmp", ".pcx"}) {
            const QString in = dir.filePath(QStringLiteral("in%1%2").arg(src.depth).arg(QLatin1String(inExt)));
            writePictureFile(src, in);
            for (const char *outExt : {".bmp", ".pcx", ".tif", ".jpg"}) {
                const QString out = dir.filePath(QStringLiteral("out%1").arg(QLatin1String(outExt)));
                const test::CliRun r = test::cli({QStringLiteral("convert"), in, out});
                ASSERT_EQ(r.code, 0) << r.err.toStdString();
                EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
                // The whole-picture path of the window writes the same bytes.
                EXPECT_EQ(test::readFile(out), encodeAs(writingKind(out), readPictureFile(in)))
                    << inExt << " " << outExt;
                ++checked;
            }
        }
    }
    EXPECT_EQ(checked, 24);
}

TEST(CliFiles, ApplyOnAPalettePictureKeepsItsNewColours)
{
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("p8.bmp")), out = dir.filePath(QStringLiteral("o.bmp"));
    Picture p8 = test::palettePicture(60, 120, 8);
    writePictureFile(p8, in);
    const test::CliRun r = test::cli(
        {QStringLiteral("apply"), QStringLiteral("degrade"), QStringLiteral("1"), QStringLiteral("#0000FF"), in, out});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const Picture back = readPictureFile(out);
    EXPECT_EQ(back.depth, 8);
    // Exactly the gradient's bands (50 colours fit the 256 entries), not one flat colour.
    QImage expected = p8.image.copy();
    Canvas canvas(&expected);
    colour::gradient(canvas, ComposeCouleur(0, 0, 255), 1, false);
    EXPECT_TRUE(test::samePixels(back.image, expected));
    std::vector<QRgb> colours;
    distinctColours(back.image, 256, colours);
    EXPECT_GT(colours.size(), 10u);
}

TEST(CliFiles, SpecialFilesAreRefusedAtOnce)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("pipe.bmp"));
    ASSERT_TRUE(test::run(QStringLiteral("mkfifo"), {fifo}));
    const QString link = dir.filePath(QStringLiteral("zero.bmp"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), link));
    for (const QString &name : {QStringLiteral("/dev/zero"), link, fifo}) {
        const test::CliRun r = test::cli({QStringLiteral("info"), name}, {}, 10000);
        EXPECT_EQ(r.code, 1) << name.toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("ce n'est pas un fichier ordinaire"))) << r.err.toStdString();
    }
}

TEST(CliFiles, OnlyOneFrenchLineUnlessVerbose)
{
    // No runtime folder and a damaged PNG: Qt and libpng have things to say.
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("abime.png"));
    test::writeFile(png, QByteArray("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR garbage", 25));
    const QString out = dir.filePath(QStringLiteral("o.bmp"));
    const test::CliRun quiet = test::cli({QStringLiteral("convert"), png, out}, {QStringLiteral("XDG_RUNTIME_DIR")});
    EXPECT_EQ(quiet.code, 1);
    EXPECT_EQ(quiet.err.count(QLatin1Char('\n')), 1) << quiet.err.toStdString();
    EXPECT_TRUE(quiet.err.startsWith(QStringLiteral("vermeo-cli : Impossible d'ouvrir « abime.png » :")))
        << quiet.err.toStdString();
    const test::CliRun verbose = test::cli({QStringLiteral("--verbose"), QStringLiteral("convert"), png, out},
                                           {QStringLiteral("XDG_RUNTIME_DIR")});
    EXPECT_EQ(verbose.code, 1);
    EXPECT_GT(verbose.err.count(QLatin1Char('\n')), 1) << verbose.err.toStdString();
    // A JPEG that is not one: the library's own text only with --verbose.
    const QString jpg = dir.filePath(QStringLiteral("faux.jpg"));
    writePictureFile(test::truecolourPicture(4, 4), dir.filePath(QStringLiteral("faux.bmp")));
    QFile::copy(dir.filePath(QStringLiteral("faux.bmp")), jpg);
    const test::CliRun j = test::cli({QStringLiteral("--verbose"), QStringLiteral("info"), jpg});
    EXPECT_TRUE(j.err.contains(QStringLiteral("Not a JPEG file"))) << j.err.toStdString();
    EXPECT_TRUE(j.err.contains(QStringLiteral("ce n'est pas un fichier JPEG"))) << j.err.toStdString();
    EXPECT_FALSE(test::cli({QStringLiteral("info"), jpg}).err.contains(QStringLiteral("Not a JPEG")));
}

TEST(CliFiles, ConversionsGivesTheFilesOfTheConverterAndReportsEachFailure)
{
    QTemporaryDir in, viaDialog, viaCli;
    QStringList files;
    for (const char *name : {"photo.old.bmp", "b.jpeg", "c.pcx"}) {
        files << in.filePath(QLatin1String(name));
        writePictureFile(test::truecolourPicture(90, 60), files.last());
    }
    files.insert(1, in.filePath(QStringLiteral("abime.gif")));
    test::writeFile(files[1], "GIF89a");
    for (const char *format : {"Pcx", "Jpg", "Tif"}) {
        const formats::ConversionReport r = formats::convertFiles(files, viaDialog.path(), QLatin1String(format));
        EXPECT_EQ(r.converted, 3);
        const test::CliRun run = test::cli(
            QStringList{QStringLiteral("conversions"), QString::fromLatin1(format).toLower(), viaCli.path()} + files);
        EXPECT_EQ(run.code, 1) << format;
        EXPECT_EQ(run.out, QStringLiteral("3 fichiers convertis\n"));
        const QStringList errors = run.err.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        ASSERT_EQ(errors.size(), 1) << run.err.toStdString();
        EXPECT_TRUE(errors[0].contains(QStringLiteral("abime.gif"))) << errors[0].toStdString();
    }
    const QStringList names = QDir(viaDialog.path()).entryList(QDir::Files);
    EXPECT_EQ(names, QDir(viaCli.path()).entryList(QDir::Files));
    EXPECT_TRUE(names.contains(QStringLiteral("photo.Pcx")));
    for (const QString &name : names)
        EXPECT_EQ(test::readFile(viaDialog.filePath(name)), test::readFile(viaCli.filePath(name)))
            << name.toStdString();
    // All good: exit 0; an unknown format or a missing folder converts nothing.
    EXPECT_EQ(test::cli({QStringLiteral("conversions"), QStringLiteral("Bmp"), viaCli.path(), files[0]}).code, 0);
    const test::CliRun png = test::cli({QStringLiteral("conversions"), QStringLiteral("png"), viaCli.path(), files[0]});
    EXPECT_EQ(png.code, 1);
    EXPECT_TRUE(png.err.contains(QStringLiteral("png"))) << png.err.toStdString();
    const test::CliRun missing = test::cli(
        {QStringLiteral("conversions"), QStringLiteral("Bmp"), in.filePath(QStringLiteral("nulle-part")), files[0]});
    EXPECT_EQ(missing.code, 1);
    EXPECT_TRUE(missing.err.contains(QStringLiteral("n'existe pas"))) << missing.err.toStdString();
}

// A palette picture given more colours than its palette holds: 24 bits by default,
// "--palette reduire" keeps the palette; either way one line says what was done.
TEST(CliFiles, PaletteOptionDecidesAndSaysSoOnOneLine)
{
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("p1.bmp")), out = dir.filePath(QStringLiteral("o.bmp"));
    writePictureFile(test::palettePicture(60, 40, 1), in);
    const QStringList gradient = {
        QStringLiteral("apply"), QStringLiteral("degrade"), QStringLiteral("1"), QStringLiteral("#FF0000"), in, out};
    test::CliRun r = test::quietCli(gradient);
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(readPictureFile(out).depth, 24);
    EXPECT_EQ(r.err.count(QLatin1Char('\n')), 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("enregistré en 24 bits"))) << r.err.toStdString();

    r = test::quietCli(QStringList{QStringLiteral("--palette"), QStringLiteral("reduire")} + gradient);
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const Picture back = readPictureFile(out);
    EXPECT_EQ(back.depth, 1);
    EXPECT_EQ(back.palette, test::palettePicture(1, 1, 1).palette);
    EXPECT_TRUE(r.err.contains(QStringLiteral("palette gardée"))) << r.err.toStdString();

    r = test::quietCli({QStringLiteral("--palette"), QStringLiteral("16"), QStringLiteral("convert"), in, out});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("24bits ou reduire")));
    // Nothing to decide: nothing said.
    r = test::quietCli({QStringLiteral("convert"), in, out});
    EXPECT_EQ(r.code, 0);
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
}

// convert onto a device, a FIFO or a loop of links: refused in one line, nothing replaced.
TEST(CliFiles, ConvertNeverReplacesWhatIsNoFile)
{
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("im.gif"));
    writePictureFile(test::palettePicture(20, 10, 8), in);
    const QString fifo = dir.filePath(QStringLiteral("tube.bmp"));
    ASSERT_TRUE(test::run(QStringLiteral("mkfifo"), {fifo}));
    const QString loop = dir.filePath(QStringLiteral("boucle.bmp"));
    ASSERT_TRUE(QFile::link(loop, loop));
    for (const QString &target : {QStringLiteral("/dev/full"), fifo, loop}) {
        const test::CliRun r = test::quietCli({QStringLiteral("convert"), in, target}, 20000);
        EXPECT_EQ(r.code, 1) << target.toStdString();
        EXPECT_EQ(r.err.count(QLatin1Char('\n')), 1) << r.err.toStdString();
        EXPECT_TRUE(r.err.startsWith(
            QStringLiteral("vermeo-cli : Impossible d'enregistrer « %1 » :").arg(QFileInfo(target).fileName())))
            << r.err.toStdString();
    }
    EXPECT_TRUE(QFileInfo(QStringLiteral("/dev/full")).exists() && !QFileInfo(QStringLiteral("/dev/full")).isFile());
    EXPECT_TRUE(QFileInfo(loop).isSymLink());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot).size(),
              3);
}

// A BMP converted onto itself, and into every format with a resolution field, keeps it.
TEST(CliFiles, TheResolutionIsCarriedFromFileToFile)
{
    QTemporaryDir dir;
    const QString bmp = dir.filePath(QStringLiteral("r.bmp"));
    Picture p = test::truecolourPicture(30, 20);
    p.resolution = {11811, 11811}; // 300 dpi
    writePictureFile(p, bmp);
    ASSERT_EQ(readPictureFile(bmp).resolution, p.resolution);
    ASSERT_EQ(test::quietCli({QStringLiteral("convert"), bmp, bmp}).code, 0);
    EXPECT_EQ(readPictureFile(bmp).resolution, p.resolution);
    for (const char *ext : {"pcx", "jpg", "tif", "png"}) {
        const QString out = dir.filePath(QStringLiteral("r.%1").arg(QLatin1String(ext)));
        ASSERT_EQ(test::quietCli({QStringLiteral("convert"), bmp, out}).code, 0) << ext;
        // As another program reads it: 300 dots per inch.
        QByteArray said;
        ASSERT_TRUE(test::run(QStringLiteral("identify"),
                              {QStringLiteral("-units"), QStringLiteral("PixelsPerInch"), QStringLiteral("-format"),
                               QStringLiteral("%x"), out},
                              &said))
            << ext;
        // (Its warnings, if any, follow the number.)
        const double dpi =
            QRegularExpression(QStringLiteral("^[0-9.]+")).match(QString::fromUtf8(said)).captured().toDouble();
        EXPECT_NEAR(dpi, 300, 0.01) << ext << ": " << said.constData();
    }
    // Where the file holds whole dots per inch, reading gives the pixels per metre back.
    EXPECT_EQ(readPictureFile(dir.filePath(QStringLiteral("r.pcx"))).resolution, p.resolution);
    EXPECT_EQ(readPictureFile(dir.filePath(QStringLiteral("r.jpg"))).resolution, p.resolution);
}

TEST(CliFiles, PhotosComeUprightAndWebpIsWrittenLossyOrWithoutLoss)
{
    if (QStandardPaths::findExecutable(QStringLiteral("exiftool")).isEmpty())
        GTEST_SKIP() << "exiftool missing";
    QTemporaryDir dir;
    const QString side = dir.filePath(QStringLiteral("portrait.jpg"));
    ASSERT_TRUE(test::varied(48, 32).save(side, "JPEG", 95));
    ASSERT_TRUE(test::run(QStringLiteral("exiftool"), {QStringLiteral("-n"), QStringLiteral("-Orientation=6"),
                                                       QStringLiteral("-overwrite_original"), side}));
    const QString cli = QStringLiteral(VERMEO_CLI);
    const QString lossless = dir.filePath(QStringLiteral("ll.webp")), lossy = dir.filePath(QStringLiteral("ly.webp"));
    ASSERT_TRUE(test::run(cli, {QStringLiteral("convert"), side, lossless, QStringLiteral("--sans-perte")}));
    ASSERT_TRUE(test::run(cli, {QStringLiteral("convert"), side, lossy}));
    EXPECT_EQ(test::readFile(lossless).mid(12, 4), "VP8L");
    EXPECT_EQ(test::readFile(lossy).mid(12, 4), "VP8 ");
    // Upright, and the lossless file holds exactly what "Ouvrir" shows.
    EXPECT_EQ(readPictureFile(lossless).image, readPictureFile(side).image);
    EXPECT_EQ(readPictureFile(lossy).image.size(), QSize(32, 48));
    // The batch converter lists Webp and writes it under the format's text.
    const QString out = dir.filePath(QStringLiteral("out"));
    ASSERT_TRUE(QDir().mkpath(out));
    QByteArray text;
    ASSERT_TRUE(test::run(cli, {QStringLiteral("conversions"), QStringLiteral("webp"), out, side}, &text))
        << text.constData();
    EXPECT_EQ(readPictureFile(out + QStringLiteral("/portrait.Webp")).image.size(), QSize(32, 48));
}

TEST(CliFiles, AHeicFileOfAnotherProgramConvertsAndNoOtherFileNeedsLibheif)
{
    // heif-enc (libheif-examples) writes the file, heif-convert decodes it for reference.
    for (const char *tool : {"heif-enc", "heif-convert"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            GTEST_SKIP() << tool << " missing";
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("source.png")), heic = dir.filePath(QStringLiteral("photo.heic"));
    writePictureFile(test::truecolourPicture(64, 48), png);
    ASSERT_TRUE(test::run(QStringLiteral("heif-enc"),
                          {QStringLiteral("-q"), QStringLiteral("90"), QStringLiteral("-o"), heic, png}));
    const QString ref = dir.filePath(QStringLiteral("ref.png"));
    ASSERT_TRUE(test::run(QStringLiteral("heif-convert"), {heic, ref}));
    const QString bmp = dir.filePath(QStringLiteral("photo.bmp"));
    const test::CliRun r = test::cli({QStringLiteral("convert"), heic, bmp});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QImage ours = readPictureFile(bmp).image;
    ASSERT_EQ(ours.size(), QSize(64, 48));
    EXPECT_LE(test::maxDifference(ours, QImage(ref).convertToFormat(QImage::Format_RGB32)), 1);

    // Without libheif: the other formats as before, a HEIF file refused with the reason,
    // nothing written.
    const QStringList noLibrary{QStringLiteral("VERMEO_LIBHEIF=") + dir.filePath(QStringLiteral("absent.so"))};
    const QString copy = dir.filePath(QStringLiteral("copy.bmp"));
    const test::CliRun plain = test::cli({QStringLiteral("convert"), bmp, copy}, noLibrary);
    ASSERT_EQ(plain.code, 0) << plain.err.toStdString();
    EXPECT_EQ(readPictureFile(copy).image, ours);
    const QString never = dir.filePath(QStringLiteral("never.bmp"));
    const test::CliRun refused = test::cli({QStringLiteral("convert"), heic, never}, noLibrary);
    EXPECT_EQ(refused.code, 1);
    EXPECT_TRUE(refused.err.endsWith(QStringLiteral(
        "vermeo-cli : Impossible d'ouvrir « photo.heic » : bibliothèque libheif absente (paquet libheif1).\n")))
        << refused.err.toStdString();
    EXPECT_FALSE(QFile::exists(never));
}
