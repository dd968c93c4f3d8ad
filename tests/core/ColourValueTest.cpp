#include "ColourValue.h"

#include <gtest/gtest.h>

using namespace vermeo;

TEST(ColourValue, ComposeClampsEachChannel)
{
    EXPECT_EQ(ComposeCouleur(300, -5, 128), 0x008000FFu);
    EXPECT_EQ(ComposeCouleur(256, 255, 0), 0x0000FFFFu);
}

TEST(ColourValue, DecomposeIgnoresTopByte)
{
    int b, g, r;
    DecomposeCouleur(0xAB123456u, b, g, r);
    EXPECT_EQ(b, 0x12);
    EXPECT_EQ(g, 0x34);
    EXPECT_EQ(r, 0x56);
}

TEST(ColourValue, QtConvertersSwapRedAndBlue)
{
    EXPECT_EQ(toQRgb(0x00FF0000u), qRgb(0, 0, 255));
    EXPECT_EQ(toQRgb(clRed), qRgb(255, 0, 0));
    EXPECT_EQ(fromQRgb(qRgb(1, 2, 3)), 0x00030201u);
    EXPECT_EQ(fromQRgb(toQRgb(0x00123456u)), 0x00123456u);
}
