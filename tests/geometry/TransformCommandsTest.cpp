// "Rééchantillonner", "Rotation" and "Incliner" on a document, through their dialogs.
#include "TransformCommands.h"
#include "DialogRunner.h"
#include "Error.h"
#include "RecordingHost.h"
#include "Resample.h"
#include "Rotate.h"
#include "Skew.h"
#include "TDeformer.h"
#include "TRedim.h"
#include "TRot.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace vermeo;
using namespace vermeo::geometry;
using namespace vermeo::test;

namespace {
// A change made without an undo step, to see which picture "Annuler" brings back.
void scribble(ImageDocument &doc)
{
    QImage img = doc.image().copy();
    img.setPixel(0, 0, qRgb(1, 2, 3));
    doc.replacePixels(img);
}

auto resampleTo(const char *w, const char *h)
{
    return [w, h](QDialog &d) {
        auto &r = static_cast<TRedim &>(d);
        r.CheckBox1->setChecked(false);
        r.Edit1->setText(QString::fromLatin1(w));
        r.Edit2->setText(QString::fromLatin1(h));
        r.Button2->click();
    };
}
} // namespace

TEST(TransformCommands, ResampleWithMitchellThroughTheSizeDialog)
{
    ImageDocument doc;
    RecordingHost host;
    ScriptedDialogs scripts;
    loadNoise(doc, 300, 200);
    const QImage before = doc.image().copy();
    scripts.onDialog = [](QDialog &d) {
        auto &r = static_cast<TRedim &>(d);
        EXPECT_EQ(r.windowTitle(), QStringLiteral("Redimensiooner"));
        EXPECT_TRUE(r.CheckBox1->isChecked());
        r.Edit1->setText(QStringLiteral("150"));
        r.Edit1Exit();
        r.Button2->click();
    };
    Rechantilloner(doc, host);
    ASSERT_EQ(doc.image().size(), QSize(150, 100));
    EXPECT_EQ(doc.image(), ResampleStretch(before, 150, 100, mitchellFilter(), 2.0f, silentProgress()));
    EXPECT_EQ(doc.picture().depth, 24);
    EXPECT_EQ(host.panel[1], QStringLiteral("150 x 100"));
    EXPECT_EQ(host.fits, 1);
    EXPECT_TRUE(doc.modified());
    EXPECT_GE(host.progressRecorder.begins, 1);
    EXPECT_FALSE(host.progressRecorder.active);
    doc.Annule();
    EXPECT_EQ(doc.image(), before);

    // One pixel wide or high: the filtered column or row, no division by zero.
    scripts.onDialog = resampleTo("1", "200");
    Rechantilloner(doc, host);
    EXPECT_EQ(doc.image(), ResampleStretch(before, 1, 200, mitchellFilter(), 2.0f, silentProgress()));
    doc.Annule();
    scripts.onDialog = resampleTo("300", "1");
    Rechantilloner(doc, host);
    EXPECT_EQ(doc.image().size(), QSize(300, 1));
    doc.Annule();

    // The undo copy is taken before the dialog: after a cancel, "Annuler" keeps the scribble.
    scribble(doc);
    const QImage scribbled = doc.image().copy();
    doc.setModified(false);
    scripts.onDialog = {};
    Rechantilloner(doc, host);
    EXPECT_EQ(doc.image(), scribbled);
    EXPECT_FALSE(doc.modified());
    doc.Annule();
    EXPECT_EQ(doc.image(), scribbled);

    // Sizes the picture cannot take are refused by the dialog, which says why.
    for (auto [w, h] : {std::pair{"90000", "90000"}, std::pair{"40", ""}}) {
        scripts.asked.clear();
        scripts.onDialog = resampleTo(w, h);
        Rechantilloner(doc, host);
        EXPECT_EQ(doc.image(), scribbled);
        EXPECT_EQ(scripts.asked.size(), 1u) << w << " x " << h;
    }
}

TEST(TransformCommands, QuarterTurnsAndOtherAnglesCanBeUndoneAndRefitTheWindow)
{
    ImageDocument doc;
    RecordingHost host;
    ScriptedDialogs scripts;
    loadNoise(doc, 200, 100);
    const QImage before = doc.image().copy();
    auto choose = [&](int button, int degrees) {
        scripts.onDialog = [button, degrees](QDialog &d) {
            auto &r = static_cast<TRot &>(d);
            EXPECT_EQ(r.windowTitle(), QStringLiteral("Rotation"));
            EXPECT_TRUE(r.RadioButton1->isChecked());
            QRadioButton *radios[] = {r.RadioButton1, r.RadioButton2, r.RadioButton3, r.RadioButton4};
            radios[button - 1]->click();
            r.SpinEdit1->setValue(degrees);
            r.Button2->click();
        };
        Rotation(doc, host);
    };
    choose(1, 0);
    ASSERT_EQ(doc.image().size(), QSize(100, 200));
    EXPECT_EQ(doc.image().pixel(0, 199), before.pixel(0, 0)); // top-left to bottom-left
    EXPECT_EQ(doc.image(), rotateImage(before, 0, 90, silentProgress()));
    EXPECT_EQ(host.panel[1], QStringLiteral("100 x 200"));
    doc.Annule();
    EXPECT_EQ(doc.image(), before);

    choose(2, 0);
    const QImage right = doc.image().copy();
    doc.Annule();
    choose(4, -90);
    EXPECT_EQ(doc.image(), right);
    doc.Annule();
    choose(3, 0);
    EXPECT_EQ(doc.image(), rotateImage(before, 0, 180, silentProgress()));
    doc.Annule();
    choose(4, 720);
    EXPECT_EQ(doc.image(), before);
    doc.Annule();

    // "Autre" 45 on 100 x 100: corners of pixel (1, 1)'s colour; undone like the others.
    loadNoise(doc, 100, 100, 3);
    const QImage square = doc.image().copy();
    const int fitsBefore = host.fits;
    doc.setModified(false);
    choose(4, 45);
    ASSERT_EQ(doc.image().size(), QSize(141, 141));
    EXPECT_EQ(doc.image().pixel(0, 0), square.pixel(1, 1));
    EXPECT_EQ(doc.image().pixel(140, 140), square.pixel(1, 1));
    EXPECT_EQ(host.fits, fitsBefore + 1);
    EXPECT_EQ(host.panel[1], QStringLiteral("141 x 141"));
    EXPECT_TRUE(doc.modified());
    doc.Annule();
    EXPECT_EQ(doc.image(), square);

    // Cancel: nothing changes and no undo step is taken.
    scribble(doc);
    const QImage scribbled = doc.image().copy();
    doc.setModified(false);
    scripts.onDialog = [](QDialog &d) { static_cast<TRot &>(d).Button1->click(); };
    Rotation(doc, host);
    EXPECT_EQ(doc.image(), scribbled);
    EXPECT_FALSE(doc.modified());
    doc.Annule();
    EXPECT_EQ(doc.image(), square);
}

TEST(TransformCommands, SkewFillsTheEmptyCornerWithTheWindowBrush)
{
    ImageDocument doc;
    RecordingHost host;
    ScriptedDialogs scripts;
    loadPicture(doc, filled(100, 50, ComposeCouleur(0, 0, 120)));
    const QImage before = doc.image().copy();
    doc.canvas().setBrushColour(clRed);
    doc.canvas().setBrushStyle(bsSolid);
    auto skewBy = [&](int angle, QToolButton *TDeformer::*button) {
        scripts.onDialog = [angle, button](QDialog &d) {
            auto &t = static_cast<TDeformer &>(d);
            EXPECT_EQ(t.windowTitle(), QStringLiteral("Déformations"));
            EXPECT_TRUE(t.SpeedButton1->isChecked());
            EXPECT_EQ(t.SpinEdit1->maximum(), 45);
            (t.*button)->click();
            t.SpinEdit1->setValue(angle);
            t.Button2->click();
        };
        Inclinaison(doc, host);
    };
    skewBy(45, &TDeformer::SpeedButton1);
    ASSERT_EQ(doc.image().size(), QSize(150, 50));
    EXPECT_EQ(at(doc.image(), 149, 0), clRed);  // the empty corner at the top right
    EXPECT_EQ(at(doc.image(), 0, 49), clWhite); // the other empty triangle stays white
    EXPECT_EQ(at(doc.image(), 0, 0), ComposeCouleur(0, 0, 120));
    EXPECT_EQ(host.panel[1], QStringLiteral("150 x 50"));
    EXPECT_TRUE(doc.modified());
    EXPECT_FALSE(host.progressRecorder.positions.empty());
    doc.Annule();
    EXPECT_EQ(doc.image(), before);

    skewBy(9, &TDeformer::SpeedButton4);
    ASSERT_EQ(doc.image().size(), QSize(100, 70));
    EXPECT_EQ(at(doc.image(), 99, 69), clRed); // "En bas": bottom right
    doc.Annule();

    // Angle 0 and cancel do nothing, with no undo step.
    scribble(doc);
    const QImage scribbled = doc.image().copy();
    doc.setModified(false);
    skewBy(0, &TDeformer::SpeedButton2);
    scripts.onDialog = {};
    Inclinaison(doc, host);
    EXPECT_EQ(doc.image(), scribbled);
    EXPECT_FALSE(doc.modified());
    doc.Annule();
    EXPECT_EQ(doc.image(), before);
}
