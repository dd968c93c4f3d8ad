#include "ImageDocument.h"

#include <gtest/gtest.h>

using namespace vermeo;

TEST(Document, InitFillsAndRecordsTheBaseSize)
{
    ImageDocument d;
    d.Init(40, 30, 0x000000FF);
    EXPECT_EQ(d.width(), 40);
    EXPECT_EQ(d.BaseHeight, 30);
    EXPECT_EQ(d.image().pixel(39, 29), qRgb(255, 0, 0));
    EXPECT_EQ(d.ZoomLevel, 0);
    EXPECT_FALSE(d.modified());
}

TEST(Document, AnnuleTwiceGivesTheSameResult)
{
    ImageDocument d;
    d.Init(10, 10, clWhite);
    d.SauveUndo();
    d.canvas().SetPixel(1, 1, clBlack);
    d.Annule();
    EXPECT_EQ(d.image().pixel(1, 1), qRgb(255, 255, 255));
    d.canvas().SetPixel(2, 2, clBlack);
    d.Annule();
    d.Annule();
    EXPECT_EQ(d.image().pixel(2, 2), qRgb(255, 255, 255));
    EXPECT_EQ(d.image().pixel(1, 1), qRgb(255, 255, 255));
}

TEST(Document, EffacePaintsWhiteKeepsStylesAndMarksModified)
{
    ImageDocument d;
    d.Init(8, 8, 0x00336699);
    d.canvas().setPenWidth(5);
    d.canvas().setBrushStyle(bsCross);
    d.Tool = 2;
    d.Efface();
    EXPECT_EQ(d.image().pixel(3, 3), qRgb(255, 255, 255));
    EXPECT_EQ(d.canvas().penWidth(), 5);
    EXPECT_EQ(d.canvas().brushStyle(), bsCross);
    EXPECT_EQ(d.Tool, 2);
    EXPECT_TRUE(d.modified());
    d.Annule();
    EXPECT_EQ(d.image().pixel(3, 3), qRgb(0x99, 0x66, 0x33));
}
