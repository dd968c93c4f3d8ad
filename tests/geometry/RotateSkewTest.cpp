// Rotation and skew kernels: quarter turns as exact permutations, other angles by the
// inverse mapping rule, the skew's stepping and its corner fill.
#include "Error.h"
#include "Parallel.h"
#include "Rotate.h"
#include "Skew.h"
#include "TestPictures.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <set>

using namespace vermeo;
using namespace vermeo::geometry;
using namespace vermeo::test;

namespace {

// Every pixel a colour of its own: the index y * w + x.
QImage numbered(int w, int h)
{
    QImage img = newWorkingImage(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, 0xFF000000u | QRgb(y * w + x + 1));
    return img;
}

QImage turn(const QImage &src, double degrees, QRgb background = 0xFF123456u)
{
    return rotateImage(src, background, degrees, silentProgress());
}

// The mapping one pixel at a time: the scan from the bottom-right corner, extended
// precision, the centre correction.
QImage mappedByTheRule(const QImage &src, QRgb background, double angle)
{
    while (angle >= 360)
        angle -= 360;
    while (angle < 0)
        angle += 360;
    const long double r = (long double)angle * 3.141592653589793238462643383279502884L / 180.0L;
    const long double c = std::cos(r), s = std::sin(r);
    const int W = src.width(), H = src.height();
    long double a, b;
    if (c * s >= 0) {
        a = std::fabs(c * W + s * H);
        b = std::fabs(s * W + c * H);
    } else {
        a = std::fabs(c * W - s * H);
        b = std::fabs(s * W - c * H);
    }
    const int W2 = int(std::nearbyint((double)a)), H2 = int(std::nearbyint((double)b));
    QImage out(W2, H2, QImage::Format_RGB32);
    out.fill(background);
    const int cx2 = W2 / 2, cy2 = H2 / 2;
    const int cx = W / 2 - (c < 0), cy = H / 2 - (s < 0);
    for (int y2 = std::max(H, H2) - 1; y2 >= 0; --y2) {
        const int dy = y2 - cy2;
        for (int x2 = std::max(W, W2) - 1; x2 >= 0; --x2) {
            const int dx = x2 - cx2;
            const long long xs = std::llrint(c * dx - s * dy) + cx;
            const long long ys = std::llrint(s * dx + c * dy) + cy;
            if (ys >= 0 && ys < H && xs >= 0 && xs < W && y2 < H2 && x2 < W2)
                out.setPixel(x2, y2, src.pixel(int(xs), int(ys)));
        }
    }
    return out;
}

} // namespace

TEST(Rotate, QuarterTurnsMoveEveryPixelOnceWhateverTheSize)
{
    for (QSize size : {QSize(200, 100), QSize(6, 4), QSize(5, 8), QSize(1, 7), QSize(1, 1)}) {
        const int w = size.width(), h = size.height();
        const QImage src = numbered(w, h);
        const QImage left = turn(src, 90), right = turn(src, 270), half = turn(src, 180);
        ASSERT_EQ(left.size(), QSize(h, w));
        ASSERT_EQ(right.size(), QSize(h, w));
        ASSERT_EQ(half.size(), size);
        // Anticlockwise: the top-left corner goes to the bottom-left.
        EXPECT_EQ(left.pixel(0, w - 1), src.pixel(0, 0));
        EXPECT_EQ(right.pixel(h - 1, 0), src.pixel(0, 0));
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                ASSERT_EQ(left.pixel(y, w - 1 - x), src.pixel(x, y)) << w << "x" << h;
                ASSERT_EQ(right.pixel(h - 1 - y, x), src.pixel(x, y)) << w << "x" << h;
                ASSERT_EQ(half.pixel(w - 1 - x, h - 1 - y), src.pixel(x, y)) << w << "x" << h;
            }
        // Every angle that is a multiple of 90 is one of these.
        EXPECT_EQ(turn(src, -90), right);
        EXPECT_EQ(turn(src, 450), left);
        EXPECT_EQ(turn(src, -540), half);
        EXPECT_EQ(turn(src, 720), src);
        EXPECT_EQ(turn(src, 0), src);
    }
}

TEST(Rotate, OtherAnglesFollowTheMappingRule)
{
    const QImage src = numbered(100, 100);
    const QRgb bg = 0xFF0A0B0Cu;
    const QImage r45 = turn(src, 45, bg);
    ASSERT_EQ(r45.size(), QSize(141, 141));
    for (QPoint p : {QPoint(0, 0), QPoint(140, 0), QPoint(0, 140), QPoint(140, 140)})
        EXPECT_EQ(r45.pixel(p), bg);
    // The centre stays the centre.
    EXPECT_EQ(r45.pixel(70, 70), src.pixel(50, 50));
    EXPECT_EQ(rotatedSize(100, 100, 45), QSize(141, 141));
    EXPECT_EQ(rotatedSize(200, 100, 30), QSize(223, 187));

    const QImage odd = noise(37, 23, 4);
    for (double angle : {45.0, 30.0, 1.0, 135.0, 200.0, 359.0, -17.0, 1000.0})
        EXPECT_EQ(turn(odd, angle, bg), mappedByTheRule(odd, bg, angle)) << angle;
    EXPECT_EQ(turn(noise(640, 480), 33, bg), mappedByTheRule(noise(640, 480), bg, 33));
}

TEST(Skew, SizesAndWhereTheFirstAndLastLinesLand)
{
    const QImage src = numbered(100, 50);
    const SkewResult left45 = skewImage(src, 45, skewLeft, silentProgress());
    EXPECT_EQ(left45.image.size(), QSize(150, 50));
    EXPECT_EQ(skewImage(src, 9, skewLeft, silentProgress()).image.size(), QSize(110, 50));
    EXPECT_EQ(skewImage(src, 9, skewUp, silentProgress()).image.size(), QSize(100, 70));

    // 45 degrees, step 1: lines 0, 1 and 2 at offset 0, then line n at n - 2.
    // 9 degrees, step 5: one pixel further after lines 6, 11, 16 ... 46.
    struct Case {
        int angle;
        SkewDirection dir;
        int firstOffset, lastOffset;
    } cases[] = {
        {45, skewLeft, 0, 47}, {45, skewRight, 50, 3}, {9, skewLeft, 0, 9}, {9, skewRight, 10, 1},
        {45, skewUp, 0, 97},   {45, skewDown, 100, 3}, {9, skewUp, 0, 19},  {9, skewDown, 20, 1},
    };
    for (const Case &c : cases) {
        const SkewResult r = skewImage(src, c.angle, c.dir, silentProgress());
        const bool rows = c.dir == skewLeft || c.dir == skewRight;
        const int lines = rows ? 50 : 100, length = rows ? 100 : 50;
        auto at = [&](int line, int along, int offset) {
            return rows ? r.image.pixel(offset + along, line) : r.image.pixel(line, offset + along);
        };
        auto source = [&](int line, int along) { return rows ? src.pixel(along, line) : src.pixel(line, along); };
        for (int along : {0, length - 1}) {
            EXPECT_EQ(at(0, along, c.firstOffset), source(0, along)) << c.angle << " " << c.dir;
            EXPECT_EQ(at(lines - 1, along, c.lastOffset), source(lines - 1, along)) << c.angle << " " << c.dir;
        }
        // Before the first line's start stays white: nothing else was written there.
        if (c.firstOffset > 0) {
            EXPECT_EQ(at(0, -1, c.firstOffset), 0xFFFFFFFFu) << c.angle << " " << c.dir;
        }
        const std::vector<int> offsets = skewOffsets(lines, c.angle, c.dir == skewLeft || c.dir == skewUp);
        EXPECT_EQ(offsets.front(), c.firstOffset);
        EXPECT_EQ(offsets.back(), c.lastOffset);
    }
    EXPECT_EQ(left45.corner, QPoint(148, 2));
    EXPECT_EQ(skewImage(src, 45, skewRight, silentProgress()).corner, QPoint(148, 48));
    EXPECT_EQ(skewImage(src, 45, skewUp, silentProgress()).corner, QPoint(2, 148));
    EXPECT_EQ(skewImage(src, 45, skewDown, silentProgress()).corner, QPoint(98, 148));

    ProgressRecorder rec;
    skewImage(src, 20, skewDown, rec);
    ASSERT_EQ(rec.positions.size(), 100u);
    EXPECT_EQ(rec.positions[99], 99);
    EXPECT_THROW(skewImage(src, 0, skewLeft, silentProgress()), VermeoError);
}

TEST(Skew, TheCornerFillTakesOnlyTheAreaTouchingTheCorner)
{
    // A black picture: the empty top-right triangle turns red, the bottom-left one stays white.
    SkewResult r = skewImage(filled(100, 50, clBlack), 45, skewLeft, silentProgress());
    fillSkewCorner(r.image, r.corner, clRed, 0);
    EXPECT_EQ(at(r.image, 149, 0), clRed);
    EXPECT_EQ(at(r.image, 120, 10), clRed);
    EXPECT_EQ(at(r.image, 0, 49), clWhite);
    EXPECT_EQ(at(r.image, 50, 25), clBlack);

    // White picture pixels touching the empty area are filled with it.
    QImage src = filled(100, 50, clBlack);
    for (int y = 0; y < 10; ++y)
        for (int x = 90; x < 100; ++x)
            src.setPixel(x, y, qRgb(255, 255, 255));
    r = skewImage(src, 45, skewLeft, silentProgress());
    fillSkewCorner(r.image, r.corner, clRed, 0);
    EXPECT_EQ(at(r.image, 95, 0), clRed);
    EXPECT_EQ(at(r.image, 0, 49), clWhite);

    // The default solid white brush leaves the picture as the skew made it.
    r = skewImage(src, 30, skewDown, silentProgress());
    const QImage before = r.image.copy();
    fillSkewCorner(r.image, r.corner, clWhite, 0);
    EXPECT_EQ(r.image, before);
}

TEST(Rotate, TheBackgroundIsPixelOneOneOrWhiteAndFillsEveryCorner)
{
    // Pixel (1, 1), not (0, 0) nor the last one; white where the picture has no such pixel.
    QImage src = noise(5, 4, 9);
    src.setPixel(0, 0, qRgb(1, 2, 3));
    src.setPixel(1, 1, qRgb(200, 100, 50));
    EXPECT_EQ(rotationBackground(src), qRgb(200, 100, 50));
    for (QSize one : {QSize(1, 9), QSize(9, 1), QSize(1, 1)})
        EXPECT_EQ(rotationBackground(newWorkingImage(one.width(), one.height(), qRgb(9, 9, 9))), qRgb(255, 255, 255))
            << one.width() << "x" << one.height();
    EXPECT_EQ(rotationBackground(newWorkingImage(2, 2, qRgb(9, 8, 7))), qRgb(9, 8, 7));

    // Turned by 30 degrees, each corner triangle is the background and nothing else is:
    // a picture without that colour shows it exactly where no source pixel lands.
    QImage picture = newWorkingImage(40, 30, qRgb(10, 20, 30));
    picture.setPixel(1, 1, qRgb(250, 0, 250));
    const QRgb bg = rotationBackground(picture);
    const QImage turned = rotateImage(picture, bg, 30, silentProgress());
    const QImage expected = mappedByTheRule(picture, bg, 30);
    ASSERT_EQ(turned.size(), expected.size());
    int background = 0;
    for (int y = 0; y < turned.height(); ++y)
        for (int x = 0; x < turned.width(); ++x) {
            ASSERT_EQ(turned.pixel(x, y), expected.pixel(x, y)) << x << "," << y;
            background += turned.pixel(x, y) == bg;
        }
    for (QPoint corner : {QPoint(0, 0), QPoint(turned.width() - 1, 0), QPoint(0, turned.height() - 1),
                          QPoint(turned.width() - 1, turned.height() - 1)})
        EXPECT_EQ(turned.pixel(corner), bg);
    // The four triangles hold about (W' H' - W H) pixels, plus the one source pixel.
    const int corners = turned.width() * turned.height() - 40 * 30;
    EXPECT_NEAR(background, corners, corners / 10);
}

TEST(Rotate, NarrowPicturesAndAnglesNearAQuarterFollowTheRuleToTheCorners)
{
    // Only the columns between a row's crossings of the picture's edges are mapped one by
    // one: a span cut too short or too long would show at these edges first.
    const QRgb bg = 0xFF0A0B0Cu;
    for (QSize size : {QSize(1, 9), QSize(9, 1), QSize(2, 2), QSize(3, 50), QSize(50, 3), QSize(64, 17)}) {
        const QImage src = noise(size.width(), size.height(), 21);
        for (double angle : {1.0, 10.0, 45.0, 89.0, 91.0, 135.0, 179.0, 181.0, 269.0, 271.0, 359.0, 0.01, 89.99})
            ASSERT_EQ(turn(src, angle, bg), mappedByTheRule(src, bg, angle))
                << size.width() << "x" << size.height() << " at " << angle;
    }
}

TEST(Rotate, RowsMadeBandByBandAreTheWholeTurnOnOneThreadOrMany)
{
    const QImage src = noise(67, 41, 8);
    const QRgb bg = 0xFF102030u;
    for (double angle : {0.0, 90.0, 180.0, 270.0, 45.0, -17.0, 200.0}) {
        const QImage whole = turn(src, angle, bg);
        const RotatedRows made(src, bg, angle);
        ASSERT_EQ(made.size(), whole.size()) << angle;
        for (int threads : {0, 1, 4}) {
            const PassThreadsOverride override(threads);
            // Bands of uneven heights, one row at the end.
            QImage rows = newWorkingImage(whole.width(), whole.height(), 0xFFFFFFFFu);
            const auto out = rowsOf(rows);
            for (int y = 0, n = 1; y < whole.height(); y += n, n = n % 13 + 5)
                made.make(y, std::min(n, whole.height() - y), {out[y], out.stride});
            EXPECT_EQ(rows, whole) << angle << " on " << threads;
        }
    }
}

namespace {
// A picture's pixels packed as a file holds them: 3 or 4 bytes a pixel, rows padded to
// 4 bytes and a few more, bottom up or top down, header bytes before the first row. The
// fourth byte of a 4-byte pixel is junk, as in a file whose writer left it.
struct Packed {
    QByteArray bytes;
    PackedPixels pixels;
};
Packed packedOf(const QImage &img, int bytesPerPixel, bool topDown)
{
    const int w = img.width(), h = img.height();
    const qsizetype row = (qsizetype(w) * bytesPerPixel + 3) / 4 * 4 + 4;
    Packed p;
    p.bytes = QByteArray(54 + row * h, char(0x5A));
    uchar *first = reinterpret_cast<uchar *>(p.bytes.data()) + 54;
    for (int y = 0; y < h; ++y) {
        uchar *d = first + (topDown ? y : h - 1 - y) * row;
        for (int x = 0; x < w; ++x, d += bytesPerPixel) {
            const QRgb c = img.pixel(x, y);
            d[0] = uchar(qBlue(c));
            d[1] = uchar(qGreen(c));
            d[2] = uchar(qRed(c));
            if (bytesPerPixel == 4)
                d[3] = uchar(x * 7 + y);
        }
    }
    p.pixels.width = w;
    p.pixels.height = h;
    p.pixels.bytesPerPixel = bytesPerPixel;
    p.pixels.stride = topDown ? row : -row;
    p.pixels.base = topDown ? first : first + (h - 1) * row;
    return p;
}

// Every byte of every pixel, the unused one too (QImage's == leaves it out).
bool sameBits(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return false;
    for (int y = 0; y < a.height(); ++y)
        if (std::memcmp(a.constScanLine(y), b.constScanLine(y), size_t(a.width()) * 4) != 0)
            return false;
    return true;
}
} // namespace

TEST(Rotate, PixelsReadWhereTheyLieTurnAsThePictureDoes)
{
    // Odd sizes, a single row or column, rows padded or not, both row orders, both pixel
    // sizes, every kind of angle, uneven bands on one thread or many.
    const QSize sizes[] = {QSize(1, 9), QSize(9, 1), QSize(2, 2), QSize(4, 50), QSize(67, 41), QSize(131, 7)};
    for (QSize size : sizes) {
        const QImage src = noise(size.width(), size.height(), 17);
        const QRgb bg = rotationBackground(src);
        for (int bytes : {3, 4})
            for (bool topDown : {false, true}) {
                const Packed packed = packedOf(src, bytes, topDown);
                ASSERT_EQ(rotationBackground(packed.pixels), bg);
                for (double angle : {1.0, 45.0, -17.0, 89.99, 200.0, 359.0, 0.0, 90.0, 180.0, 270.0}) {
                    const QImage whole = turn(src, angle, bg);
                    const RotatedRows made(packed.pixels, bg, angle);
                    ASSERT_EQ(made.size(), whole.size()) << angle;
                    for (int threads : {0, 4}) {
                        const PassThreadsOverride override(threads);
                        QImage rows = newWorkingImage(whole.width(), whole.height(), 0xFF000000u);
                        const auto out = rowsOf(rows);
                        for (int y = 0, n = 3; y < whole.height(); y += n, n = n % 11 + 4)
                            made.make(y, std::min(n, whole.height() - y), {out[y], out.stride});
                        ASSERT_TRUE(sameBits(rows, whole)) << size.width() << "x" << size.height() << ", " << bytes
                                               << " bytes, " << (topDown ? "top down" : "bottom up") << ", "
                                               << angle << " on " << threads;
                    }
                }
            }
    }
}
