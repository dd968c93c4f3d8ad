// vermeo-cli's geometry operations as a whole process, next to the program's commands
// on the same picture: the same bits.
#include "CliRun.h"
#include "CombineCommands.h"
#include "DialogRunner.h"
#include "FractalDrawing.h"
#include "PictureFiles.h"
#include "RecordingHost.h"
#include "Resample.h"
#include "Rotate.h"
#include "TDeformer.h"
#include "TFract.h"
#include "TFusion.h"
#include "TRedim.h"
#include "TRot.h"
#include "TransformCommands.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QToolButton>
#include <cstring>
#include <gtest/gtest.h>

using namespace vermeo;
using namespace vermeo::geometry;
using namespace vermeo::test;

namespace {
// The fractals take their time in a debug build.
CliRun slowCli(const QStringList &args) { return quietCli(args, 120000); }

class GeometryCli : public CliFolder {
protected:
    void SetUp() override
    {
        CliFolder::SetUp();
        writeInput(noise(83, 57, 12));
    }
    QImage result() const { return formats::readPictureFile(out()).image; }
    // The program's command on the input file, its dialog answered by script.
    QImage program(void (*command)(ImageDocument &, DocumentHost &), std::function<void(QDialog &)> script)
    {
        ImageDocument doc;
        RecordingHost host;
        ScriptedDialogs scripts;
        loadPicture(doc, formats::readPictureFile(in()).image);
        scripts.onDialog = std::move(script);
        scripts.onFile = [this](FileDialogRequest &) { return second; };
        command(doc, host);
        return doc.image();
    }
    // vermeo-cli apply with these values on the input file; its result read back.
    QImage apply(const QStringList &values)
    {
        QFile::remove(out());
        const CliRun r = slowCli(QStringList{QStringLiteral("apply")} + values + QStringList{in(), out()});
        EXPECT_EQ(r.code, 0) << values.join(' ').toStdString() << ": " << r.err.toStdString();
        return result();
    }
    QTemporaryDir dir;
    QString second;
};
} // namespace

TEST_F(GeometryCli, ResampleRotateAndSkewGiveTheProgramsBits)
{
    const QImage mine = program(Rechantilloner, [](QDialog &d) {
        auto &r = static_cast<TRedim &>(d);
        r.CheckBox1->setChecked(false);
        r.Edit1->setText(QStringLiteral("130"));
        r.Edit2->setText(QStringLiteral("41"));
        r.Button2->click();
    });
    EXPECT_EQ(apply({"rechantillonner", "130", "41"}), mine);
    // The other kernels by name, the option anywhere after the name.
    const QImage source = formats::readPictureFile(in()).image;
    for (const ResampleFilter &f : resampleFilters()) {
        const QImage expected = ResampleStretch(source, 40, 90, f, f.support, silentProgress());
        EXPECT_EQ(apply({"rechantillonner", "--filtre", f.name, "40", "90"}), expected) << f.name;
    }

    const char *turns[] = {"gauche", "droite", "180", "45", "-30"};
    for (int i = 0; i < 5; ++i) {
        const QImage turned = program(Rotation, [i](QDialog &d) {
            auto &r = static_cast<TRot &>(d);
            QRadioButton *radios[] = {r.RadioButton1, r.RadioButton2, r.RadioButton3, r.RadioButton4};
            radios[std::min(i, 3)]->click();
            r.SpinEdit1->setValue(i == 3 ? 45 : -30);
            r.Button2->click();
        });
        EXPECT_EQ(apply({"rotation", turns[i]}), turned) << turns[i];
    }

    const char *sides[] = {"gauche", "droite", "haut", "bas"};
    for (int i = 0; i < 4; ++i) {
        const QImage skewed = program(Inclinaison, [i](QDialog &d) {
            auto &t = static_cast<TDeformer &>(d);
            QToolButton *buttons[] = {t.SpeedButton1, t.SpeedButton2, t.SpeedButton3, t.SpeedButton4};
            buttons[i]->click();
            t.SpinEdit1->setValue(17);
            t.Button2->click();
        });
        EXPECT_EQ(apply({"inclinaison", "17", sides[i]}), skewed) << sides[i];
    }
    EXPECT_EQ(apply({"inclinaison", "0", "bas"}), source);
}

TEST_F(GeometryCli, TurnsAndResamplingGiveTheSameBitsToAFileWrittenInOnePiece)
{
    // A BMP is written straight from the made rows, a PNG from the whole result.
    writeInput(noise(301, 157, 4));
    const QString png = dir.filePath(QStringLiteral("out.png"));
    const QStringList operations[] = {{"rotation", "gauche"},
                                      {"rotation", "33"},
                                      {"rechantillonner", "150", "400"},
                                      {"filtre", "0", "-0,06", "0", "-0,06", "1,24", "-0,06", "0", "-0,06", "0"}};
    auto bothWays = [&] {
        for (const QStringList &op : operations) {
            const QImage bmp = apply(op);
            QFile::remove(png);
            const CliRun r = slowCli(QStringList{QStringLiteral("apply")} + op + QStringList{in(), png});
            ASSERT_EQ(r.code, 0) << r.err.toStdString();
            EXPECT_EQ(formats::readPictureFile(png).image, bmp) << op.join(' ').toStdString();
        }
    };
    bothWays();
    // A palette file read row by row (the resampling, the filter) gives what the whole
    // picture gives.
    formats::writePictureFile(palettePicture(211, 97, 8), in());
    bothWays();
    formats::writePictureFile(palettePicture(64, 300, 4), in());
    bothWays();
}

TEST_F(GeometryCli, MergeTileAndFractalsGiveTheProgramsBits)
{
    second = dir.filePath(QStringLiteral("second.bmp"));
    ASSERT_TRUE(noise(31, 77, 40).save(second, "BMP"));
    const char *names[] = {"and", "merge-paint", "not-src", "not-src-erase", "or", "xor"};
    for (int i = 0; i < 6; ++i) {
        const QImage merged = program(Fusionner, [i](QDialog &d) {
            auto &f = static_cast<TFusion &>(d);
            f.Button5->click();
            f.RadioButton[i]->click();
            f.Button2->click();
        });
        EXPECT_EQ(apply({"fusionner", QString::number(i + 1), second}), merged) << i + 1;
        EXPECT_EQ(apply({"fusionner", names[i], second}), merged) << names[i];
    }
    EXPECT_EQ(apply({"mosaique", second}), program(Mosaique, {}));

    // Each fractal drawn by the dialog's control, and by vermeo-cli at its size and seed.
    for (const FractalListEntry &e : fractalList()) {
        QImage drawn;
        ImageDocument doc;
        RecordingHost host;
        ScriptedDialogs scripts;
        loadNoise(doc, 50, 40);
        scripts.onDialog = [&](QDialog &d) {
            auto &t = static_cast<TFract &>(d);
            t.FractalImage1->seedSource = [] { return 4242u; };
            t.ListBox1->setCurrentRow(int(&e - fractalList().data()));
            t.Button1->click();
            drawn = t.FractalImage1->picture();
            t.Button3->click();
        };
        Fractales(doc, host);
        ASSERT_EQ(drawn.size(), QSize(217, 233));
        QFile::remove(out());
        const CliRun r = slowCli({"fractale", e.caption, "217", "233", out(), "--graine", "4242"});
        ASSERT_EQ(r.code, 0) << r.err.toStdString();
        EXPECT_EQ(result(), drawn) << e.caption;
    }
}

TEST_F(GeometryCli, FractaleOnAPictureGivesTheMenusBits)
{
    // The menu draws at its control's size and stretches into the picture; apply
    // fractale does the same, on a picture of any size.
    writeInput(noise(640, 480, 5));
    const QImage source = formats::readPictureFile(in()).image;
    for (const FractalListEntry &e : fractalList()) {
        const QImage mine = program(Fractales, [&](QDialog &d) {
            auto &t = static_cast<TFract &>(d);
            t.FractalImage1->seedSource = [] { return 77u; };
            t.ListBox1->setCurrentRow(int(&e - fractalList().data()));
            t.Button1->click();
            t.Button4->click();
        });
        ASSERT_EQ(mine.size(), QSize(640, 480));
        const QImage cli = apply({"fractale", e.caption, "--graine", "77"});
        EXPECT_EQ(cli, mine) << e.caption;
        // The last column and row are the picture's own.
        EXPECT_EQ(cli.copy(639, 0, 1, 480), source.copy(639, 0, 1, 480)) << e.caption;
        EXPECT_EQ(cli.copy(0, 479, 640, 1), source.copy(0, 479, 640, 1)) << e.caption;
        EXPECT_NE(cli.copy(0, 0, 639, 479), source.copy(0, 0, 639, 479)) << e.caption;
    }
    EXPECT_EQ(apply({"fractale", "MandelBrot", "--iterations", "40"}).size(), QSize(640, 480));
    const CliRun bad = slowCli({"apply", "fractale", "Dragon", in(), out()});
    EXPECT_EQ(bad.code, 1);
    EXPECT_TRUE(bad.err.contains(QStringLiteral("Fractale inconnue « Dragon »"))) << bad.err.toStdString();
}

TEST_F(GeometryCli, BadValuesGiveOneFrenchLineAndNoOutput)
{
    const QStringList bad[] = {
        {"apply", "rechantillonner", "0", "10"},
        {"apply", "rechantillonner", "10", "10", "--filtre", "Gauss"},
        {"apply", "rechantillonner", "10", "10", "--filtre"},
        {"apply", "rechantillonner", "70000", "10"},
        {"apply", "rotation", "nord"},
        {"apply", "inclinaison", "50", "gauche"},
        {"apply", "inclinaison", "10", "travers"},
        {"apply", "fusionner", "7", in()},
        {"apply", "fusionner", "xor", dir.filePath("absent.bmp")},
        {"apply", "mosaique", dir.filePath("absent.bmp")},
        {"fractale", "Dragon", "10", "10"},
        {"fractale", "Fern", "0", "10"},
        {"fractale", "Koch", "10", "10", "--graine", "-1"},
        {"fractale", "Moire", "10", "10", "--iterations", "x"},
    };
    for (QStringList args : bad) {
        QFile::remove(out());
        if (args[0] == QLatin1String("apply") && args.last() != QLatin1String("--filtre"))
            args << in() << out();
        else if (args[0] == QLatin1String("apply"))
            args.insert(args.size() - 1, in()), args.insert(args.size() - 1, out());
        else
            args.insert(4, out());
        const CliRun r = slowCli(args);
        EXPECT_EQ(r.code, 1) << args.join(' ').toStdString();
        EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
        EXPECT_TRUE(r.err.startsWith(QStringLiteral("vermeo-cli : "))) << r.err.toStdString();
        EXPECT_FALSE(QFile::exists(out())) << args.join(' ').toStdString();
    }
}

TEST_F(GeometryCli, TurnsOfEveryKindOfTrueColourFileGiveTheProgramsBitsAndACutFileIsRefused)
{
    // A 24-bit file as we write it, the same rows top-down, and 32 bits a pixel with the
    // unused byte set: each turned as the program turns the picture it reads.
    const Picture p = Picture::fromImage(noise(97, 61, 23));
    formats::writePictureFile(p, in());
    QFile f(in());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bottomUp = f.readAll();
    f.close();
    const qsizetype row = (97 * 3 + 3) / 4 * 4;
    QByteArray topDown = bottomUp.left(54), wide = bottomUp.left(54);
    const qint32 negative = -61;
    std::memcpy(topDown.data() + 22, &negative, 4);
    wide[28] = 32;
    for (int r = 0; r < 61; ++r) {
        topDown += bottomUp.mid(54 + (60 - r) * row, row);
        for (int x = 0; x < 97; ++x)
            wide += bottomUp.mid(54 + r * row + 3 * x, 3) + char(r + x);
    }
    for (const QByteArray *file : {&bottomUp, static_cast<const QByteArray *>(&topDown),
                                   static_cast<const QByteArray *>(&wide)}) {
        QFile w(in());
        ASSERT_TRUE(w.open(QIODevice::WriteOnly | QIODevice::Truncate));
        w.write(*file);
        w.close();
        for (const char *angle : {"45", "-30", "133"}) {
            const QImage src = formats::readPictureFile(in()).image;
            const QImage expected = rotateImage(src, rotationBackground(src), QString::fromLatin1(angle).toDouble(),
                                                silentProgress());
            EXPECT_EQ(apply({"rotation", angle}), expected) << angle;
        }
    }

    // A file whose last rows are missing: the reader's message, the old result kept.
    const auto bytesOf = [](const QString &name) {
        QFile file(name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    const QByteArray old = bytesOf(out());
    ASSERT_FALSE(old.isEmpty());
    QFile w(in());
    ASSERT_TRUE(w.open(QIODevice::WriteOnly | QIODevice::Truncate));
    w.write(bottomUp.left(54 + 40 * row + 7));
    w.close();
    const CliRun r = slowCli({"apply", "rotation", "45", in(), out()});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, QStringLiteral("vermeo-cli : Impossible d'ouvrir « in.bmp » : fichier tronqué.\n"));
    EXPECT_EQ(bytesOf(out()), old);
}
