// The adjustment dialog protocol: coupling, previews from the reference, "Rétablir".
#include "ChannelDialogs.h"
#include "RecordingHost.h"
#include "TOmbre.h"
#include "ToneDialogs.h"
#include "ToneKernels.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <gtest/gtest.h>

using namespace vermeo;
using namespace vermeo::colour;
using vermeo::test::at;

TEST(AdjustDialog, ControlsCarryTheirNumberedNames)
{
    TLumin d;
    for (const char *name :
         {"TrackBar1", "SpinEdit1", "Button1", "Button2", "Button3", "Button4", "Image1", "Label1", "Label2"})
        EXPECT_NE(d.findChild<QWidget *>(QLatin1String(name)), nullptr) << name;
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Réglage de la luminosité"));
    EXPECT_EQ(d.Button3->text(), QStringLiteral("Aperçu"));
    EXPECT_EQ(d.Button4->text(), QStringLiteral("Rétablir"));
    EXPECT_EQ(d.Label2->text(), QStringLiteral("Luminosité en %"));
    EXPECT_EQ(d.size(), QSize(428, 219));
}

TEST(AdjustDialog, PercentageCouplingNeverLoops)
{
    TContrast d;
    d.Init(test::varied(40, 30));
    EXPECT_EQ(d.TrackBar1->value(), 25);
    EXPECT_EQ(d.SpinEdit1->value(), 0);
    d.SpinEdit1->setValue(40);
    EXPECT_EQ(d.TrackBar1->value(), 35);
    d.SpinEdit1->setValue(-7); // -7 div 4 = -1
    EXPECT_EQ(d.TrackBar1->value(), 24);
    d.TrackBar1->setValue(30);
    EXPECT_EQ(d.SpinEdit1->value(), 20);
    d.TrackBar1->setValue(0);
    EXPECT_EQ(d.SpinEdit1->value(), -100);
    EXPECT_EQ(d.TrackBar1->value(), 0);
}

TEST(AdjustDialog, SolarCouplingKeepsTheSliderWhereItWasPut)
{
    TSolar d;
    d.Init(test::varied(40, 30));
    EXPECT_EQ(d.TrackBar1->value(), 50);
    EXPECT_EQ(d.SpinEdit1->value(), 255);
    d.TrackBar1->setValue(1);
    EXPECT_EQ(d.SpinEdit1->value(), 5);
    EXPECT_EQ(d.TrackBar1->value(), 1);
    d.SpinEdit1->setValue(100);
    EXPECT_EQ(d.TrackBar1->value(), 19);
    d.Button4Click();
    EXPECT_EQ(d.TrackBar1->value(), 50);
    EXPECT_EQ(d.SpinEdit1->value(), 255);
}

TEST(AdjustDialog, PreviewsStartFromTheReferenceAndRetablirResets)
{
    TLumin d;
    d.Init(test::varied(200, 150));
    const QImage reference = d.referencePreview();
    ASSERT_EQ(reference.size(), QSize(132, 99));
    EXPECT_EQ(d.shownPreview(), reference);
    d.SpinEdit1->setValue(40);
    d.Button3Click();
    const QImage first = d.shownPreview();
    EXPECT_EQ(first, brightness(reference, 102, silentProgress()));
    d.Button3Click();
    EXPECT_EQ(d.shownPreview(), first); // never builds on the earlier preview
    d.SpinEdit1->setValue(-60);
    d.Button3Click();
    d.Button4Click();
    EXPECT_EQ(d.shownPreview(), reference);
    EXPECT_EQ(d.SpinEdit1->value(), 0);
    EXPECT_EQ(d.TrackBar1->value(), 25);
    d.SpinEdit1->setValue(40);
    d.Button3Click();
    EXPECT_EQ(d.shownPreview(), first);
    EXPECT_EQ(d.referencePreview(), reference);
}

TEST(AdjustDialog, EnterOnTheSliderPreviews)
{
    TSatur d;
    d.Init(test::varied(132, 99));
    d.SpinEdit1->setValue(-100);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(d.TrackBar1, &press);
    EXPECT_EQ(d.shownPreview(), saturation(d.referencePreview(), -100, silentProgress()));
}

TEST(AdjustDialog, ClarityPreviewShowsWhatTheCommandApplies)
{
    TClart d;
    d.Init(test::filled(10, 10, ComposeCouleur(50, 50, 50)));
    d.SpinEdit1->setValue(100);
    d.Button3Click();
    EXPECT_EQ(at(d.shownPreview(), 5, 5), ComposeCouleur(177, 177, 177));
}

TEST(AdjustDialog, ResultIsZeroUnlessAccepted)
{
    TLumin d;
    d.Init(test::varied(20, 20));
    d.show();
    d.SpinEdit1->setValue(-1);
    EXPECT_EQ(d.Result(), 0);
    d.Button2Click();
    EXPECT_EQ(d.Result(), -2);
    d.show(); // FormShow clears the flag
    EXPECT_EQ(d.Result(), 0);
}

TEST(ChannelDialogs, BalanceCouplesEachPairAndResetsAll)
{
    TBalCoul d;
    d.Init(test::varied(50, 50));
    d.SpinEdit2->setValue(100);
    d.TrackBar3->setValue(0);
    EXPECT_EQ(d.TrackBar2->value(), 50);
    EXPECT_EQ(d.SpinEdit3->value(), -100);
    EXPECT_EQ(d.TrackBar1->value(), 25);
    d.Button3Click();
    EXPECT_NE(d.shownPreview(), d.referencePreview());
    d.Button4Click();
    EXPECT_EQ(d.shownPreview(), d.referencePreview());
    for (QSpinBox *s : {d.SpinEdit1, d.SpinEdit2, d.SpinEdit3})
        EXPECT_EQ(s->value(), 0);
    for (QSlider *s : {d.TrackBar1, d.TrackBar2, d.TrackBar3})
        EXPECT_EQ(s->value(), 25);
}

TEST(ChannelDialogs, PermutationChoiceWaitsForApercu)
{
    TPermut d;
    d.Init(test::varied(50, 50));
    EXPECT_TRUE(d.RadioButton[1]->isChecked());
    EXPECT_EQ(d.RadioButton[4]->text(), QStringLiteral("VBR"));
    d.RadioButton[4]->setChecked(true);
    EXPECT_EQ(d.shownPreview(), d.referencePreview());
    d.Button3Click();
    EXPECT_NE(d.shownPreview(), d.referencePreview());
    d.Button4Click();
    EXPECT_TRUE(d.RadioButton[1]->isChecked());
}

TEST(ChannelDialogs, RgbComponentsGiveThePenColourBackWhenUnmoved)
{
    const TColour pen = ComposeCouleur(200, 17, 90);
    TRvb d;
    d.Init(pen);
    EXPECT_EQ(d.TrackBar1->value(), 39);
    EXPECT_EQ(d.TrackBar2->value(), 17); // blue 90
    EXPECT_EQ(d.TrackBar3->value(), 3);  // green 17
    d.show();
    d.Button2->click();
    TColour out = clBlack;
    d.Result(out);
    EXPECT_EQ(out, pen);
    TRvb moved;
    moved.Init(pen);
    moved.TrackBar1->setValue(40);
    EXPECT_EQ(moved.currentColour(), ComposeCouleur(204, 15, 86));
}

TEST(ShadowDialog, RetablirKeepsTheSide)
{
    TOmbre d;
    d.Init(test::filled(40, 30, clBlack));
    EXPECT_TRUE(d.RadioButton1->isChecked());
    d.SpinEdit1->setValue(4);
    d.RadioButton3->setChecked(true);
    d.Button3Click();
    d.Button4Click();
    EXPECT_EQ(d.SpinEdit1->value(), 1);
    EXPECT_TRUE(d.RadioButton3->isChecked());
    EXPECT_EQ(d.shownPreview(), d.referencePreview());
    int length = 7, side = 0;
    d.Result(length, side);
    EXPECT_EQ(length, 0);
    EXPECT_EQ(side, 0);
}
