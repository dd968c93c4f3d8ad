// Every effect of the table against a rule written again here, slowly and literally
// (in place, in the described visiting order, one Random draw at a time), on varied
// pictures tall enough for the passes to be cut into several bands; then values
// worked out by hand.
#include "Canvas.h"
#include "EffectTable.h"
#include "MotionEffects.h"
#include "ProgramRandom.h"
#include "TestPictures.h"

#include <QPainter>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <map>

using namespace vermeo;
using namespace vermeo::geometry;

namespace {

struct Px {
    int b, g, r;
};
Px get(const QImage &img, int x, int y)
{
    const QRgb q = img.pixel(x, y);
    return {qBlue(q), qGreen(q), qRed(q)};
}
void put(QImage &img, int x, int y, Px p) { img.setPixel(x, y, qRgb(p.r, p.g, p.b)); }
int clampV(int v) { return std::min(255, std::max(0, v)); }
template <class F>
void eachChannel(QImage &img, F f)
{
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const Px p = get(img, x, y);
            put(img, x, y, {f(p.b), f(p.g), f(p.r)});
        }
}

void refDarken(QImage &img, int a)
{
    eachChannel(img, [a](int v) { return clampV(v - a * v / 255); });
}

void refMedallion(QImage &img)
{
    refDarken(img, 1);
    QImage mask(img.size(), QImage::Format_RGB32);
    mask.fill(Qt::black);
    Canvas m(&mask);
    m.setPenColour(clWhite);
    m.setBrushColour(clWhite);
    m.Ellipse(0, 0, img.width() - 1, img.height() - 1);
    Canvas(&img).DrawTransparent(0, 0, mask, clWhite);
}

void refBlack(QImage &img)
{
    const int w = img.width(), h = img.height();
    std::vector<int> idx(size_t(w * h));
    auto lvl = [](int v) { return int(std::lround(v / 51.0)); };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const Px p = get(img, x, y);
            idx[size_t(y * w + x)] = lvl(p.r) * 36 + lvl(p.g) * 6 + lvl(p.b);
        }
    auto at = [&](int x, int y) { return idx[size_t(y * w + x)]; };
    int first = 0;
    bool seen = false;
    auto blacken = [&](int x, int y) { put(img, x, y, {0, 0, 0}); };
    for (int y = 0; y <= h - 2; ++y)
        for (int x = 0; x <= w - 3; ++x) {
            const int c = at(x, y);
            const std::pair<int, int> next[2] = {{x + 1, y}, {x, y + 1}};
            for (auto [nx, ny] : next)
                if (at(nx, ny) != c) {
                    if (!seen) {
                        first = at(nx, ny);
                        seen = true;
                        blacken(x, y);
                    } else if (c == first) {
                        blacken(nx, ny);
                    } else {
                        blacken(x, y);
                    }
                }
        }
}

void refRelief(QImage &img)
{
    for (int y = 0; y <= img.height() - 2; ++y)
        for (int x = 0; x <= img.width() - 4; ++x) {
            const Px p = get(img, x, y), q = get(img, x + 3, y + 1);
            put(img, x, y, {(255 - q.b + p.b) / 2, (255 - q.g + p.g) / 2, (255 - q.r + p.r) / 2});
        }
}

void refDominant(QImage &img, int keep)
{
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const Px p = get(img, x, y);
            put(img, x, y, {keep == 0 ? p.b : 0, keep == 1 ? p.g : 0, keep == 2 ? p.r : 0});
        }
}

// Rows from yFrom to yTo, columns from xFrom to xTo (either way), q at (x + dx, y + dy).
void refShadow(QImage &img, int yFrom, int yTo, int xFrom, int xTo, int dx, int dy)
{
    const int ys = yFrom <= yTo ? 1 : -1, xs = xFrom <= xTo ? 1 : -1;
    for (int y = yFrom; y != yTo + ys; y += ys)
        for (int x = xFrom; x != xTo + xs; x += xs) {
            const Px p = get(img, x, y), q = get(img, x + dx, y + dy);
            if (q.b < p.b)
                put(img, x, y, {(q.b + 1) % 256, (q.g + 1) % 256, (q.r + 1) % 256});
        }
}

void refColouredNoise(QImage &img, int a)
{
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const Px p = get(img, x, y);
            const int b = clampV(p.b + ProgramRandom::next(a) - a / 2);
            const int g = clampV(p.g + ProgramRandom::next(a) - a / 2);
            const int r = clampV(p.r + ProgramRandom::next(a) - a / 2);
            put(img, x, y, {b, g, r});
        }
}

void refMonoNoise(QImage &img, int a)
{
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const int n = ProgramRandom::next(a) - a / 2;
            const Px p = get(img, x, y);
            put(img, x, y, {clampV(p.b + n), clampV(p.g + n), clampV(p.r + n)});
        }
}

void refSaturation(QImage &img, int a)
{
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const Px p = get(img, x, y);
            const int m = (p.b + p.g + p.r) / 3;
            auto f = [&](int v) { return clampV(m + a * (v - m) / 255); };
            put(img, x, y, {f(p.b), f(p.g), f(p.r)});
        }
}

void refTexture(QImage &img)
{
    QImage tile(50, 50, QImage::Format_RGB32);
    Canvas(&tile).StretchDraw(QRect(0, 0, 50, 50), img);
    Canvas c(&img);
    for (int y = 0; y < img.height(); y += 50)
        for (int x = 0; x < img.width(); x += 50)
            c.Draw(x, y, tile);
}

// offset(x, previous offset) gives the offset of column x > 0.
void refDrip(QImage &img, int n, const std::function<int(int, int)> &offset)
{
    for (int y = img.height() - n - 1; y >= 0; --y) {
        int o = 0;
        for (int x = 0; x < img.width(); ++x) {
            if (x > 0)
                o = offset(x, o);
            img.setPixel(x, y + o, img.pixel(x, y));
        }
    }
}

void refShake(QImage &img, int a)
{
    const int b = a | 1, a2 = a & ~1, h = a / 2;
    for (int y = 0; y < img.height(); ++y) {
        int f = y % (b - 1);
        if (f > h)
            f = a2 - f;
        if (f == 0)
            f = b;
        const int e = std::abs(h - y % b) + h;
        QRgb held = img.pixel(0, y);
        for (int x = 0; x < img.width(); ++x) {
            if (x % f == 0)
                held = img.pixel(x, y);
            if (x % e == 1)
                held = img.pixel(x, y);
            img.setPixel(x, y, held);
        }
    }
}

// The reference rule of each caption, as the description words it.
const std::map<QString, std::function<void(QImage &)>> &referenceRules()
{
    static const std::map<QString, std::function<void(QImage &)>> rules = {
        {"Neige",
         [](QImage &i) {
             eachChannel(i, [](int v) { return int(std::lround(std::sin(v / 255.0 * M_PI / 2) * 255)); });
         }},
        {"Médaillon", refMedallion},
        {"Noir", refBlack},
        {"Flou", refRelief},
        {"Bleu dominant", [](QImage &i) { refDominant(i, 0); }},
        {"Vert dominant", [](QImage &i) { refDominant(i, 1); }},
        {"Rouge dominant", [](QImage &i) { refDominant(i, 2); }},
        {"Assombrir", [](QImage &i) { refDarken(i, 30); }},
        {"Ombre S.E.", [](QImage &i) { refShadow(i, i.height() - 1, 4, 0, i.width() - 5, 4, -4); }},
        {"Ombre S.O.", [](QImage &i) { refShadow(i, i.height() - 1, 4, i.width() - 1, 4, -4, -4); }},
        {"Ombre N.E.", [](QImage &i) { refShadow(i, 0, i.height() - 5, 0, i.width() - 5, 4, 4); }},
        {"Ombre N.O.", [](QImage &i) { refShadow(i, 0, i.height() - 5, i.width() - 1, 4, -4, 4); }},
        {"Bruit coloré", [](QImage &i) { refColouredNoise(i, 20); }},
        {"Bruit monochrome", [](QImage &i) { refMonoNoise(i, 20); }},
        {"Contraste",
         [](QImage &i) {
             eachChannel(i, [](int v) {
                 const int d = std::abs(127 - v) * 10 / 255;
                 return v > 127 ? clampV(v + d) : clampV(v - d);
             });
         }},
        {"Brillance", [](QImage &i) { eachChannel(i, [](int v) { return clampV(v + 10 * (255 - v) / 255); }); }},
        {"Saturation", [](QImage &i) { refSaturation(i, 10); }},
        {"Inverser", [](QImage &i) { eachChannel(i, [](int v) { return 255 - v; }); }},
        {"Texture", refTexture},
        {"Neige fondue",
         [](QImage &i) {
             ProgramRandom::seedFromClock();
             refDrip(i, 50, [](int, int) { return ProgramRandom::next(50); });
         }},
        {"Bandes verticales", [](QImage &i) { refDrip(i, 50, [](int, int o) { return o == 50 ? 0 : o + 1; }); }},
        {"Triangles",
         [](QImage &i) {
             bool down = false;
             refDrip(i, 50, [&down](int x, int o) {
                 if (x == 1)
                     down = false;
                 if (o == 50)
                     down = true;
                 if (o == 0)
                     down = false;
                 return down ? o - 1 : o + 1;
             });
         }},
        {"Bougé", [](QImage &i) { refShake(i, 50); }},
    };
    return rules;
}

// Flat blocks, a gradient and a few lines: long runs for the outlines and shadows.
QImage blocks(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    QPainter p(&img);
    QLinearGradient g(0, 0, w, h);
    g.setColorAt(0, QColor(250, 30, 20));
    g.setColorAt(1, QColor(10, 200, 240));
    p.fillRect(img.rect(), g);
    p.fillRect(10, 20, w / 3, h / 4, QColor(40, 40, 200));
    p.fillRect(w / 2, h / 2, w / 3, h / 3, QColor(250, 250, 250));
    p.setPen(Qt::black);
    p.drawLine(0, h - 1, w - 1, 0);
    p.end();
    return img;
}

class Pinned : public ::testing::Test {
protected:
    void SetUp() override { ProgramRandom::pinClockSeed(4242); }
    void TearDown() override { ProgramRandom::pinClockSeed(std::nullopt); }
};

} // namespace

TEST_F(Pinned, EveryEffectOfTheTableFollowsItsRule)
{
    ASSERT_EQ(effectTable().size(), referenceRules().size());
    // 260 rows: the drips' bands are 200 rows, the others' fewer, so every pass is cut.
    const QImage pictures[] = {test::varied(150, 260), blocks(173, 261), test::varied(7, 5)};
    for (int i = 0; i < int(effectTable().size()); ++i) {
        const EffectEntry &e = effectTable()[size_t(i)];
        EXPECT_EQ(e.position, i);
        const auto rule = referenceRules().find(e.name());
        ASSERT_NE(rule, referenceRules().end()) << e.caption;
        for (const QImage &picture : pictures) {
            QImage ours = picture.copy(), theirs = picture.copy();
            ProgramRandom::seed(99);
            applyEffect(ours, e);
            const int afterOurs = ProgramRandom::next(1 << 30);
            ProgramRandom::seed(99);
            rule->second(theirs);
            const int afterRule = ProgramRandom::next(1 << 30);
            EXPECT_EQ(test::differingPixels(ours, theirs), 0)
                << e.caption << " on " << picture.width() << " x " << picture.height();
            // The generator moved on exactly as far as the rule's draws took it.
            EXPECT_EQ(afterOurs, afterRule) << e.caption;
        }
    }
}

namespace {
const EffectEntry &effect(const char *caption)
{
    const EffectEntry *e = findEffect(QString::fromUtf8(caption));
    EXPECT_NE(e, nullptr) << caption;
    return *e;
}
QImage applied(const char *caption, QImage img)
{
    applyEffect(img, effect(caption));
    return img;
}
TColour pixelAfter(const char *caption, int r, int g, int b)
{
    return test::at(applied(caption, test::onePixel(r, g, b)), 0, 0);
}
} // namespace

TEST(Effects, ValuesWorkedOutByHand)
{
    // Neige: sin(v / 255 x pi / 2) x 255 keeps the ends and raises the middle.
    EXPECT_EQ(pixelAfter("Neige", 0, 128, 255), ComposeCouleur(0, 181, 255));
    // Assombrir 30: 255 - 30 = 225; 0 stays; 100 - 3000 div 255 = 89.
    EXPECT_EQ(pixelAfter("Assombrir", 255, 0, 100), ComposeCouleur(225, 0, 89));
    // Brillance 10: 0 + 2550 div 255 = 10; 200 + 550 div 255 = 202.
    EXPECT_EQ(pixelAfter("Brillance", 0, 200, 255), ComposeCouleur(10, 202, 255));
    // Contraste 10: 0 - 127 x 10 div 255 = -4 -> 0; 255 + 4 -> 255; 200 + 73 x 10 div 255 = 202; 127 stays.
    EXPECT_EQ(pixelAfter("Contraste", 0, 200, 127), ComposeCouleur(0, 202, 127));
    EXPECT_EQ(pixelAfter("Rouge dominant", 12, 34, 56), ComposeCouleur(12, 0, 0));
    EXPECT_EQ(pixelAfter("Vert dominant", 12, 34, 56), ComposeCouleur(0, 34, 0));
    EXPECT_EQ(pixelAfter("Bleu dominant", 12, 34, 56), ComposeCouleur(0, 0, 56));
    // Saturation 10: each channel ends within a 10/255 share of its distance to the mean.
    for (QRgb q : {qRgb(250, 10, 90), qRgb(0, 255, 0), qRgb(17, 200, 231)}) {
        const int m = (qRed(q) + qGreen(q) + qBlue(q)) / 3;
        const TColour c = pixelAfter("Saturation", qRed(q), qGreen(q), qBlue(q));
        int b, g, r;
        DecomposeCouleur(c, b, g, r);
        for (auto [before, after] : {std::pair{qRed(q), r}, {qGreen(q), g}, {qBlue(q), b}})
            EXPECT_LE(std::abs(after - m), std::abs(before - m) * 10 / 255 + 1) << before;
    }
    // Inverser twice is the picture again.
    const QImage v = test::varied(40, 30);
    EXPECT_EQ(applied("Inverser", applied("Inverser", v)), v);
}

TEST(Effects, ShadowsNeedMoreThanFourRows)
{
    for (const char *side : {"Ombre S.E.", "Ombre S.O.", "Ombre N.E.", "Ombre N.O."}) {
        for (int h = 1; h <= 4; ++h) {
            const QImage img = test::varied(30, h);
            EXPECT_EQ(applied(side, img), img) << side << " " << h;
        }
        // Five rows: the first and last rows are compared, with a pixel whose blue is smaller.
        QImage five = test::filled(12, 5, ComposeCouleur(100, 100, 200));
        five.setPixel(6, 0, qRgb(10, 20, 30));
        five.setPixel(6, 4, qRgb(10, 20, 30));
        const QImage out = applied(side, five);
        EXPECT_GT(test::differingPixels(out, five), 0) << side;
    }
    // S.E.: (2, 6) is compared with (6, 2), whose blue 30 < 200: it takes (11, 21, 31).
    QImage img = test::filled(12, 8, ComposeCouleur(100, 100, 200));
    img.setPixel(6, 2, qRgb(10, 20, 30));
    const QImage se = applied("Ombre S.E.", img);
    EXPECT_EQ(test::at(se, 2, 6), ComposeCouleur(11, 21, 31));
    EXPECT_EQ(test::differingPixels(se, img), 1);
    // 255 + 1 wraps to 0 in each byte, without touching the next byte.
    QImage wrap = test::filled(12, 8, ComposeCouleur(0, 0, 200));
    wrap.setPixel(6, 2, qRgb(255, 255, 30));
    EXPECT_EQ(test::at(applied("Ombre S.E.", wrap), 2, 6), ComposeCouleur(0, 0, 31));
}

TEST(Effects, TextureOfASmallPictureIsItEnlargedAndClipped)
{
    const QImage small = test::varied(20, 10);
    const QImage out = applied("Texture", small);
    // The 50 x 50 tile repeats each column 2.5 and each row 5 times; the picture shows its corner.
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x)
            ASSERT_EQ(out.pixel(x, y), small.pixel(x * 20 / 50, y * 10 / 50)) << x << "," << y;
    // A larger picture: the tile repeats every 50 pixels.
    const QImage big = applied("Texture", test::varied(130, 120));
    EXPECT_EQ(big.pixel(3, 7), big.pixel(53, 57));
    EXPECT_EQ(big.pixel(3, 7), big.pixel(103, 107));
}

TEST(Effects, DripOffsetsByColumn)
{
    using effects::bandOffset;
    using effects::triangleOffset;
    const int bands[] = {0, 1, 2, 49, 50, 0, 1};
    const int cols[] = {0, 1, 2, 49, 50, 51, 52};
    const int tri[] = {0, 1, 2, 49, 50, 49, 48};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(bandOffset(cols[i], 50), bands[i]) << cols[i];
        EXPECT_EQ(triangleOffset(cols[i], 50), tri[i]) << cols[i];
    }
    EXPECT_EQ(triangleOffset(100, 50), 0);
    EXPECT_EQ(triangleOffset(101, 50), 1);
    // 60 rows: rows 0..9 move down by the column's offset; column 50 drops them by 50.
    const QImage img = test::varied(120, 60);
    const QImage bandsOut = applied("Bandes verticales", img);
    for (int y = 0; y < 60; ++y) {
        EXPECT_EQ(bandsOut.pixel(0, y), img.pixel(0, y));
        EXPECT_EQ(bandsOut.pixel(51, y), img.pixel(51, y));
        EXPECT_EQ(bandsOut.pixel(50, y), y >= 50 ? img.pixel(50, y - 50) : img.pixel(50, y)) << y;
        EXPECT_EQ(bandsOut.pixel(3, y), y <= 12 ? img.pixel(3, y - (y >= 3 ? 3 : 0)) : img.pixel(3, y)) << y;
    }
    const QImage triOut = applied("Triangles", img);
    EXPECT_EQ(triOut.pixel(52, 48), img.pixel(52, 0)); // offset 48
    EXPECT_EQ(triOut.pixel(52, 57), img.pixel(52, 9));
    EXPECT_EQ(triOut.pixel(52, 58), img.pixel(52, 58));
    // Fewer rows than the depth: nothing moves.
    const QImage low = test::varied(80, 50);
    EXPECT_EQ(applied("Triangles", low), low);
}

TEST(Effects, ShakeRowByRow)
{
    QImage img(10, 3, QImage::Format_RGB32);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 10; ++x)
            img.setPixel(x, y, qRgb(x * 20, y * 60, 7));
    const QImage out = applied("Bougé", img);
    auto col = [&](int y) {
        std::vector<int> c;
        for (int x = 0; x < 10; ++x)
            c.push_back(qRed(out.pixel(x, y)) / 20);
        return c;
    };
    // Row 0: f = 51, e = 50: pixel 0 is held, then pixel 1 for the rest of the row.
    EXPECT_EQ(col(0), (std::vector<int>{0, 1, 1, 1, 1, 1, 1, 1, 1, 1}));
    // Row 1: f = 1: every pixel holds itself.
    EXPECT_EQ(col(1), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    // Row 2: f = 2, e = 48: even pixels are held, and pixel 1.
    EXPECT_EQ(col(2), (std::vector<int>{0, 1, 2, 2, 4, 4, 6, 6, 8, 8}));
}

TEST(Effects, NamesReadWithoutAccentsCaseOrDashes)
{
    EXPECT_EQ(findEffect(QStringLiteral("medaillon")), &effect("Médaillon"));
    EXPECT_EQ(findEffect(QStringLiteral("BOUGE")), &effect("Bougé"));
    EXPECT_EQ(findEffect(QStringLiteral("neige-fondue")), &effect("Neige fondue"));
    EXPECT_EQ(findEffect(QStringLiteral("ombre-se")), &effect("Ombre S.E."));
    EXPECT_EQ(findEffect(QStringLiteral("neige"))->position, 0);
    EXPECT_EQ(findEffect(QStringLiteral("ombre")), nullptr);
    EXPECT_EQ(findEffect(QString()), nullptr);
}

TEST(Effects, TheGeneratorIsSeededAndNeigeFondueReseedsFromTheClock)
{
    ProgramRandom::seed(7);
    const int a = ProgramRandom::next(1000), b = ProgramRandom::next(1000);
    ProgramRandom::seed(7);
    EXPECT_EQ(ProgramRandom::next(1000), a);
    EXPECT_EQ(ProgramRandom::next(1000), b);
    for (int i = 0; i < 1000; ++i) {
        const int v = ProgramRandom::next(20);
        ASSERT_TRUE(v >= 0 && v < 20);
    }
    // "Neige fondue" does not depend on where the generator stood: it reseeds.
    ProgramRandom::pinClockSeed(5);
    const QImage img = test::varied(60, 80);
    ProgramRandom::seed(1);
    const QImage first = applied("Neige fondue", img);
    ProgramRandom::seed(2);
    EXPECT_EQ(applied("Neige fondue", img), first);
    ProgramRandom::pinClockSeed(6);
    EXPECT_NE(applied("Neige fondue", img), first);
    ProgramRandom::pinClockSeed(std::nullopt);
    // The noises do depend on it.
    ProgramRandom::seed(1);
    const QImage n1 = applied("Bruit coloré", img);
    ProgramRandom::seed(2);
    EXPECT_NE(applied("Bruit coloré", img), n1);
}
