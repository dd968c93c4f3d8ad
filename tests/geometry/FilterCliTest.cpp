// vermeo-cli apply filtre / effet as whole processes give the program's pictures, bit
// for bit: the program here is the real dialog and command on a document.
#include "CliRun.h"
#include "DialogRunner.h"
#include "EffectTable.h"
#include "FilterCommands.h"
#include "ProgramRandom.h"
#include "RecordingHost.h"
#include "TEffets.h"
#include "TFiltre.h"

#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vermeo;
using namespace vermeo::geometry;
using test::CliRun;

namespace {

test::CliRun cli(const QStringList &args) { return test::quietCli(args); }

class CliFilters : public test::CliFolder {
protected:
    void SetUp() override
    {
        CliFolder::SetUp();
        writeInput(source);
    }
    void TearDown() override { ProgramRandom::pinClockSeed(std::nullopt); }
    QImage source = test::varied(70, 64);
};

} // namespace

TEST_F(CliFilters, EveryEffectAsTheDialogMakesItForTheSameSeed)
{
    ScriptedDialogs scripts;
    test::RecordingHost host;
    for (const EffectEntry &e : effectTable()) {
        ImageDocument doc;
        test::loadPicture(doc, source);
        ProgramRandom::seed(77);
        ProgramRandom::pinClockSeed(77);
        scripts.onDialog = [&e](QDialog &d) {
            auto &t = static_cast<TEffets &>(d);
            t.ListBox1->setCurrentRow(e.position);
            t.Button1Click();
            t.Button4Click();
        };
        Speciaux(doc, host);
        // Accents and case as a user may type them.
        const QString name = e.position % 2 ? effectKey(e) : e.name().toUpper();
        const CliRun r = cli({"apply", "effet", name, "--graine", "77", in(), out()});
        ASSERT_EQ(r.code, 0) << e.caption << " " << r.err.toStdString();
        EXPECT_EQ(result(), doc.image()) << e.caption;
    }
}

TEST_F(CliFilters, AFilterAsTypedInTheGrid)
{
    QLocale::setDefault(QLocale(QLocale::French));
    ScriptedDialogs scripts;
    test::RecordingHost host;
    ImageDocument doc;
    test::loadPicture(doc, source);
    const QStringList values = {"0", "-0.06", "0,1", "-0,06", "2", "-0.06", "0", "-.06", ",03"};
    scripts.onDialog = [&values](QDialog &d) {
        auto &f = static_cast<TFiltre &>(d);
        for (int i = 1; i <= 9; ++i)
            f.edit(i)->setText(values[i - 1]);
        f.Button2Click();
    };
    QTemporaryDir files;
    Filtres(doc, host, files.filePath(QStringLiteral("Vermeo.flt")));
    QLocale::setDefault(QLocale::system());
    const CliRun r = cli(QStringList{"apply", "filtre"} + values + QStringList{in(), out()});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(result(), doc.image());
    EXPECT_NE(result(), source);
}

TEST_F(CliFilters, BadValuesGiveOneFrenchLineAndNoFile)
{
    const QStringList bad[] = {
        {"apply", "filtre", "0", "0", "0", "0", "1", "0", "0", "0", "x", in(), out()},
        {"apply", "filtre", "0", "0", "0", "0", "1", "0", "0", "0", "1,2,3", in(), out()},
        {"apply", "filtre", "0", "0", "1", in(), out()},
        {"apply", "effet", "tourbillon", in(), out()},
        {"apply", "effet", "neige", "--graine", "-3", in(), out()},
        {"apply", "effet", "neige", in(), out(), "--graine"},
        {"apply", "effet", "neige", dir.filePath(QStringLiteral("absent.bmp")), out()},
    };
    for (const QStringList &args : bad) {
        const CliRun r = cli(args);
        EXPECT_EQ(r.code, 1) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.startsWith(QStringLiteral("vermeo-cli : "))) << r.err.toStdString();
        EXPECT_EQ(r.err.count(QLatin1Char('\n')), 1) << r.err.toStdString();
        EXPECT_FALSE(QFileInfo::exists(out())) << args.join(' ').toStdString();
    }
}
