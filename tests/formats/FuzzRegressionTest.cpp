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
        ++files;
    }
    EXPECT_GE(files, 20);
    EXPECT_GE(opened, 20); // the seeds themselves are valid files
}
