#include "Canvas.h"
#include "Picture.h"

#include <gtest/gtest.h>

using namespace vermeo;

namespace {
QImage white(int w, int h) { return newWorkingImage(w, h, qRgb(255, 255, 255)); }
int countColour(const QImage &img, QRgb c)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += (img.pixel(x, y) | 0xFF000000u) == (c | 0xFF000000u);
    return n;
}
} // namespace

TEST(Canvas, RectangleLeavesOutRightAndBottomEdge)
{
    QImage img = white(20, 20);
    Canvas c(&img);
    c.setBrushStyle(bsClear);
    c.Rectangle(2, 3, 10, 8);
    EXPECT_EQ(img.pixel(2, 3), qRgb(0, 0, 0));
    EXPECT_EQ(img.pixel(9, 7), qRgb(0, 0, 0));
    EXPECT_EQ(img.pixel(10, 7), qRgb(255, 255, 255));
    EXPECT_EQ(img.pixel(9, 8), qRgb(255, 255, 255));
    EXPECT_EQ(img.pixel(5, 5), qRgb(255, 255, 255)); // clear brush
    EXPECT_EQ(countColour(img, qRgb(0, 0, 0)), 2 * 8 + 2 * 3);
}

TEST(Canvas, NotXorTwiceRestoresEveryFigure)
{
    QImage img = white(60, 60);
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 60; ++x)
            img.setPixel(x, y, qRgb(x * 4, y * 4, 77));
    const QImage before = img.copy();
    Canvas c(&img);
    c.setPenMode(PenMode::NotXor);
    c.setPenColour(0x00123456);
    c.setBrushColour(0x00654321); // solid brush: inside is inverted too
    for (int pass = 0; pass < 2; ++pass) {
        c.Rectangle(5, 5, 40, 30);
        c.Ellipse(10, 10, 50, 55);
        c.RoundRect(1, 2, 30, 40, 14, 19);
        c.MoveTo(0, 0);
        c.LineTo(59, 33);
        c.setPenWidth(7);
        c.MoveTo(3, 50);
        c.LineTo(50, 3);
        c.setPenWidth(1);
        c.Polygon(QPolygon({{3, 3}, {40, 8}, {20, 50}}));
    }
    EXPECT_EQ(img, before);
}

TEST(Canvas, OneWideLineLeavesOutItsEndPoint)
{
    QImage img = white(10, 10);
    Canvas c(&img);
    c.MoveTo(1, 1);
    c.LineTo(6, 1);
    EXPECT_EQ(countColour(img, qRgb(0, 0, 0)), 5);
    EXPECT_EQ(img.pixel(6, 1), qRgb(255, 255, 255));
    EXPECT_EQ(c.penPos(), QPoint(6, 1));
}

TEST(Canvas, BrushColourOnClearBrushMakesItSolid)
{
    QImage img = white(4, 4);
    Canvas c(&img);
    c.setBrushStyle(bsClear);
    c.setBrushColour(clRed);
    EXPECT_EQ(c.brushStyle(), bsSolid);
    c.setBrushStyle(bsCross);
    c.setBrushColour(clBlack);
    EXPECT_EQ(c.brushStyle(), bsCross);
}

TEST(Canvas, FloodFillIsFourConnectedAndStopsAtOtherColours)
{
    QImage img = white(10, 10);
    Canvas c(&img);
    // a vertical wall at x = 5, with a diagonal gap only
    for (int y = 0; y < 10; ++y)
        img.setPixel(5, y, qRgb(0, 0, 0));
    img.setPixel(5, 4, qRgb(255, 255, 255));
    img.setPixel(4, 4, qRgb(0, 0, 0)); // the gap at (5,4) touches (4,5)/(4,3) only through corners... keep 4-connected
    c.setBrushColour(clRed);
    c.FloodFill(0, 0);
    EXPECT_EQ(img.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(img.pixel(4, 9), qRgb(255, 0, 0));
    EXPECT_EQ(img.pixel(5, 0), qRgb(0, 0, 0));
    EXPECT_EQ(img.pixel(9, 9), qRgb(255, 255, 255));
}

TEST(Canvas, FloodFillWithHatchOnlyPaintsLinesInsideTheArea)
{
    QImage img = white(32, 32);
    Canvas c(&img);
    c.setBrushColour(clBlack);
    c.setBrushStyle(bsHorizontal);
    c.FloodFill(3, 3);
    const int black = countColour(img, qRgb(0, 0, 0));
    EXPECT_GT(black, 0);
    EXPECT_LT(black, 32 * 32 / 2);
}

TEST(Canvas, CopyModesFollowTheirRasterOperations)
{
    QImage dst = newWorkingImage(2, 1, qRgb(0x0F, 0xF0, 0x33));
    QImage src = newWorkingImage(2, 1, qRgb(0xFF, 0x00, 0x11));
    Canvas c(&dst);
    c.setCopyMode(CopyMode::SrcInvert);
    c.Draw(0, 0, src);
    EXPECT_EQ(dst.pixel(0, 0), qRgb(0xF0, 0xF0, 0x22));
    c.setCopyMode(CopyMode::NotSrcCopy);
    c.Draw(0, 0, src);
    EXPECT_EQ(dst.pixel(1, 0), qRgb(0x00, 0xFF, 0xEE));
    c.setCopyMode(CopyMode::Whiteness);
    c.Draw(0, 0, src);
    EXPECT_EQ(dst.pixel(0, 0), qRgb(255, 255, 255));
}

TEST(Canvas, EveryRasterOperationCombinesEachBitAsItsTruthTable)
{
    // Per channel, source and destination bits meet in all four ways (s 1100, d 1010),
    // so each operation leaves its own truth table in every nibble.
    const QRgb s = qRgb(0xCC, 0x0F, 0xF0), d = qRgb(0xAA, 0x33, 0x55);
    struct Case {
        CopyMode mode;
        const char *name;
        uint (*rule)(uint s, uint d);
    };
    const Case cases[] = {
        {CopyMode::SrcCopy, "SRCCOPY", [](uint s, uint) { return s; }},
        {CopyMode::SrcAnd, "SRCAND", [](uint s, uint d) { return s & d; }},
        {CopyMode::SrcPaint, "SRCPAINT", [](uint s, uint d) { return s | d; }},
        {CopyMode::SrcInvert, "SRCINVERT", [](uint s, uint d) { return s ^ d; }},
        {CopyMode::NotSrcCopy, "NOTSRCCOPY", [](uint s, uint) { return ~s; }},
        {CopyMode::MergePaint, "MERGEPAINT", [](uint s, uint d) { return ~s | d; }},
        {CopyMode::NotSrcErase, "NOTSRCERASE", [](uint s, uint d) { return ~(s | d); }},
    };
    for (const Case &k : cases) {
        const QRgb expected =
            qRgb(int(k.rule(0xCC, 0xAA) & 0xFF), int(k.rule(0x0F, 0x33) & 0xFF), int(k.rule(0xF0, 0x55) & 0xFF));
        // A block copy and a stretched one (twice as wide) combine alike; outside the
        // block the destination is untouched.
        QImage dst = newWorkingImage(4, 2, d);
        const QImage src = newWorkingImage(1, 1, s);
        Canvas c(&dst);
        c.setCopyMode(k.mode);
        c.Draw(0, 0, src);
        c.StretchDraw(QRect(2, 1, 2, 1), src);
        EXPECT_EQ(dst.pixel(0, 0), expected) << k.name;
        EXPECT_EQ(dst.pixel(2, 1), expected) << k.name;
        EXPECT_EQ(dst.pixel(3, 1), expected) << k.name;
        EXPECT_EQ(dst.pixel(1, 0), d) << k.name;
        EXPECT_EQ(dst.pixel(0, 1), d) << k.name;
    }
}

TEST(Canvas, StretchWithNegativeExtentMirrors)
{
    QImage src = white(3, 1);
    src.setPixel(0, 0, qRgb(1, 1, 1));
    QImage dst = white(3, 1);
    Canvas c(&dst);
    c.CopyRect(QRect(3, 0, -3, 1), src, src.rect());
    EXPECT_EQ(dst.pixel(2, 0), qRgb(1, 1, 1));
    EXPECT_EQ(dst.pixel(0, 0), qRgb(255, 255, 255));
}

TEST(Canvas, DirtyAreaCoversOnlyWhatWasDrawn)
{
    QImage img = white(1000, 1000);
    Canvas c(&img);
    c.takeDirty();
    c.MoveTo(10, 10);
    c.LineTo(20, 15);
    const QRect d = c.takeDirty();
    EXPECT_TRUE(d.contains(QPoint(10, 10)));
    EXPECT_LE(d.width() * d.height(), 200);
    EXPECT_TRUE(c.takeDirty().isEmpty());
}

TEST(Canvas, ReadingOutsideGivesAllOnes)
{
    QImage img = white(2, 2);
    Canvas c(&img);
    EXPECT_EQ(c.Pixel(-1, 0), 0xFFFFFFFFu);
    EXPECT_EQ(c.Pixel(0, 0), 0x00FFFFFFu);
}
