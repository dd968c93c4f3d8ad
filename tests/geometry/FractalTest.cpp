// The fractal generators against hand-run steps of their rules.
#include "Canvas.h"
#include "FractalDrawing.h"
#include "TestPictures.h"

#include <atomic>
#include <cmath>
#include <gtest/gtest.h>
#include <set>

using namespace vermeo;
using namespace vermeo::geometry;
using namespace vermeo::test;

namespace {

// The escape loop with every step run, no cycle skipped.
int stepsByTheRule(double cx, double cy, double x, double y, int n)
{
    int k = 0;
    double u = 0, v = 0;
    while (k <= n) {
        if (u + v >= 4)
            break;
        u = x * x;
        v = y * y;
        const double nx = u - v + cx;
        y = 2 * x * y + cy;
        x = nx;
        ++k;
    }
    return k - 1;
}

QImage draw(TFractalTypes type, int w, int h, int iterations, std::uint32_t seed = 7)
{
    QImage img = newWorkingImage(w, h);
    TFractalProperties p;
    p.setFractalType(type);
    p.NumberOfIterations = iterations;
    drawFractal(img, settingsOf(p, seed));
    return img;
}

// Keeps the picture at every display point; can stop the drawing after some of them.
struct Snapshots : FractalMonitor {
    QImage *img = nullptr;
    std::vector<QImage> shots;
    std::atomic<int> count{0};
    int stopAfter = -1;
    void drawn() override
    {
        shots.push_back(img->copy());
        ++count;
    }
    bool stopRequested() const override { return stopAfter >= 0 && count.load() >= stopAfter; }
};

} // namespace

TEST(Fractals, TheIterationCountFollowsTheType)
{
    TFractalProperties p;
    EXPECT_EQ(p.FractalType(), ftMandelBrot);
    EXPECT_EQ(p.NumberOfIterations, 16);
    EXPECT_DOUBLE_EQ(p.X0, -2.25);
    EXPECT_DOUBLE_EQ(p.Y1, 1.5);
    EXPECT_TRUE(p.LineIncremental);
    p.NumberOfIterations = 300;
    p.setFractalType(ftJulian);
    EXPECT_EQ(p.NumberOfIterations, 300); // Mandelbrot <-> Julia keeps the count
    p.setFractalType(ftMandelBrot);
    EXPECT_EQ(p.NumberOfIterations, 300);
    p.setFractalType(ftMoire);
    EXPECT_EQ(p.NumberOfIterations, 4);
    p.NumberOfIterations = 9;
    p.setFractalType(ftMoire); // the same type changes nothing
    EXPECT_EQ(p.NumberOfIterations, 9);
    for (TFractalTypes t : {ftSierpinski, ftFern, ftLeaf, ftCurl, ftKoch}) {
        p.setFractalType(ftMoire);
        p.setFractalType(t);
        EXPECT_EQ(p.NumberOfIterations, 30000) << t;
    }
    p.setFractalType(ftJulian);
    EXPECT_EQ(p.NumberOfIterations, 16);

    const char *names[] = {"Curl", "Fern", "Julia", "Koch", "Leaft", "MandelBrot", "Moire", "Sierpinski"};
    for (size_t i = 0; i < 8; ++i)
        EXPECT_STREQ(fractalList()[i].caption, names[i]);
    TFractalTypes t{};
    EXPECT_TRUE(fractalTypeByName(QStringLiteral("leaf"), t));
    EXPECT_EQ(t, ftLeaf);
    EXPECT_TRUE(fractalTypeByName(QStringLiteral("julia"), t));
    EXPECT_EQ(t, ftJulian);
    EXPECT_FALSE(fractalTypeByName(QStringLiteral("Dragon"), t));
}

TEST(Fractals, MandelbrotAndJuliaLookOneStepBehind)
{
    EXPECT_EQ(escapeSteps(0, 0, 0, 0, 16), 16); // never escapes
    EXPECT_EQ(escapeColourIndex(16, 16), 0);    // black
    EXPECT_EQ(escapeSteps(2, 0, 0, 0, 16), 1);  // |c| >= 2
    EXPECT_EQ(escapeSteps(-2.25, -1.5, 0, 0, 16), 1);
    EXPECT_EQ(escapeColourIndex(1, 16), 1);
    EXPECT_EQ(escapeColourIndex(5, 100), 1); // Round(0.8)
    EXPECT_EQ(escapeColourIndex(3, 32), 2);  // Round(1.5), half to even
    EXPECT_EQ(fractalColour(1), 0x800000u);
    EXPECT_EQ(fractalColour(15), clWhite);
    EXPECT_EQ(fractalColour(40), clWhite);
    // Skipping cycles never changes a count.
    for (int n : {16, 300, 5000})
        for (double y = -1.5; y <= 1.5; y += 0.0731)
            for (double x = -2.25; x <= 0.75; x += 0.0537) {
                ASSERT_EQ(escapeSteps(x, y, 0, 0, n), stepsByTheRule(x, y, 0, 0, n)) << x << "," << y << " " << n;
                ASSERT_EQ(escapeSteps(0, 1, x, y, n), stepsByTheRule(0, 1, x, y, n)) << x << "," << y << " " << n;
            }

    // 48 x 32: dx = 1/16, dy = 3/32; column 36, row 16 is c = 0.
    const QImage m = draw(ftMandelBrot, 48, 32, 16);
    EXPECT_EQ(at(m, 36, 16), clBlack);
    EXPECT_EQ(at(m, 0, 0), 0x800000u);
    for (int i = 0; i < 32; ++i)
        for (int j = 0; j < 48; ++j) {
            const int k = stepsByTheRule(-2.25 + j * (3.0 / 48), -1.5 + i * (3.0 / 32), 0, 0, 16);
            ASSERT_EQ(at(m, j, i), fractalColour(k == 16 ? 0 : int(std::nearbyint(k / 1.0)))) << j << "," << i;
        }
    const QImage julia = draw(ftJulian, 30, 20, 16);
    EXPECT_EQ(at(julia, 0, 0), fractalColour(escapeColourIndex(stepsByTheRule(0, 1, -2.25, -1.5, 16), 16)));
}

TEST(Fractals, MoireDrawsItsLinesThenTheRings)
{
    QImage img = newWorkingImage(41, 41);
    Snapshots s;
    s.img = &img;
    FractalSettings set;
    set.type = ftMoire;
    set.iterations = 4;
    drawFractal(img, set, s);
    // After the first line: a black line from (0, 0) to (40, 41) on white, end left out.
    QImage first = newWorkingImage(41, 41, 0xFFFFFFFFu);
    Canvas c(&first);
    c.MoveTo(0, 0);
    c.LineTo(40, 41);
    ASSERT_FALSE(s.shots.empty());
    EXPECT_EQ(s.shots[0], first);
    // The second line, white, from (1, 0) to (39, 41), crosses the first.
    c.setPenColour(clWhite);
    c.MoveTo(1, 0);
    c.LineTo(39, 41);
    EXPECT_EQ(s.shots[1], first);
    EXPECT_EQ(at(first, 20, 20), clWhite);
    // Rings, i = 4: v = 16 ((d + 1)^2 + (j + 1)^2); white when v div 1024 is odd.
    EXPECT_EQ(at(img, 40, 40), clWhite); // j = d = 20: 14112 div 1024 = 13
    EXPECT_EQ(at(img, 40, 20), clBlack); // d = 20, j = 0: 7072 div 1024 = 6
    EXPECT_EQ(at(img, 29, 29), clWhite); // j = d = 9: 3200 -> 3
    EXPECT_EQ(at(img, 11, 11), clWhite); // its mirror point
    EXPECT_EQ(at(img, 28, 28), clBlack); // j = d = 8: 2592 -> 2
}

TEST(Fractals, PointSystemsFollowTheirSeedStepByStep)
{
    // The classic generator from seed 0.
    FractalRandom r(0);
    const int expected[] = {0, 3, 86, 20, 27};
    for (int e : expected)
        EXPECT_EQ(r.next(100), e);

    EXPECT_EQ(functionThresholds(ftKoch), (std::array<int, 4>{25, 50, 74, 99}));
    EXPECT_EQ(functionMapFor(functionThresholds(ftKoch), 99), 3);
    EXPECT_EQ(functionMapFor(functionThresholds(ftKoch), 73), 2);
    EXPECT_EQ(functionMapFor(functionThresholds(ftKoch), 74), 3);
    EXPECT_EQ(functionThresholds(ftFern), (std::array<int, 4>{13, 14, 88, 100}));
    EXPECT_EQ(functionThresholds(ftLeaf), (std::array<int, 4>{6, 43, 79, 100}));

    // Fern, 5 iterations: eight unplotted warm-up steps, then four plotted points.
    const int w = 120, h = 110;
    const QImage fern = draw(ftFern, w, h, 5, 1234);
    FractalRandom hand(1234);
    const double a[4][6] = {{0.03, 0.31, 0.35, -0.05, 0.50, -0.92},
                            {-0.02, 0.00, -0.27, 0.33, -0.12, -1.28},
                            {0.80, 0.02, -0.04, 0.80, -0.02, 0.87},
                            {-0.03, -0.30, 0.35, -0.04, -0.68, -0.94}};
    auto apply = [&](int m, double &x, double &y) {
        const double nx = a[m][0] * x + a[m][1] * y + a[m][4];
        y = a[m][2] * x + a[m][3] * y + a[m][5];
        x = nx;
    };
    double x = 0, y = 0;
    for (int i = 0; i < 8; ++i)
        apply(hand.next(4), x, y);
    std::set<std::pair<int, int>> points;
    for (int i = 0; i < 4; ++i) {
        const int rr = hand.next(100);
        apply(rr < 13 ? 0 : rr < 14 ? 1 : rr < 88 ? 2 : 3, x, y);
        points.insert({int(std::nearbyint(x * h / 11 + w / 2)), int(std::nearbyint(-y * h / 11 + h / 2))});
    }
    std::set<std::pair<int, int>> black;
    for (int py = 0; py < h; ++py)
        for (int px = 0; px < w; ++px)
            if (at(fern, px, py) == clBlack)
                black.insert({px, py});
            else
                ASSERT_EQ(at(fern, px, py), clWhite);
    EXPECT_EQ(black, points);

    // Sierpinski from (w div 2, 0), halfway toward a corner at each step (r = 0 stays).
    const QImage tri = draw(ftSierpinski, 64, 64, 4, 99);
    FractalRandom hr(99);
    int sx = 32, sy = 0;
    std::set<std::pair<int, int>> corners;
    for (int i = 0; i < 3; ++i) {
        switch (hr.next(4)) {
        case 1:
            sx = (sx + 32) / 2;
            sy = sy / 2;
            break;
        case 2:
            sx = (sx + 64) / 2;
            sy = (sy + 64) / 2;
            break;
        case 3:
            sx = sx / 2;
            sy = (sy + 64) / 2;
            break;
        }
        corners.insert({sx, sy});
    }
    black.clear();
    for (int py = 0; py < 64; ++py)
        for (int px = 0; px < 64; ++px)
            if (at(tri, px, py) == clBlack)
                black.insert({px, py});
    EXPECT_EQ(black, corners);
    EXPECT_EQ(draw(ftCurl, 90, 80, 3000, 5), draw(ftCurl, 90, 80, 3000, 5));
    EXPECT_NE(draw(ftCurl, 90, 80, 3000, 5), draw(ftCurl, 90, 80, 3000, 6));
}

TEST(Fractals, AStoppedDrawingEndsEarly)
{
    for (TFractalTypes t : {ftMoire, ftKoch, ftSierpinski}) {
        QImage img = newWorkingImage(80, 60);
        Snapshots s;
        s.img = &img;
        s.stopAfter = 3;
        TFractalProperties p;
        p.setFractalType(t);
        drawFractal(img, settingsOf(p, 1), s);
        EXPECT_EQ(s.shots.size(), 3u) << t;
    }
    // Rows on every core: a stop before the first row leaves the picture white.
    for (TFractalTypes t : {ftMandelBrot, ftJulian}) {
        QImage img = newWorkingImage(80, 60);
        Snapshots s;
        s.img = &img;
        s.stopAfter = 0;
        TFractalProperties p;
        p.setFractalType(t);
        drawFractal(img, settingsOf(p, 1), s);
        EXPECT_TRUE(s.shots.empty()) << t;
        EXPECT_EQ(img, filled(80, 60, clWhite)) << t;
    }
}
