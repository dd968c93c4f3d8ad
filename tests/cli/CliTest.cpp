// vermeo-cli apply / count as a whole process: same kernels, same bits.
#include "ChannelKernels.h"
#include "CliRun.h"
#include "RecordingHost.h"
#include "ShadowGradient.h"
#include "ToneKernels.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vermeo;
using namespace vermeo::colour;

namespace {
test::CliRun cli(const QStringList &args) { return test::quietCli(args); }

class CliColour : public test::CliFolder {
protected:
    void SetUp() override
    {
        CliFolder::SetUp();
        writeInput(source);
    }
    QImage source = test::varied(70, 40);
};
} // namespace

TEST_F(CliColour, ApplyGivesTheKernelResult)
{
    struct Case {
        QStringList values;
        QImage expected;
    };
    Progress &q = silentProgress();
    const Case cases[] = {
        {{"luminosite", "-1"}, brightness(source, -2, q)},
        {{"clarte", "100"}, clarity(source, 255, q)},
        {{"contraste", "30"}, contrast(source, 76, q)},
        {{"saturation", "-100"}, saturation(source, -100, q)},
        {{"solariser", "100"}, solarise(source, 100, q)},
        {{"balance", "100", "0", "-50"}, balance(source, 255, 0, -127, q)},
        {{"permuter", "VBR"}, permute(source, 4, q)},
        {{"gris"}, greyscale(source, q)},
        {{"inverse"}, invert(source)},
        {{"ombrer", "3", "bas"}, shadow(source, 3, Bas, q)},
        {{"luminosite", "0"}, source},
    };
    for (const Case &c : cases) {
        const test::CliRun r = cli(QStringList{"apply"} + c.values + QStringList{in(), out()});
        ASSERT_EQ(r.code, 0) << c.values.join(' ').toStdString() << r.err.toStdString();
        EXPECT_EQ(result(), c.expected) << c.values.join(' ').toStdString();
    }
}

TEST_F(CliColour, ReplaceGradientAndMonochrome)
{
    QImage two = test::filled(60, 40, ComposeCouleur(0x12, 0x34, 0x56));
    ASSERT_TRUE(two.save(in(), "BMP"));
    ASSERT_EQ(cli({"apply", "remplacer", "#123456", "#FF0000", in(), out()}).code, 0);
    EXPECT_EQ(result().pixel(5, 5), qRgb(255, 0, 0));
    ASSERT_EQ(cli({"apply", "degrade", "1", "#000000", in(), out()}).code, 0);
    EXPECT_EQ(result().pixel(5, 0), qRgb(245, 0, 0)); // under 50 rows: the last band everywhere
    EXPECT_EQ(result().pixel(59, 0), qRgb(0x12, 0x34, 0x56));
    ASSERT_EQ(cli({"apply", "monochrome", in(), out()}).code, 0);
    EXPECT_EQ(QImage(out()).depth(), 1);
}

TEST_F(CliColour, CountPrintsTheNumber)
{
    QImage bw = test::filled(9, 9, clBlack);
    bw.setPixel(4, 4, qRgb(255, 255, 255));
    ASSERT_TRUE(bw.save(in(), "BMP"));
    const test::CliRun r = cli({"count", in()});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, QStringLiteral("2\n"));
}

TEST_F(CliColour, BadValuesFailWithOneFrenchLineAndNoFile)
{
    const QStringList bad[] = {
        {"apply", "luminosite", "101", in(), out()},
        {"apply", "luminosite", "abc", in(), out()},
        {"apply", "permuter", "RGB", in(), out()},
        {"apply", "ombrer", "0", "gauche", in(), out()},
        {"apply", "ombrer", "2", "nord", in(), out()},
        {"apply", "remplacer", "#12345", "#000000", in(), out()},
        {"apply", "degrade", "3", "#000000", in(), out()},
        {"apply", "gris", "5", in(), out()},
        {"apply", "flou", in(), out()},
        {"apply", "gris", dir.filePath("absent.bmp"), out()},
        {"count"},
    };
    for (const QStringList &args : bad) {
        const test::CliRun r = cli(args);
        EXPECT_EQ(r.code, 1) << args.join(' ').toStdString();
        EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
        EXPECT_TRUE(r.err.startsWith(QStringLiteral("vermeo-cli : "))) << r.err.toStdString();
        EXPECT_FALSE(QFile::exists(out())) << args.join(' ').toStdString();
    }
}
