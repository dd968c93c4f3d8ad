// The commands end to end on a document, with their dialogs answered by script.
#include "ApplyFrame.h"
#include "ChannelDialogs.h"
#include "ColourCommands.h"
#include "DialogRunner.h"
#include "Error.h"
#include "RecordingHost.h"
#include "THisto.h"
#include "TOmbre.h"
#include "ToneDialogs.h"

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <gtest/gtest.h>

using namespace vermeo;
using namespace vermeo::colour;
using namespace vermeo::test;

namespace {
// Sets SpinEdit1 (found by name) and presses the named button.
std::function<void(QDialog &)> spinAndPress(int value, const char *button)
{
    return [value, button](QDialog &d) {
        d.findChild<QSpinBox *>(QStringLiteral("SpinEdit1"))->setValue(value);
        d.findChild<QPushButton *>(QLatin1String(button))->click();
    };
}
} // namespace

TEST(ColourCommand, BrightnessAppliedThroughTheFrame)
{
    ImageDocument doc;
    const QImage before = test::varied(3, 4);
    loadPicture(doc, before);
    doc.setDeclaredDepth(8, {qRgb(0, 0, 0)});
    doc.canvas().setPenColour(ComposeCouleur(1, 2, 3));
    RecordingHost host;
    ScriptedDialogs script;
    script.onDialog = spinAndPress(100, "Button2");
    Luminosite(doc, host);
    ASSERT_EQ(script.dialogs, std::vector<QString>{QStringLiteral("Réglage de la luminosité")});
    EXPECT_EQ(at(doc.image(), 1, 1), clWhite);
    EXPECT_EQ(doc.undoRecord().restored(doc.picture()).image, before);
    EXPECT_TRUE(doc.modified());
    EXPECT_EQ(doc.picture().depth, 24);
    EXPECT_EQ(doc.canvas().penColour(), ComposeCouleur(1, 2, 3));
    EXPECT_EQ(host.progressRecorder.positions, (std::vector<int>{0, 33, 66}));
    EXPECT_EQ(host.progressRecorder.begins, 1);
    EXPECT_EQ(host.progressRecorder.ends, 1);
}

TEST(ColourCommand, CancelCloseAndZeroChangeNothing)
{
    const std::function<void(QDialog &)> answers[] = {
        spinAndPress(50, "Button1"),                                                            // "Annuler"
        [](QDialog &d) { d.findChild<QSpinBox *>(QStringLiteral("SpinEdit1"))->setValue(50); }, // closed
        spinAndPress(0, "Button2"),                                                             // "OK" with 0
    };
    using Command = void (*)(ImageDocument &, DocumentHost &);
    const Command commands[] = {Luminosite, Clarte, Contraste, Saturation, Teinte, Solariser};
    for (Command command : commands) {
        for (const auto &answer : answers) {
            ImageDocument doc;
            loadPicture(doc, test::varied(5, 5));
            doc.SauveUndo();
            const QImage undo = doc.undoRecord().restored(doc.picture()).image, picture = doc.image();
            RecordingHost host;
            ScriptedDialogs script;
            script.onDialog = answer;
            command(doc, host);
            EXPECT_EQ(doc.undoRecord().restored(doc.picture()).image, undo);
            EXPECT_EQ(doc.image(), picture);
            EXPECT_FALSE(doc.modified());
            EXPECT_TRUE(host.progressRecorder.positions.empty());
        }
    }
}

TEST(ColourCommand, OnePixelWideStaysAtZero)
{
    ImageDocument doc;
    loadPicture(doc, test::filled(1, 9, ComposeCouleur(200, 100, 0)));
    RecordingHost host;
    ScriptedDialogs script;
    script.onDialog = spinAndPress(-100, "Button2");
    Saturation(doc, host);
    EXPECT_EQ(host.progressRecorder.positions, std::vector<int>{0});
    EXPECT_EQ(at(doc.image(), 0, 8), ComposeCouleur(100, 100, 100));
}

TEST(ColourCommand, ClarityAppliesWhatThePreviewShowed)
{
    ImageDocument doc;
    loadPicture(doc, test::filled(132, 99, ComposeCouleur(50, 50, 50)));
    RecordingHost host;
    ScriptedDialogs script;
    TColour previewed = 0;
    script.onDialog = [&](QDialog &d) {
        auto &c = static_cast<TClart &>(d);
        c.SpinEdit1->setValue(100);
        c.Button3->click();
        previewed = at(c.shownPreview(), 0, 0);
        c.Button2->click();
    };
    Clarte(doc, host);
    EXPECT_EQ(previewed, ComposeCouleur(177, 177, 177));
    EXPECT_EQ(at(doc.image(), 0, 0), previewed);
}

TEST(ColourCommand, TintUsesTheDominantChannelOfThePreview)
{
    QImage img = test::filled(40, 40, ComposeCouleur(200, 100, 50));
    img.setPixel(0, 0, toQRgb(ComposeCouleur(50, 100, 200)));
    ImageDocument doc;
    loadPicture(doc, img);
    RecordingHost host;
    ScriptedDialogs script;
    script.onDialog = spinAndPress(20, "Button2"); // P = 51
    Teinte(doc, host);
    EXPECT_EQ(TTeint::dominantCode(), 3);
    EXPECT_EQ(at(doc.image(), 5, 5), ComposeCouleur(251, 100, 50));
    EXPECT_EQ(at(doc.image(), 0, 0), ComposeCouleur(50, 100, 200));
}

TEST(ColourCommand, BalanceWithZerosStillRecordsUndoAndModified)
{
    ImageDocument doc;
    const QImage before = test::varied(6, 6);
    loadPicture(doc, before);
    RecordingHost host;
    ScriptedDialogs script;
    script.onDialog = [](QDialog &d) { static_cast<TBalCoul &>(d).Button2->click(); };
    Balance(doc, host);
    EXPECT_EQ(doc.image(), before);
    EXPECT_EQ(doc.undoRecord().restored(doc.picture()).image, before);
    EXPECT_TRUE(doc.modified());
}

TEST(ColourCommand, PermuteReplaceAndGrey)
{
    ImageDocument doc;
    loadPicture(doc, test::filled(4, 4, ComposeCouleur(10, 20, 30)));
    RecordingHost host;
    ScriptedDialogs script;
    script.onDialog = [](QDialog &d) {
        auto &p = static_cast<TPermut &>(d);
        p.RadioButton[4]->setChecked(true); // "VBR"
        p.Button2->click();
    };
    Permuter(doc, host);
    EXPECT_EQ(at(doc.image(), 2, 2), ComposeCouleur(20, 30, 10));

    doc.setModified(false);
    doc.canvas().setBrushColour(ComposeCouleur(20, 30, 10));
    doc.canvas().setPenColour(ComposeCouleur(1, 2, 3));
    int replaced = 0;
    doc.onReplaced = [&] { ++replaced; };
    script.onDialog = [](QDialog &d) { static_cast<TRCouleur &>(d).Button2->click(); };
    Remplacer(doc, host);
    EXPECT_EQ(at(doc.image(), 3, 3), ComposeCouleur(1, 2, 3));
    EXPECT_EQ(replaced, 1);
    EXPECT_TRUE(doc.modified());

    Gris(doc, host);
    EXPECT_EQ(at(doc.image(), 0, 0), ComposeCouleur(2, 2, 2));
}

TEST(ColourCommand, InverseFitsTheWindowAndKeepsStyles)
{
    ImageDocument doc;
    loadPicture(doc, test::filled(3, 3, ComposeCouleur(0, 100, 255)));
    doc.canvas().setPenWidth(7);
    RecordingHost host;
    Inverse(doc, host);
    EXPECT_EQ(at(doc.image(), 1, 1), ComposeCouleur(255, 155, 0));
    EXPECT_EQ(host.fits, 1);
    EXPECT_EQ(doc.canvas().penWidth(), 7);
    EXPECT_TRUE(host.progressRecorder.positions.empty());
    EXPECT_TRUE(doc.modified());
    Monochrome(doc, host);
    EXPECT_EQ(doc.picture().depth, 1);
    EXPECT_EQ(at(doc.image(), 0, 0), clWhite); // (255 + 155 + 0) div 3 = 136
}

TEST(ColourCommand, SeparationEditsOnlyThePenSwatch)
{
    ImageDocument doc;
    loadPicture(doc, test::filled(3, 3, clWhite));
    doc.canvas().setPenColour(ComposeCouleur(200, 0, 0));
    RecordingHost host;
    ScriptedDialogs script;
    script.onDialog = [](QDialog &d) {
        auto &r = static_cast<TRvb &>(d);
        r.TrackBar3->setValue(50); // green 255
        r.Button1->click();
    };
    Separation(doc, host);
    EXPECT_EQ(host.fore, ComposeCouleur(200, 0, 0));
    script.onDialog = [](QDialog &d) {
        auto &r = static_cast<TRvb &>(d);
        r.TrackBar3->setValue(50);
        r.Button2->click();
    };
    Separation(doc, host);
    EXPECT_EQ(host.fore, ComposeCouleur(198, 255, 0));
    EXPECT_FALSE(doc.modified());
}

TEST(ColourCommand, HistogramOfOneColourAndItsChart)
{
    ImageDocument doc;
    loadPicture(doc, test::filled(300, 200, ComposeCouleur(255, 100, 7)));
    RecordingHost host;
    ScriptedDialogs script;
    QStringList captions;
    QImage full, blueOnly, restored;
    script.onDialog = [&](QDialog &d) {
        auto &h = static_cast<THisto &>(d);
        captions = {h.CheckBox1->text(), h.CheckBox2->text(), h.CheckBox3->text()};
        full = h.chart();
        h.CheckBox2->click();
        h.CheckBox1->click();
        blueOnly = h.chart();
        h.CheckBox2->click();
        h.CheckBox1->click();
        restored = h.chart();
    };
    Histogramme(doc, host);
    EXPECT_EQ(captions, (QStringList{"Rouges (1)", "Verts (1)", "Bleus (1)"}));
    // Red level 255: last bin, x = 11 * 31 + 34 = 375, 150 high from y = 200.
    EXPECT_EQ(full.pixel(375, 200), qRgb(255, 0, 0));
    EXPECT_EQ(full.pixel(375, 51), qRgb(255, 0, 0));
    EXPECT_EQ(full.pixel(375, 50), qRgb(255, 255, 255));
    EXPECT_EQ(full.pixel(11 * 12 + 38, 120), qRgb(0, 128, 0));
    EXPECT_EQ(full.pixel(42, 120), qRgb(0, 0, 255));
    EXPECT_EQ(blueOnly.pixel(375, 120), qRgb(255, 255, 255));
    EXPECT_EQ(blueOnly.pixel(42, 120), qRgb(0, 0, 255));
    EXPECT_EQ(restored, full);
    EXPECT_EQ(host.progressRecorder.positions.size(), 160u);
    EXPECT_EQ(host.progressRecorder.positions.back(), 159 * 100 / 160);
    EXPECT_FALSE(doc.modified());
}

TEST(ColourCommand, CountReportsInTheExactWords)
{
    ImageDocument doc;
    QImage img = test::filled(8, 8, clBlack);
    img.setPixel(7, 7, qRgb(255, 255, 255));
    loadPicture(doc, img);
    doc.setDeclaredDepth(1, {qRgb(0, 0, 0), qRgb(255, 255, 255)});
    RecordingHost host;
    ScriptedDialogs script;
    Compter(doc, host);
    EXPECT_EQ(script.asked, std::vector<QString>{QStringLiteral("Le nombre de couleurs distinctes est de 2")});
    EXPECT_EQ(doc.picture().depth, 24);
    EXPECT_FALSE(doc.modified());
}

TEST(ColourCommand, ShadowThroughItsDialog)
{
    QImage img = test::filled(6, 2, clWhite);
    img.setPixel(3, 1, toQRgb(clBlack));
    ImageDocument doc;
    loadPicture(doc, img);
    RecordingHost host;
    ScriptedDialogs script;
    script.onDialog = [](QDialog &d) {
        auto &o = static_cast<TOmbre &>(d);
        o.SpinEdit1->setValue(3);
        o.Button2->click();
    };
    Ombrer(doc, host);
    EXPECT_EQ(at(doc.image(), 0, 1), clBlack);
    EXPECT_EQ(at(doc.image(), 2, 1), clBlack);
    EXPECT_EQ(at(doc.image(), 4, 1), clWhite);
    EXPECT_EQ(at(doc.image(), 0, 0), clWhite);
    EXPECT_TRUE(doc.modified());
}

TEST(ColourCommand, GradientsFromThePenSwatch)
{
    ImageDocument doc;
    loadPicture(doc, test::filled(101, 101, clWhite));
    RecordingHost host;
    host.fore = clBlack;
    QRect repainted;
    doc.onChanged = [&](const QRegion &r) { repainted = r.boundingRect(); };
    Degrade(doc, host, 1);
    EXPECT_EQ(at(doc.image(), 10, 4), ComposeCouleur(10, 0, 0));
    EXPECT_EQ(at(doc.image(), 100, 4), clWhite);
    EXPECT_EQ(repainted, QRect(0, 0, 100, 100));
    EXPECT_EQ(doc.undoRecord().restored(doc.picture()).image.pixel(10, 4), qRgb(255, 255, 255));
    EXPECT_TRUE(doc.modified());
    Degrade2(doc, host, 1);
    EXPECT_EQ(at(doc.image(), 4, 10), ComposeCouleur(10, 0, 0));
    EXPECT_EQ(doc.canvas().penColour(), ComposeCouleur(245, 0, 0));
    const QImage now = doc.image();
    EXPECT_THROW(Degrade(doc, host, 3), VermeoError);
    EXPECT_EQ(doc.image(), now);
}

// Each spin of "Balance des couleurs" moves its own channel: R, V, B from left to right.
TEST(ColourCommand, BalanceMovesEachChannelByItsOwnSpin)
{
    ImageDocument doc;
    loadPicture(doc, filled(5, 4, ComposeCouleur(100, 100, 100)));
    RecordingHost host;
    ScriptedDialogs script;
    script.onDialog = [](QDialog &d) {
        auto &b = static_cast<TBalCoul &>(d);
        b.SpinEdit1->setValue(20);  // R: +51
        b.SpinEdit2->setValue(40);  // V: +102
        b.SpinEdit3->setValue(-60); // B: -153
        b.Button2->click();
    };
    Balance(doc, host);
    EXPECT_EQ(at(doc.image(), 2, 2), ComposeCouleur(151, 202, 0));
}

// A command whose work fails leaves everything as it was, the undo record too: "Annuler"
// still takes back the change before it.
TEST(ColourCommand, AFailingPassLeavesPictureAndUndoAsTheyWere)
{
    ImageDocument doc;
    const QImage original = varied(20, 10);
    loadPicture(doc, original);
    doc.SauveUndo();
    doc.canvas().SetPixel(3, 3, clRed);
    doc.Modif();
    const QImage drawn = doc.image().copy();
    RecordingHost host;
    EXPECT_THROW(applyFrame(doc, host,
                            [](const QImage &, Progress &) -> QImage {
                                throw VermeoError(QStringLiteral("Mémoire insuffisante."));
                            }),
                 VermeoError);
    EXPECT_EQ(doc.image(), drawn);
    EXPECT_EQ(host.progressRecorder.begins, host.progressRecorder.ends);
    doc.Annule();
    EXPECT_EQ(doc.image(), original);
}
