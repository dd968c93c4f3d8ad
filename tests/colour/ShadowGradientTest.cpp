// Shadow fit rules and the gradient bands, worked out by hand.
#include "ShadowGradient.h"
#include "Error.h"
#include "RecordingHost.h"

#include <gtest/gtest.h>

using namespace vermeo;
using namespace vermeo::colour;
using vermeo::test::at;
using vermeo::test::filled;

namespace {
const TColour kDark = ComposeCouleur(30, 30, 29); // sum 89
QImage rowWithDarkAt(int w, int x)
{
    QImage img = filled(w, 1, clWhite);
    img.setPixel(x, 0, toQRgb(kDark));
    return img;
}
std::vector<bool> blackRow(const QImage &img, int y = 0)
{
    std::vector<bool> out;
    for (int x = 0; x < img.width(); ++x)
        out.push_back(at(img, x, y) == clBlack);
    return out;
}
} // namespace

TEST(Shadow, LeftShadowMustFitWhole)
{
    EXPECT_EQ(shadow(rowWithDarkAt(6, 2), 3, Gauche, silentProgress()), rowWithDarkAt(6, 2));
    const QImage out = shadow(rowWithDarkAt(6, 3), 3, Gauche, silentProgress());
    EXPECT_EQ(blackRow(out), (std::vector<bool>{true, true, true, false, false, false}));
    EXPECT_EQ(at(out, 3, 0), kDark);
}

TEST(Shadow, DarknessIsASumBelowNinety)
{
    QImage img = filled(4, 1, clWhite);
    img.setPixel(3, 0, toQRgb(ComposeCouleur(30, 30, 30)));
    EXPECT_EQ(shadow(img, 1, Gauche, silentProgress()), img);
}

TEST(Shadow, RightUpDownAndNoShadowOfShadows)
{
    // Right: x < width - L.
    EXPECT_EQ(blackRow(shadow(rowWithDarkAt(5, 0), 2, Droite, silentProgress())),
              (std::vector<bool>{false, true, true, false, false}));
    EXPECT_EQ(shadow(rowWithDarkAt(5, 3), 2, Droite, silentProgress()), rowWithDarkAt(5, 3));
    // Up: y >= L, painting the rows above.
    QImage col = filled(1, 5, clWhite);
    col.setPixel(0, 2, toQRgb(kDark));
    const QImage up = shadow(col, 2, Haut, silentProgress());
    EXPECT_EQ(at(up, 0, 0), clBlack);
    EXPECT_EQ(at(up, 0, 1), clBlack);
    EXPECT_EQ(at(up, 0, 3), clWhite);
    // Down with L = 10 on a 10-high picture: no y satisfies y < 0.
    QImage tall = filled(2, 10, kDark);
    EXPECT_EQ(shadow(tall, 10, Bas, silentProgress()), tall);
    // Down L = 1: the dark top row shades the row below only.
    QImage two = filled(1, 3, clWhite);
    two.setPixel(0, 0, toQRgb(kDark));
    const QImage down = shadow(two, 1, Bas, silentProgress());
    EXPECT_EQ(at(down, 0, 1), clBlack);
    EXPECT_EQ(at(down, 0, 2), clWhite);
    // A painted shadow is black but casts nothing further.
    EXPECT_EQ(blackRow(shadow(rowWithDarkAt(8, 5), 2, Gauche, silentProgress())),
              (std::vector<bool>{false, false, false, true, true, false, false, false}));
}

TEST(Shadow, ProgressFollowsTheVisitingOrder)
{
    ProgressRecorder right;
    shadow(filled(4, 2, clWhite), 1, Droite, right);
    EXPECT_EQ(right.positions, (std::vector<int>{25, 50, 75, 100}));
    ProgressRecorder left;
    shadow(filled(4, 2, clWhite), 1, Bas, left);
    EXPECT_EQ(left.positions, (std::vector<int>{0, 25, 50, 75}));
}

TEST(Shadow, RejectsOutOfRangeParameters)
{
    EXPECT_THROW(shadow(filled(2, 2, clWhite), 0, Gauche, silentProgress()), VermeoError);
    EXPECT_THROW(shadow(filled(2, 2, clWhite), 3, 5, silentProgress()), VermeoError);
}

TEST(Gradient, BandsFromBlackLeaveLastRowAndColumn)
{
    QImage img = filled(120, 100, clWhite);
    Canvas c(&img);
    gradient(c, clBlack, 1, false);
    // Bands of 100 div 50 = 2 rows: red 0, 5, ..., 245.
    EXPECT_EQ(at(img, 0, 0), ComposeCouleur(0, 0, 0));
    EXPECT_EQ(at(img, 118, 3), ComposeCouleur(5, 0, 0));
    EXPECT_EQ(at(img, 50, 97), ComposeCouleur(240, 0, 0));
    EXPECT_EQ(at(img, 50, 98), ComposeCouleur(245, 0, 0));
    EXPECT_EQ(at(img, 50, 99), clWhite);
    EXPECT_EQ(at(img, 119, 10), clWhite);
    EXPECT_EQ(c.penColour(), ComposeCouleur(245, 0, 0));
    EXPECT_EQ(c.brushColour(), ComposeCouleur(245, 0, 0));
    EXPECT_EQ(c.dirty(), QRect(0, 0, 119, 99));
}

TEST(Gradient, StepCarriesIntoGreenAndShortPicturesTakeTheLastBand)
{
    EXPECT_EQ(gradientBand(0x0000FEu, 1, 1), 0x000103u);
    EXPECT_EQ(gradientBand(0x000100u, 2, 1), 0x0000FBu);
    EXPECT_EQ(gradientBand(clBlack, 2, 3), clBlack); // clamped, not wrapped
    EXPECT_EQ(gradientBand(clWhite, 1, 2), clWhite);
    QImage img = filled(60, 20, clWhite);
    Canvas c(&img);
    gradient(c, ComposeCouleur(0, 0, 10), 1, false);
    EXPECT_EQ(at(img, 0, 0), ComposeCouleur(245, 0, 10));
    EXPECT_EQ(at(img, 58, 18), ComposeCouleur(245, 0, 10));
    EXPECT_EQ(at(img, 59, 0), clWhite);
}

TEST(Gradient, LeftToRightLightToDark)
{
    QImage img = filled(100, 3, clWhite);
    Canvas c(&img);
    gradient(c, ComposeCouleur(250, 7, 0), 2, true);
    EXPECT_EQ(at(img, 0, 0), ComposeCouleur(250, 7, 0));
    EXPECT_EQ(at(img, 3, 1), ComposeCouleur(245, 7, 0));
    EXPECT_EQ(at(img, 98, 1), ComposeCouleur(5, 7, 0));
    EXPECT_EQ(at(img, 99, 1), clWhite);
    EXPECT_EQ(at(img, 10, 2), clWhite);
}

// The carried-nearest scan against the rule as written (copy, then paint L pixels
// beside each dark source pixel that fits), on a picture spanning several row bands.
TEST(Shadow, ScanEqualsTheRuleOnEverySide)
{
    QImage img = filled(53, 70, clWhite);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if ((x * 7 + y * 13) % 11 == 0)
                img.setPixel(x, y, qRgb(20, 30, 39));
    for (int side = Gauche; side <= Bas; ++side) {
        for (int L : {1, 4, 10}) {
            QImage expected = img.copy();
            const int w = img.width(), h = img.height();
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    if (at(img, x, y) != ComposeCouleur(20, 30, 39))
                        continue;
                    const int dx = side == Gauche ? -1 : side == Droite ? 1 : 0;
                    const int dy = side == Haut ? -1 : side == Bas ? 1 : 0;
                    const int ex = x + dx * L, ey = y + dy * L;
                    if (ex < 0 || ey < 0 || ex >= w || ey >= h)
                        continue;
                    for (int k = 1; k <= L; ++k)
                        expected.setPixel(x + dx * k, y + dy * k, qRgb(0, 0, 0));
                }
            ASSERT_EQ(shadow(img, L, side, silentProgress()), expected) << "side " << side << " L " << L;
        }
    }
}
