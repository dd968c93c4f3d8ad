#include "Canvas.h"
#include "TestHost.h"
#include "Zoom.h"

#include <gtest/gtest.h>

using namespace vermeo;
using namespace vermeo::zoom;

TEST(Zoom, StepsFollowTheLevelTableAndLimits)
{
    ImageDocument doc;
    RecordingHost host;
    doc.Init(100, 80, clWhite);
    ZAvant(doc, host);
    EXPECT_EQ(doc.image().size(), QSize(200, 160));
    EXPECT_EQ(doc.ZoomLevel, 2);
    ZAvant(doc, host);
    EXPECT_EQ(doc.image().size(), QSize(300, 240));
    ZArriere(doc, host);
    EXPECT_EQ(doc.image().size(), QSize(200, 160));
    ZArriere(doc, host);
    EXPECT_EQ(doc.image().size(), QSize(100, 80));
    EXPECT_EQ(doc.ZoomLevel, 0);
    EXPECT_EQ(host.fits, 4);
    for (int i = 0; i < 6; ++i)
        ZAvant(doc, host);
    EXPECT_EQ(doc.image().size(), QSize(500, 400)); // level 5 is the largest
    EXPECT_EQ(doc.ZoomLevel, 5);

    doc.Init(1000, 600, clWhite);
    ZAvant(doc, host);
    EXPECT_EQ(doc.image().size(), QSize(1000, 600));
    ZArriere(doc, host);
    EXPECT_EQ(doc.image().size(), QSize(500, 300));
    ZArriere(doc, host);
    EXPECT_EQ(doc.image().size(), QSize(333, 200));
    ZArriere(doc, host);
    EXPECT_EQ(doc.image().size(), QSize(250, 150));
    ZArriere(doc, host);
    EXPECT_EQ(doc.image().size(), QSize(250, 150)); // below 256 wide
    EXPECT_EQ(doc.ZoomLevel, -4);
    ZAvant(doc, host);
    ZAvant(doc, host);
    ZAvant(doc, host);
    EXPECT_EQ(doc.ZoomLevel, 0);
    EXPECT_EQ(doc.image().size(), QSize(1000, 600));

    doc.Init(200, 100, clWhite);
    ZArriere(doc, host);
    EXPECT_EQ(doc.image().size(), QSize(200, 100));
    EXPECT_EQ(doc.ZoomLevel, 0);
}

TEST(Zoom, RoundTripsGiveThePictureBackBitExact)
{
    ImageDocument doc;
    RecordingHost host;
    loadNoise(doc, 601, 403);
    const QImage before = doc.image().copy();
    ZArriere(doc, host);
    ZArriere(doc, host);
    EXPECT_EQ(doc.image().size(), QSize(200, 134));
    ZAvant(doc, host);
    EXPECT_EQ(doc.image().size(), QSize(300, 201));
    ZInit(doc, host);
    EXPECT_EQ(doc.image(), before);
    ZAvant(doc, host);
    ZArriere(doc, host);
    EXPECT_EQ(doc.image(), before);
    // Zoomed in and out again through actual size, from the kept picture each time.
    doc.Init(150, 90, clWhite);
    doc.assignImage(noiseImage(150, 90, 2));
    const QImage small = doc.image().copy();
    ZAvant(doc, host);
    ZAvant(doc, host);
    ZInit(doc, host);
    EXPECT_EQ(doc.image(), small);
    EXPECT_FALSE(doc.modified());
}

TEST(Zoom, PaintingWhileZoomedIsCarriedOverRescaledAndTheRestStaysExact)
{
    ImageDocument doc;
    RecordingHost host;
    loadNoise(doc, 300, 200);
    const QImage before = doc.image().copy();
    ZAvant(doc, host); // x2
    Canvas &c = doc.canvas();
    c.setBrushStyle(bsSolid);
    c.setBrushColour(clRed);
    c.setPenColour(clRed);
    c.Rectangle(100, 100, 140, 104); // 40 x 4 at x2 -> 20 x 2 at actual size
    ZInit(doc, host);
    const QRgb red = toQRgb(clRed);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 300; ++x) {
            const bool painted = x >= 50 && x < 70 && y >= 50 && y < 52;
            ASSERT_EQ(doc.image().pixel(x, y), painted ? red : before.pixel(x, y)) << x << "," << y;
        }

    // Painted while zoomed out: one zoomed pixel covers 2 x 2 actual pixels.
    ZArriere(doc, host);
    doc.canvas().SetPixel(10, 10, TColour(0x00FF0000));
    ZAvant(doc, host);
    ZAvant(doc, host); // through actual size to x2
    ZInit(doc, host);
    for (QPoint p : {QPoint(20, 20), QPoint(21, 20), QPoint(20, 21), QPoint(21, 21)})
        EXPECT_EQ(doc.image().pixel(p), toQRgb(TColour(0x00FF0000)));
    EXPECT_EQ(doc.image().pixel(22, 20), before.pixel(22, 20));
}

TEST(Zoom, UndoWhileZoomedAndAFlatPicture)
{
    ImageDocument doc;
    RecordingHost host;
    loadNoise(doc, 400, 300);
    const QImage before = doc.image().copy();
    ZAvant(doc, host);
    doc.SauveUndo();
    doc.canvas().setPenColour(clBlack);
    doc.canvas().setPenWidth(9);
    doc.canvas().MoveTo(0, 0);
    doc.canvas().LineTo(700, 500);
    doc.Annule();
    ZInit(doc, host);
    EXPECT_EQ(doc.image(), before);

    // An undo copy taken at actual size, restored while zoomed: the picture is that copy.
    doc.SauveUndo();
    ZAvant(doc, host);
    doc.Annule();
    EXPECT_EQ(doc.image().size(), QSize(400, 300));
    ZInit(doc, host);
    EXPECT_EQ(doc.image(), before);

    doc.Init(600, 3, clWhite);
    ZArriere(doc, host);
    ZArriere(doc, host);
    ZArriere(doc, host);
    EXPECT_EQ(doc.image().size(), QSize(200, 1)); // never an empty picture
    ZInit(doc, host);
    EXPECT_EQ(doc.image().size(), QSize(600, 3));
}
