// The fuzzing seeds and every input a fuzzer found, run through their decoder: each
// must open or be refused with a message, never crash.
#include "Error.h"
#include "FormatTestUtil.h"
#include "PictureFiles.h"

#include <QDirIterator>

using namespace vermeo;
using namespace vermeo::formats;

TEST(FuzzRegression, EveryKeptInputOpensOrIsRefused)
{
    int files = 0, opened = 0;
    QDirIterator it(QStringLiteral(VERMEO_TEST_DATA "/fuzz"), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString name = it.next();
        const QString kind = QFileInfo(QFileInfo(name).path()).fileName();
        const QByteArray bytes = test::readFile(name);
        try {
            const Picture p = decodeAs(FileKind::General, bytes, QStringLiteral("x.") + kind);
            EXPECT_FALSE(p.isNull()) << name.toStdString();
            ++opened;
        } catch (const VermeoError &e) {
            EXPECT_FALSE(e.message().isEmpty());
        }
        // As "Ouvrir" reads it, a truncated file as far as it goes.
        try {
            bool truncated = false;
            EXPECT_FALSE(decodeAs(FileKind::General, bytes, QStringLiteral("x.") + kind, &truncated).isNull());
        } catch (const VermeoError &e) {
            EXPECT_FALSE(e.message().isEmpty());
        }
        ++files;
    }
    EXPECT_GE(files, 20);
    EXPECT_GE(opened, 20); // the seeds themselves are valid files
}

TEST(FuzzRegression, DamagedBandReadFilesOpenOrAreRefused)
{
    // Valid files of every layout the band readers take, with bytes changed at random.
    const QString data = QStringLiteral(VERMEO_TEST_DATA "/formats/pcx/");
    QList<QPair<QString, QByteArray>> seeds = {
        {QStringLiteral("x.pcx"), test::readFile(data + QStringLiteral("netpbm-planes4.pcx"))},
        {QStringLiteral("x.pcx"), test::readFile(data + QStringLiteral("netpbm-packed2.pcx"))},
        {QStringLiteral("x.pcx"), test::readFile(data + QStringLiteral("imagemagick-rgba.pcx"))},
        {QStringLiteral("x.pcx"), encodeAs(FileKind::Pcx, test::palettePicture(33, 7, 8))},
        {QStringLiteral("x.bmp"), encodeAs(FileKind::Bmp, test::palettePicture(33, 7, 4))},
        {QStringLiteral("x.bmp"), encodeAs(FileKind::Bmp, test::truecolourPicture(33, 7))},
    };
    quint32 seed = 12345;
    auto next = [&seed] { return seed = seed * 1103515245u + 12345u; };
    int refused = 0;
    for (const auto &[name, bytes] : seeds) {
        ASSERT_FALSE(bytes.isEmpty()) << name.toStdString();
        for (int i = 0; i < 400; ++i) {
            QByteArray b = bytes;
            for (int k = int(next() % 4); k >= 0; --k)
                b[int(next() % quint32(b.size()))] = char(next() >> 16);
            if (next() % 5 == 0)
                b.truncate(int(next() % quint32(b.size())));
            try {
                decodeAs(FileKind::General, b, name);
            } catch (const VermeoError &) {
                ++refused;
            }
        }
    }
    EXPECT_GT(refused, 0);
}
