#include "Zoom.h"
#include "Canvas.h"
#include "RecordingHost.h"

#include <gtest/gtest.h>

using namespace vermeo;
using namespace vermeo::test;
using namespace vermeo::zoom;

TEST(Zoom, StepsFollowTheLevelTableAndLimits)
{
    ImageDocument doc;
    RecordingHost host;
    doc.Init(100, 80, clWhite);
    ZAvant(doc, host);
    EXPECT_EQ(doc.view().size(), QSize(200, 160));
    EXPECT_EQ(doc.zoomLevel(), 2);
    ZAvant(doc, host);
    EXPECT_EQ(doc.view().size(), QSize(300, 240));
    ZArriere(doc, host);
    EXPECT_EQ(doc.view().size(), QSize(200, 160));
    ZArriere(doc, host);
    EXPECT_EQ(doc.view().size(), QSize(100, 80));
    EXPECT_EQ(doc.zoomLevel(), 0);
    EXPECT_EQ(host.fits, 4);
    for (int i = 0; i < 6; ++i)
        ZAvant(doc, host);
    EXPECT_EQ(doc.view().size(), QSize(500, 400)); // level 5 is the largest
    EXPECT_EQ(doc.zoomLevel(), 5);
    EXPECT_EQ(doc.image().size(), QSize(100, 80)); // the picture itself stays at actual size

    doc.Init(1000, 600, clWhite);
    ZAvant(doc, host);
    EXPECT_EQ(doc.view().size(), QSize(1000, 600));
    ZArriere(doc, host);
    EXPECT_EQ(doc.view().size(), QSize(500, 300));
    ZArriere(doc, host);
    EXPECT_EQ(doc.view().size(), QSize(333, 200));
    ZArriere(doc, host);
    EXPECT_EQ(doc.view().size(), QSize(250, 150));
    ZArriere(doc, host);
    EXPECT_EQ(doc.view().size(), QSize(250, 150)); // below 256 wide
    EXPECT_EQ(doc.zoomLevel(), -4);
    ZAvant(doc, host);
    ZAvant(doc, host);
    ZAvant(doc, host);
    EXPECT_EQ(doc.zoomLevel(), 0);
    EXPECT_EQ(doc.view().size(), QSize(1000, 600));

    doc.Init(200, 100, clWhite);
    ZArriere(doc, host);
    EXPECT_EQ(doc.view().size(), QSize(200, 100));
    EXPECT_EQ(doc.zoomLevel(), 0);
}

TEST(Zoom, StepsNeverTouchThePicture)
{
    ImageDocument doc;
    RecordingHost host;
    loadNoise(doc, 601, 403);
    const QImage before = doc.image().copy();
    ZArriere(doc, host);
    ZArriere(doc, host);
    EXPECT_EQ(doc.view().size(), QSize(200, 134));
    ZAvant(doc, host);
    EXPECT_EQ(doc.view().size(), QSize(300, 201));
    EXPECT_EQ(doc.image(), before);
    ZInit(doc, host);
    EXPECT_EQ(doc.view(), before);
    EXPECT_FALSE(doc.modified());
}

TEST(Zoom, ReducedViewsAverageSoThinLinesStayVisible)
{
    ImageDocument doc;
    RecordingHost host;
    doc.Init(400, 300, clWhite);
    doc.canvas().setPenColour(clBlack);
    for (int x = 1; x < 400; x += 4) { // one-pixel lines on odd columns
        doc.canvas().MoveTo(x, 0);
        doc.canvas().LineTo(x, 300);
    }
    ZArriere(doc, host);
    // Each shown column averages two, so every other one is half grey, none lost.
    EXPECT_EQ(qRed(doc.view().pixel(0, 10)), 128);
    EXPECT_EQ(qRed(doc.view().pixel(1, 10)), 255);
}

TEST(Zoom, DrawingWhileZoomedReachesThePictureOverEveryPixelItTouched)
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
    doc.flush();
    const QRgb red = toQRgb(clRed);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 300; ++x) {
            const bool painted = x >= 50 && x < 70 && y >= 50 && y < 52;
            ASSERT_EQ(doc.image().pixel(x, y), painted ? red : before.pixel(x, y)) << x << "," << y;
        }

    // Zoomed out, one shown pixel stands for 2 x 2 picture pixels: all four take what
    // was drawn, even where the shown value was already that colour.
    ZArriere(doc, host);
    ZArriere(doc, host);
    const TColour shown = fromQRgb(doc.view().pixel(10, 10));
    doc.canvas().SetPixel(10, 10, shown);
    doc.flush();
    for (QPoint p : {QPoint(20, 20), QPoint(21, 20), QPoint(20, 21), QPoint(21, 21)})
        EXPECT_EQ(doc.image().pixel(p) & 0xFFFFFFu, toQRgb(shown) & 0xFFFFFFu);
    EXPECT_EQ(doc.image().pixel(22, 20), before.pixel(22, 20));
    EXPECT_EQ(doc.image().pixel(19, 19), before.pixel(19, 19));
}

TEST(Zoom, AFlatPictureNeverShowsEmpty)
{
    ImageDocument doc;
    RecordingHost host;
    doc.Init(600, 3, clWhite);
    ZArriere(doc, host);
    ZArriere(doc, host);
    ZArriere(doc, host);
    EXPECT_EQ(doc.view().size(), QSize(200, 1));
    ZInit(doc, host);
    EXPECT_EQ(doc.view().size(), QSize(600, 3));
}
