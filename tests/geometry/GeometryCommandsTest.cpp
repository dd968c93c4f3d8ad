#include "GeometryCommands.h"
#include "Clipboard.h"
#include "DialogRunner.h"
#include "Error.h"
#include "GeometryKernels.h"
#include "RecordingHost.h"
#include "Selection.h"
#include "TCadre.h"
#include "TRedim.h"
#include "TSupport.h"
#include "Zoom.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QSpinBox>
#include <gtest/gtest.h>

using namespace vermeo;
using namespace vermeo::geometry;
using namespace vermeo::test;

namespace {
// A selection made by hand, as the mouse handlers leave it.
void select(ImageDocument &doc, QPoint press, QPoint release)
{
    doc.SelRect = QRect(press, release);
    doc.RectSelected = true;
}
} // namespace

TEST(GeometryCommands, ResizeThroughTheDialogSetsTheBaseSize)
{
    ImageDocument doc;
    RecordingHost host;
    ScriptedDialogs scripts;
    loadNoise(doc, 400, 300);
    const QImage before = doc.image().copy();
    scripts.onDialog = [](QDialog &d) {
        auto &r = static_cast<TRedim &>(d);
        EXPECT_EQ(r.Edit1->text(), QStringLiteral("400"));
        r.Edit1->setText(QStringLiteral("100"));
        r.Edit1Exit();
        r.Button2Click();
    };
    Redimensionne(doc, host);
    EXPECT_EQ(doc.image().size(), QSize(100, 75));
    EXPECT_EQ(host.panel[1], QStringLiteral("100 x 75"));
    EXPECT_EQ(doc.image(), stretchImage(before, 100, 75));
    EXPECT_TRUE(doc.modified());
    EXPECT_EQ(host.fits, 1);
    doc.Annule();
    EXPECT_EQ(doc.image(), before);

    // Absurd sizes are refused by the dialog, which says why, with the picture as it was.
    for (const char *width : {"90000", "12345678901"}) {
        scripts.onDialog = [width](QDialog &d) {
            auto &r = static_cast<TRedim &>(d);
            r.CheckBox1->setChecked(false);
            r.Edit1->setText(QString::fromLatin1(width));
            r.Edit2->setText(QStringLiteral("90"));
            r.Button2Click();
        };
        scripts.asked.clear();
        Redimensionne(doc, host);
        EXPECT_EQ(doc.image(), before);
        ASSERT_EQ(scripts.asked.size(), 1u);
        EXPECT_TRUE(scripts.asked[0].startsWith(QStringLiteral("La largeur doit être comprise entre 1 et 65536")));
    }
    scripts.onDialog = {}; // cancelled
    Redimensionne(doc, host);
    EXPECT_EQ(doc.image(), before);
}

TEST(GeometryCommands, ResizeWhileZoomedStartsFromActualSize)
{
    ImageDocument doc;
    RecordingHost host;
    ScriptedDialogs scripts;
    loadNoise(doc, 300, 200);
    const QImage before = doc.image().copy();
    zoom::ZArriere(doc, host);
    scripts.onDialog = [](QDialog &d) {
        auto &r = static_cast<TRedim &>(d);
        EXPECT_EQ(r.Edit1->text(), QStringLiteral("300"));
        r.CheckBox1->setChecked(false);
        r.Edit1->setText(QStringLiteral("600"));
        r.Edit2->setText(QStringLiteral("400"));
        r.Button2Click();
    };
    Redimensionne(doc, host);
    EXPECT_EQ(doc.zoomLevel(), 0);
    EXPECT_EQ(doc.image(), stretchImage(before, 600, 400));
    zoom::ZAvant(doc, host); // width 600: allowed, the new size counts
    EXPECT_EQ(doc.view().size(), QSize(1200, 800));
    // Undo brings back the size and the zoom level together: the next steps work from there.
    doc.Annule();
    EXPECT_EQ(doc.image(), before);
    EXPECT_EQ(doc.zoomLevel(), -2);
    zoom::ZAvant(doc, host);
    zoom::ZAvant(doc, host);
    EXPECT_EQ(doc.view().size(), QSize(600, 400));
    EXPECT_EQ(doc.image(), before);
}

TEST(GeometryCommands, EnlargeCentredPutsTheOldPicture50PixelsIn)
{
    ImageDocument doc;
    RecordingHost host;
    ScriptedDialogs scripts;
    loadNoise(doc, 200, 100);
    const QImage before = doc.image().copy();
    scripts.onDialog = [](QDialog &d) {
        auto &s = static_cast<TSupport &>(d);
        s.SpinEdit1->setValue(301);
        s.SpinEdit2->setValue(150);
        s.CheckBox1->setChecked(true);
        s.Button2Click();
    };
    Agrandir(doc, host);
    ASSERT_EQ(doc.image().size(), QSize(301, 150));
    EXPECT_EQ(doc.image().copy(50, 25, 200, 100), before);
    EXPECT_EQ(doc.image().pixel(49, 60), 0xFFFFFFFFu);
    EXPECT_EQ(doc.image().pixel(250, 60), 0xFFFFFFFFu);
    EXPECT_EQ(host.resizedTo, QPoint(313, 186));
    EXPECT_EQ(host.fits, 0);
    doc.Annule();
    EXPECT_EQ(doc.image(), before);

    scripts.onDialog = {};
    Agrandir(doc, host);
    EXPECT_EQ(doc.image(), before);
}

TEST(GeometryCommands, CropGivesTheSameWhicheverWayTheSelectionWasDragged)
{
    ImageDocument doc;
    RecordingHost host;
    loadNoise(doc, 120, 80);
    const QImage before = doc.image().copy();
    Recadrer(doc, host); // no selection: nothing
    EXPECT_EQ(doc.image(), before);
    for (auto [press, release] :
         {std::pair{QPoint(10, 20), QPoint(60, 50)}, std::pair{QPoint(60, 50), QPoint(10, 20)}}) {
        select(doc, press, release);
        Recadrer(doc, host);
        EXPECT_FALSE(doc.RectSelected);
        ASSERT_EQ(doc.image().size(), QSize(50, 30));
        EXPECT_EQ(doc.image(), before.copy(10, 20, 50, 30));
        EXPECT_EQ(host.panel[1], QStringLiteral("50 x 30"));
        doc.Annule();
        EXPECT_EQ(doc.image(), before);
    }
}

TEST(GeometryCommands, CropWhileZoomedKeepsFullDetail)
{
    ImageDocument doc;
    RecordingHost host;
    loadNoise(doc, 600, 400);
    const QImage before = doc.image().copy();
    zoom::ZArriere(doc, host); // 300 x 200
    select(doc, QPoint(10, 20), QPoint(60, 50));
    Recadrer(doc, host);
    EXPECT_EQ(doc.zoomLevel(), 0);
    EXPECT_EQ(doc.image(), before.copy(20, 40, 100, 60));
}

TEST(GeometryCommands, FrameOfTwentyInRed)
{
    ImageDocument doc;
    RecordingHost host;
    ScriptedDialogs scripts;
    doc.Init(100, 80, clWhite);
    doc.canvas().setPenColour(TColour(0x00FF0000));
    doc.canvas().setPenWidth(3);
    doc.canvas().setBrushStyle(bsSolid);
    TColour offered = 0;
    scripts.onDialog = [&](QDialog &d) {
        auto &c = static_cast<TCadre &>(d);
        offered = c.swatchColour();
        c.SpinEdit1->setValue(0);
        c.Button2Click();
    };
    Encadre(doc, host);
    EXPECT_EQ(offered, TColour(0x00FF0000));
    EXPECT_FALSE(doc.modified());
    EXPECT_EQ(doc.image().pixel(0, 0), 0xFFFFFFFFu);

    scripts.onDialog = [](QDialog &d) {
        auto &c = static_cast<TCadre &>(d);
        c.Init(clRed);
        c.SpinEdit1->setValue(20);
        c.Button2Click();
    };
    Encadre(doc, host);
    const QRgb red = toQRgb(clRed);
    int inside = 0;
    while (inside < 50 && doc.image().pixel(inside, 40) == red)
        ++inside;
    EXPECT_NEAR(inside, 10, 1);
    EXPECT_EQ(doc.image().pixel(50, 40), 0xFFFFFFFFu);
    EXPECT_TRUE(doc.modified());
    // The drawing attributes are as they were.
    EXPECT_EQ(doc.canvas().penColour(), TColour(0x00FF0000));
    EXPECT_EQ(doc.canvas().penWidth(), 3);
    EXPECT_EQ(doc.canvas().brushStyle(), int(bsSolid));
}

TEST(GeometryCommands, MirrorTwiceIsExactAlsoWhileZoomed)
{
    ImageDocument doc;
    RecordingHost host;
    loadNoise(doc, 301, 203);
    const QImage before = doc.image().copy();
    MiroirH(doc, host);
    EXPECT_EQ(doc.image(), mirrorHorizontal(before));
    MiroirH(doc, host);
    EXPECT_EQ(doc.image(), before);
    MiroirV(doc, host);
    MiroirV(doc, host);
    EXPECT_EQ(doc.image(), before);
    zoom::ZArriere(doc, host);
    MiroirV(doc, host);
    zoom::ZInit(doc, host);
    EXPECT_EQ(doc.image(), mirrorVertical(before));
    EXPECT_TRUE(doc.modified());
}
