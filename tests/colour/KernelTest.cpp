// The per-pixel formulas against values worked out by hand from the rules.
#include "ChannelKernels.h"
#include "HistogramKernels.h"
#include "Parallel.h"
#include "PixelPass.h"
#include "RecordingHost.h"
#include "ShadowGradient.h"
#include "ToneKernels.h"

#include <gtest/gtest.h>
#include <set>

using namespace vermeo;
using namespace vermeo::colour;
using namespace vermeo::test;
using vermeo::test::at;
using vermeo::test::onePixel;

namespace {
Progress &quiet() { return silentProgress(); }
} // namespace

TEST(ToneKernel, OffsetsTruncateTowardZero)
{
    EXPECT_EQ(percentToOffset(-1), -2);
    EXPECT_EQ(percentToOffset(1), 2);
    EXPECT_EQ(percentToOffset(100), 255);
    EXPECT_EQ(at(brightness(onePixel(10, 20, 30), -2, quiet()), 0, 0), ComposeCouleur(8, 18, 28));
    EXPECT_EQ(at(brightness(onePixel(10, 200, 30), 255, quiet()), 0, 0), clWhite);
    EXPECT_EQ(at(brightness(onePixel(10, 200, 255), -255, quiet()), 0, 0), clBlack);
}

TEST(ToneKernel, ClarityScalesEachChannelByItsOwnValue)
{
    // The command at S = 100: c + c * 255 div 100.
    EXPECT_EQ(at(clarity(onePixel(50, 0, 100), 255, quiet()), 0, 0), ComposeCouleur(177, 0, 255));
    // -198 div 100 is -1, not -2.
    EXPECT_EQ(at(clarity(onePixel(99, 99, 99), -2, quiet()), 0, 0), ComposeCouleur(98, 98, 98));
}

TEST(ToneKernel, ContrastSplitsAt382)
{
    EXPECT_EQ(at(contrast(onePixel(127, 127, 127), 10, quiet()), 0, 0), ComposeCouleur(117, 117, 117));
    EXPECT_EQ(at(contrast(onePixel(128, 127, 127), 10, quiet()), 0, 0), ComposeCouleur(138, 137, 137));
    // A negative offset pulls both sides toward the middle.
    EXPECT_EQ(at(contrast(onePixel(0, 0, 0), -20, quiet()), 0, 0), ComposeCouleur(20, 20, 20));
}

TEST(ToneKernel, SaturationAroundThePlainMean)
{
    EXPECT_EQ(at(saturation(onePixel(200, 100, 0), -100, quiet()), 0, 0), ComposeCouleur(100, 100, 100));
    EXPECT_EQ(at(saturation(onePixel(200, 100, 0), 50, quiet()), 0, 0), ComposeCouleur(250, 100, 0));
    // m = 3; red 10 - 350 div 100 = 7; green and blue 0 + 150 div 100 = 1.
    EXPECT_EQ(at(saturation(onePixel(10, 0, 0), -50, quiet()), 0, 0), ComposeCouleur(7, 1, 1));
}

TEST(ToneKernel, SolariseFoldsAboveTheThreshold)
{
    EXPECT_EQ(at(solarise(onePixel(150, 250, 100), 100, quiet()), 0, 0), ComposeCouleur(50, 0, 100));
    const QImage img = test::varied(17, 9);
    EXPECT_EQ(solarise(img, 255, quiet()), img);
}

TEST(ToneKernel, TintRaisesOnlyPixelsLedByTheDominantChannel)
{
    EXPECT_EQ(at(tint(onePixel(200, 100, 50), 3, 51, quiet()), 0, 0), ComposeCouleur(251, 100, 50));
    EXPECT_EQ(at(tint(onePixel(50, 100, 200), 3, 51, quiet()), 0, 0), ComposeCouleur(50, 100, 200));
    EXPECT_EQ(at(tint(onePixel(50, 100, 200), 1, 51, quiet()), 0, 0), ComposeCouleur(50, 100, 251));
    // Code 2 needs blue < green and not green < red.
    EXPECT_EQ(at(tint(onePixel(90, 100, 20), 2, -30, quiet()), 0, 0), ComposeCouleur(90, 70, 20));
    // No dominant channel found yet: nothing matches.
    const QImage img = test::varied(13, 7);
    EXPECT_EQ(tint(img, 0, 51, quiet()), img);
}

TEST(ToneKernel, DominantChannelLaterTestsWin)
{
    EXPECT_EQ(dominantChannel(onePixel(50, 10, 100)), 3); // Sb 100, Sg 10, Sr 50
    EXPECT_EQ(dominantChannel(onePixel(5, 20, 10)), 2);
    EXPECT_EQ(dominantChannel(onePixel(5, 5, 5)), 1);
    EXPECT_EQ(leadingChannel(10, 20, 30), 3);
}

TEST(ChannelKernel, PermutationsOfTenTwentyThirty)
{
    const QImage px = onePixel(10, 20, 30);
    const struct {
        const char *name;
        int r, g, b;
    } cases[] = {{"RVB", 10, 20, 30}, {"BRV", 30, 10, 20}, {"BVR", 30, 20, 10},
                 {"VBR", 20, 30, 10}, {"RBV", 10, 30, 20}, {"VRB", 20, 10, 30}};
    for (const auto &c : cases) {
        const int order = permutationFromName(QString::fromLatin1(c.name));
        ASSERT_NE(order, 0) << c.name;
        EXPECT_EQ(permutationName(order), QString::fromLatin1(c.name));
        EXPECT_EQ(at(permute(px, order, quiet()), 0, 0), ComposeCouleur(c.r, c.g, c.b)) << c.name;
    }
    EXPECT_EQ(permutationFromName(QStringLiteral("RGB")), 0);
}

TEST(ChannelKernel, GreyBalanceInvert)
{
    EXPECT_EQ(at(greyscale(onePixel(255, 0, 0), quiet()), 0, 0), ComposeCouleur(85, 85, 85));
    EXPECT_EQ(at(greyscale(onePixel(1, 1, 2), quiet()), 0, 0), ComposeCouleur(1, 1, 1));
    EXPECT_EQ(at(balance(onePixel(3, 40, 200), 255, 0, -255, quiet()), 0, 0), ComposeCouleur(255, 40, 0));
    EXPECT_EQ(at(invert(onePixel(0, 100, 255)), 0, 0), ComposeCouleur(255, 155, 0));
    const QImage img = test::varied(9, 5);
    EXPECT_EQ(invert(invert(img)), img);
}

TEST(ChannelKernel, ReplaceNeedsAnExactMatch)
{
    QImage img = test::filled(4, 3, ComposeCouleur(10, 20, 30));
    img.setPixel(2, 1, toQRgb(ComposeCouleur(10, 20, 31)));
    img.setPixel(3, 2, toQRgb(ComposeCouleur(11, 20, 30)));
    QImage changed = img.copy();
    changed.setPixel(0, 0, toQRgb(ComposeCouleur(10, 20, 31)));
    const QRect area = replaceColour(changed, ComposeCouleur(10, 20, 31), clWhite, quiet());
    EXPECT_EQ(area, QRect(0, 0, 3, 2));
    EXPECT_EQ(at(changed, 0, 0), clWhite);
    EXPECT_EQ(at(changed, 2, 1), clWhite);
    EXPECT_EQ(at(changed, 3, 2), ComposeCouleur(11, 20, 30));
    EXPECT_EQ(at(changed, 1, 1), ComposeCouleur(10, 20, 30));
}

TEST(ChannelKernel, MonochromeIsTwoColoursAtOneBit)
{
    QImage img(3, 1, QImage::Format_RGB32);
    img.setPixel(0, 0, qRgb(127, 128, 129)); // mean 128: white
    img.setPixel(1, 0, qRgb(127, 127, 128)); // mean 127: black
    img.setPixel(2, 0, qRgb(255, 255, 0));   // mean 170: white
    const Picture bw = monochrome(img);
    EXPECT_EQ(bw.depth, 1);
    EXPECT_EQ(bw.palette.size(), 2);
    EXPECT_EQ(bw.image.size(), img.size());
    EXPECT_EQ(at(bw.image, 0, 0), clWhite);
    EXPECT_EQ(at(bw.image, 1, 0), clBlack);
    EXPECT_EQ(at(bw.image, 2, 0), clWhite);
}

// The table-driven kernels against the rule written pixel by pixel, across several
// bands of rows.
TEST(ChannelKernel, TablesGiveThePixelByPixelResult)
{
    const QImage img = test::varied(301, 3 * kBandRows + 5);
    auto check = [&](const QImage &got, auto rule) {
        for (int x = 0; x < img.width(); ++x)
            for (int y = 0; y < img.height(); ++y) {
                int b, g, r;
                DecomposeCouleur(at(img, x, y), b, g, r);
                ASSERT_EQ(at(got, x, y), rule(r, g, b)) << x << "," << y;
            }
    };
    check(saturation(img, 73, quiet()), [](int r, int g, int b) {
        const int m = (r + g + b) / 3;
        return ComposeCouleur(r + 73 * (r - m) / 100, g + 73 * (g - m) / 100, b + 73 * (b - m) / 100);
    });
    check(contrast(img, -91, quiet()), [](int r, int g, int b) {
        const int p = r + g + b < 382 ? 91 : -91;
        return ComposeCouleur(r + p, g + p, b + p);
    });
    check(clarity(img, -37, quiet()),
          [](int r, int g, int b) { return ComposeCouleur(r + r * -37 / 100, g + g * -37 / 100, b + b * -37 / 100); });
}

TEST(PixelPass, ProgressOncePerColumnInOrder)
{
    ProgressRecorder rec;
    greyscale(test::filled(3, 2, clWhite), rec);
    EXPECT_EQ(rec.positions, (std::vector<int>{0, 33, 66}));
    ProgressRecorder narrow;
    greyscale(test::filled(1, 5, clWhite), narrow);
    EXPECT_EQ(narrow.positions, std::vector<int>{0});
    // Wider than tall, taller than wide, one row: always every column once, in order.
    for (QSize size : {QSize(1300, 1), QSize(1300, 37), QSize(7, 1000)}) {
        ProgressRecorder rec2;
        brightness(test::filled(size.width(), size.height(), clWhite), 5, rec2);
        ASSERT_EQ(rec2.positions.size(), size_t(size.width()));
        for (int x = 0; x < size.width(); ++x)
            ASSERT_EQ(rec2.positions[size_t(x)], x * 100 / size.width());
    }
}

TEST(Histogram, OneColourGivesOneFullBarPerChannel)
{
    const HistogramTables t = computeHistogram(test::filled(160, 120, ComposeCouleur(255, 100, 7)), quiet());
    EXPECT_EQ(t.red[255], 19200);
    for (int k = 0; k < 32; ++k) {
        EXPECT_EQ(t.redBins[size_t(k)], k == 31 ? 150 : 0);
        EXPECT_EQ(t.greenBins[size_t(k)], k == 12 ? 150 : 0);
        EXPECT_EQ(t.blueBins[size_t(k)], k == 0 ? 150 : 0);
    }
    EXPECT_EQ(t.redLevels, 1);
    EXPECT_EQ(t.greenLevels, 1);
    EXPECT_EQ(t.blueLevels, 1);
}

TEST(Histogram, BinsOfEightLevelsOnOneSharedScale)
{
    // Red: levels 0 and 7 share bin 0; green one level at 8 (bin 1), a quarter of the pixels.
    QImage img(4, 1, QImage::Format_RGB32);
    img.setPixel(0, 0, qRgb(0, 8, 0));
    img.setPixel(1, 0, qRgb(7, 0, 0));
    img.setPixel(2, 0, qRgb(7, 0, 0));
    img.setPixel(3, 0, qRgb(0, 0, 0));
    const HistogramTables t = computeHistogram(img, quiet());
    EXPECT_EQ(t.redBins[0], 150);
    EXPECT_EQ(t.greenBins[0], 112); // 3 * 150 div 4
    EXPECT_EQ(t.greenBins[1], 37);
    EXPECT_EQ(t.redLevels, 2);
    EXPECT_EQ(t.greenLevels, 2);
    EXPECT_EQ(t.blueLevels, 1);
}

TEST(ColourCount, CountsEveryDistinctColour)
{
    QImage bw = test::filled(5, 4, clBlack);
    bw.setPixel(3, 3, qRgb(255, 255, 255));
    EXPECT_EQ(countColours(bw, quiet()), 2);
    EXPECT_EQ(countColours(test::filled(7, 7, ComposeCouleur(1, 2, 3)), quiet()), 1);
    const QImage img = test::varied(61, 47);
    std::set<QRgb> seen;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            seen.insert(img.pixel(x, y) & 0xFFFFFFu);
    EXPECT_EQ(countColours(img, quiet()), (long long)seen.size());
    ProgressRecorder rec;
    countColours(test::filled(2, 4, clWhite), rec);
    EXPECT_EQ(rec.positions, (std::vector<int>{0, 25, 50, 75}));
}

// The passes run by bands on several threads: the result is the one of a single band,
// on odd sizes too, and the progress still runs once per column in order.
TEST(PixelPass, BandsOnSeveralThreadsGiveTheSingleBandResult)
{
    using Kernel = std::function<QImage(const QImage &, Progress &)>;
    const std::vector<std::pair<const char *, Kernel>> kernels = {
        {"brightness", [](const QImage &s, Progress &p) { return brightness(s, 40, p); }},
        {"contrast", [](const QImage &s, Progress &p) { return contrast(s, -70, p); }},
        {"saturation", [](const QImage &s, Progress &p) { return saturation(s, 55, p); }},
        {"grey", [](const QImage &s, Progress &p) { return greyscale(s, p); }},
        {"shadow left", [](const QImage &s, Progress &p) { return shadow(s, 3, Gauche, p); }},
        {"shadow right", [](const QImage &s, Progress &p) { return shadow(s, 4, Droite, p); }},
        {"shadow up", [](const QImage &s, Progress &p) { return shadow(s, 5, Haut, p); }},
        {"shadow down", [](const QImage &s, Progress &p) { return shadow(s, 10, Bas, p); }},
        {"replace",
         [](const QImage &s, Progress &p) {
             QImage out = s.copy();
             replaceColour(out, fromQRgb(s.pixel(0, 0)), clRed, p);
             return out;
         }},
    };
    for (QSize size : {QSize(1, 1), QSize(1, 4001), QSize(6001, 3), QSize(37, 301)}) {
        // Lone dark pixels at the first and last rows of each band of 16, so that their
        // shadows fall into the band next to them.
        QImage src = noise(size.width(), size.height(), 5);
        for (int y = 0; y < src.height(); ++y) {
            if (y % 16 == 0 || y % 16 == 15)
                src.setPixel(0, y, qRgb(0, 0, 0));
            else
                src.setPixel(0, y, qRgb(255, 255, 255));
        }
        for (const auto &[name, kernel] : kernels) {
            ProgressRecorder one, many;
            QImage single, banded;
            {
                PassThreadsOverride threads(0);
                single = kernel(src, one);
            }
            {
                PassThreadsOverride threads(7);
                banded = kernel(src, many);
            }
            EXPECT_EQ(banded, single) << name << " " << size.width() << "x" << size.height();
            ASSERT_EQ(int(many.positions.size()), size.width()) << name;
            const bool fromTheRight = std::string(name) == "shadow right"; // (width - x) * 100 div width
            for (int i = 0; i < size.width(); ++i)
                ASSERT_EQ(many.positions[size_t(i)], (i + fromTheRight) * 100 / size.width()) << name;
        }
    }
}
