// Truncated, empty and hostile files through vermeo-cli, as a script meets them: files
// written by other programs (libjpeg's cjpeg, netpbm) or by our writer, cut with head -c.
#include "CliRun.h"
#include "FormatTestUtil.h"
#include "PictureFiles.h"
#include "PixelRows.h"

#include <QtEndian>

using namespace vermeo;
using namespace vermeo::formats;

namespace {

// A photo-like 96 x 64 picture as a binary PPM, for the other programs to encode.
QByteArray ppm()
{
    QByteArray out = "P6\n96 64\n255\n";
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 96; ++x) {
            out.append(char(x * 2));
            out.append(char(y * 3));
            out.append(char((x * y) & 255));
        }
    return out;
}

// program < source.ppm > target; false (with the reason) when the tool fails.
::testing::AssertionResult encodeWith(const QString &program, const QStringList &args, const QString &source,
                                      const QString &target)
{
    QProcess p;
    p.setStandardInputFile(source);
    p.setStandardOutputFile(target);
    p.start(program, args);
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return ::testing::AssertionFailure() << program.toStdString() << " failed";
    return ::testing::AssertionSuccess();
}

// head -c n
QString cut(const QString &file, qsizetype n, const QString &target)
{
    test::writeFile(target, test::readFile(file).left(n));
    return target;
}

struct Made {
    QString name;
    QString whole;
};

// The same picture in every format that can be truncated, written by other programs.
std::vector<Made> writtenByOthers(const QTemporaryDir &dir)
{
    const QString source = dir.filePath(QStringLiteral("photo.ppm"));
    test::writeFile(source, ppm());
    std::vector<Made> made;
    const struct {
        const char *name, *program;
        QStringList args;
    } tools[] = {
        {"base.jpg", "cjpeg", {QStringLiteral("-quality"), QStringLiteral("90")}},
        {"progressif.jpg", "cjpeg", {QStringLiteral("-progressive")}},
        {"image.gif", "pamtogif", {}},
        {"image.bmp", "ppmtobmp", {}},
        {"image.pcx", "ppmtopcx", {QStringLiteral("-24bit")}},
    };
    for (const auto &t : tools) {
        const QString target = dir.filePath(QLatin1String(t.name));
        if (t.name == QLatin1String("image.gif")) {
            // pamtogif takes at most 256 colours: a reduced copy first.
            QProcess q;
            q.setStandardInputFile(source);
            q.setStandardOutputFile(dir.filePath(QStringLiteral("q.ppm")));
            q.start(QStringLiteral("pnmquant"), {QStringLiteral("200")});
            q.waitForFinished(60000);
            EXPECT_TRUE(encodeWith(QLatin1String(t.program), t.args, dir.filePath(QStringLiteral("q.ppm")), target));
        } else {
            EXPECT_TRUE(encodeWith(QLatin1String(t.program), t.args, source, target));
        }
        made.push_back({QLatin1String(t.name), target});
    }
    return made;
}

} // namespace

TEST(CliDamagedFiles, TruncatedFilesAreErrorsInInfoConvertAndConversions)
{
    QTemporaryDir dir;
    for (const Made &m : writtenByOthers(dir)) {
        const QByteArray whole = test::readFile(m.whole);
        ASSERT_GT(whole.size(), 400) << m.name.toStdString();
        // The whole file is fine.
        test::CliRun ok = test::quietCli({QStringLiteral("info"), m.whole});
        ASSERT_EQ(ok.code, 0) << m.name.toStdString() << ok.err.toStdString();
        EXPECT_TRUE(ok.out.startsWith(QStringLiteral("96 x 64\n"))) << ok.out.toStdString();
        // Cut at half: the headers say 96 x 64, the rows end early.
        const QString half = cut(m.whole, whole.size() / 2, dir.filePath(QStringLiteral("coupe-") + m.name));
        const QString expected =
            QStringLiteral("vermeo-cli : Impossible d'ouvrir « coupe-%1 » : fichier tronqué.\n").arg(m.name);
        const test::CliRun info = test::quietCli({QStringLiteral("info"), half});
        EXPECT_EQ(info.code, 1) << m.name.toStdString();
        EXPECT_EQ(info.err, expected) << info.err.toStdString();
        EXPECT_TRUE(info.out.isEmpty()) << info.out.toStdString();
        const QString out = dir.filePath(QStringLiteral("sortie.bmp"));
        const test::CliRun convert = test::quietCli({QStringLiteral("convert"), half, out});
        EXPECT_EQ(convert.code, 1) << m.name.toStdString();
        EXPECT_EQ(convert.err, expected) << convert.err.toStdString();
        EXPECT_FALSE(QFile::exists(out)) << m.name.toStdString();
        // The batch: the whole file is converted, the cut one is reported and not counted.
        const QString dest = dir.filePath(QStringLiteral("lot-") + m.name);
        QDir().mkpath(dest);
        const test::CliRun batch =
            test::quietCli({QStringLiteral("conversions"), QStringLiteral("Bmp"), dest, m.whole, half});
        EXPECT_EQ(batch.code, 1) << m.name.toStdString();
        EXPECT_EQ(batch.out, QStringLiteral("1 fichiers convertis\n")) << batch.out.toStdString();
        EXPECT_TRUE(batch.err.contains(QStringLiteral("fichier tronqué"))) << batch.err.toStdString();
        EXPECT_EQ(QDir(dest).entryList(QDir::Files).size(), 1) << m.name.toStdString();
    }
}

TEST(CliDamagedFiles, AnEmptyFileIsTheSameMessageInEveryFormat)
{
    QTemporaryDir dir;
    for (const char *ext :
         {"bmp", "jpg", "jpeg", "gif", "pcx", "wmf", "emf", "png", "ico", "tif", "webp", "heic", "avif"}) {
        const QString name = QStringLiteral("vide.%1").arg(QLatin1String(ext));
        test::writeFile(dir.filePath(name), {});
        for (const char *command : {"info", "convert"}) {
            QStringList args = {QLatin1String(command), dir.filePath(name)};
            if (QLatin1String(command) == QLatin1String("convert"))
                args << dir.filePath(QStringLiteral("sortie.png"));
            const test::CliRun r = test::quietCli(args);
            EXPECT_EQ(r.code, 1) << ext;
            EXPECT_EQ(r.err, QStringLiteral("vermeo-cli : Impossible d'ouvrir « %1 » : fichier vide.\n").arg(name))
                << command << " " << r.err.toStdString();
        }
    }
}

namespace {
// A 70 KB JPEG that declares 16000 x 16000: a real 8 x 8 file whose size fields are
// raised and whose data are padded with comment blocks.
QByteArray hugeDeclaredJpeg(const QByteArray &small)
{
    QByteArray f = small;
    const qsizetype sof = f.indexOf(QByteArrayView("\xFF\xC0", 2));
    EXPECT_GT(sof, 0);
    qToBigEndian<quint16>(16000, f.data() + sof + 5);
    qToBigEndian<quint16>(16000, f.data() + sof + 7);
    QByteArray comments;
    for (int i = 0; i < 1100; ++i)
        comments += QByteArray("\xFF\xFE\x00\x40", 4) + QByteArray(62, 'x');
    f.insert(2, comments);
    return f;
}

// A progressive file whose last scan is played again 600 times before its end.
QByteArray manyScansJpeg(const QByteArray &progressive)
{
    const qsizetype last = progressive.lastIndexOf(QByteArrayView("\xFF\xDA", 2));
    const qsizetype end = progressive.lastIndexOf(QByteArrayView("\xFF\xD9", 2));
    EXPECT_GT(end, last);
    const QByteArray scan = progressive.mid(last, end - last);
    QByteArray f = progressive.left(end);
    for (int i = 0; i < 600; ++i)
        f += scan;
    return f + QByteArray("\xFF\xD9", 2);
}
} // namespace

TEST(CliDamagedFiles, HostileJpegsAreRefusedBeforeTheirPictureIsMade)
{
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("petit.ppm"));
    test::writeFile(source, ppm());
    const QString base = dir.filePath(QStringLiteral("base.jpg")), prog = dir.filePath(QStringLiteral("prog.jpg"));
    ASSERT_TRUE(encodeWith(QStringLiteral("cjpeg"), {}, source, base));
    ASSERT_TRUE(encodeWith(QStringLiteral("cjpeg"), {QStringLiteral("-progressive")}, source, prog));
    const struct {
        const char *name;
        QByteArray bytes;
        const char *reason;
    } hostile[] = {
        {"geant.jpg", hugeDeclaredJpeg(test::readFile(base)), "fichier JPEG illisible (taille 16000 x 16000)"},
        {"passes.jpg", manyScansJpeg(test::readFile(prog)), "fichier JPEG illisible (plus de 500 passes progressives)"},
    };
    for (const auto &h : hostile) {
        const QString path = dir.filePath(QLatin1String(h.name));
        test::writeFile(path, h.bytes);
        for (const char *command : {"info", "convert"}) {
            QStringList args = {QLatin1String(command), path};
            if (QLatin1String(command) == QLatin1String("convert"))
                args << dir.filePath(QStringLiteral("sortie.bmp"));
            const test::CliRun r = test::quietCli(args);
            EXPECT_EQ(r.code, 1) << h.name;
            EXPECT_EQ(r.err, QStringLiteral("vermeo-cli : Impossible d'ouvrir « %1 » : %2.\n")
                                 .arg(QLatin1String(h.name), QString::fromUtf8(h.reason)))
                << command << " " << r.err.toStdString();
        }
    }
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("sortie.bmp"))));
}

TEST(CliDamagedFiles, HostileMetafilesOpenInTimeLinearInTheirSize)
{
    QTemporaryDir dir;
    // 130,000 pens created and never deleted: the table fills, and each creation after
    // that costs nothing. 40,000 rectangles over the whole 2000 x 2000 picture would
    // take minutes to paint; the file's budget stops them.
    auto wmf = [](int w, int h, const std::function<void(QByteArray &)> &records) {
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
        u16(w);
        u16(h);
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
        records(f);
        u32(3);
        u16(0);
        return f;
    };
    const QByteArray pens = wmf(200, 100, [](QByteArray &f) {
        const QByteArray pen = QByteArray::fromHex("08000000fa02"
                                                   "0000"
                                                   "0100"
                                                   "0000"
                                                   "ff000000");
        for (int i = 0; i < 130000; ++i)
            f += pen;
    });
    const QByteArray rects = wmf(2000, 2000, [](QByteArray &f) {
        const QByteArray brush = QByteArray::fromHex("07000000fc02"
                                                     "0000"
                                                     "ff000000"
                                                     "0000");
        const QByteArray select = QByteArray::fromHex("040000002d01"
                                                      "0000");
        const QByteArray rect = QByteArray::fromHex("070000001b04"
                                                    "d007"
                                                    "d007"
                                                    "0000"
                                                    "0000");
        f += brush + select;
        for (int i = 0; i < 40000; ++i)
            f += rect;
    });
    ASSERT_GT(pens.size(), 2'000'000);
    for (const auto &[name, bytes] : {std::pair{"plumes.wmf", pens}, std::pair{"rectangles.wmf", rects}}) {
        const QString path = dir.filePath(QLatin1String(name));
        test::writeFile(path, bytes);
        const QString out = dir.filePath(QStringLiteral("sortie.bmp"));
        const test::CliRun r = test::quietCli({QStringLiteral("convert"), path, out}, 60000);
        ASSERT_EQ(r.code, 0) << name << " " << r.err.toStdString();
        const Picture pic = readPictureFile(out);
        if (QLatin1String(name) == QLatin1String("rectangles.wmf")) {
            // The first rectangles were painted in the brush's red.
            EXPECT_EQ(pic.image.pixel(1000, 1000), qRgb(255, 0, 0));
        } else {
            EXPECT_EQ(pic.image.size(), QSize(200, 100));
        }
    }
}
