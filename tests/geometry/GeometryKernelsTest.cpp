#include "GeometryKernels.h"
#include "Canvas.h"
#include "Error.h"
#include "Parallel.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

using namespace vermeo;
using namespace vermeo::geometry;

namespace {
QImage noise(int w, int h, quint32 seed = 7)
{
    QImage img(w, h, QImage::Format_RGB32);
    QRandomGenerator rng(seed);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, 0xFF000000u | (rng.generate() & 0xFFFFFFu));
    return img;
}
} // namespace

TEST(GeometryKernels, StretchMatchesTheDrawingSurfaceAndRoundTripsIntegerFactors)
{
    const QImage src = noise(37, 23);
    for (QSize s : {QSize(100, 7), QSize(12, 80), QSize(37, 23), QSize(5, 5)}) {
        QImage viaCanvas(s, QImage::Format_RGB32);
        viaCanvas.fill(Qt::black);
        Canvas c(&viaCanvas);
        c.StretchDraw(viaCanvas.rect(), src);
        EXPECT_EQ(stretchImage(src, s.width(), s.height()), viaCanvas) << s.width() << "x" << s.height();
    }
    const QImage up = stretchImage(src, 37 * 3, 23 * 3);
    EXPECT_EQ(up.pixel(3 * 10 + 2, 3 * 5 + 1), src.pixel(10, 5));
    EXPECT_EQ(stretchImage(up, 37, 23), src);
}

TEST(GeometryKernels, BadSizesAreRefusedInFrench)
{
    const QImage src = noise(4, 4);
    EXPECT_THROW(stretchImage(src, 0, 10), VermeoError);
    EXPECT_THROW(stretchImage(src, 10, -1), VermeoError);
    EXPECT_THROW(stretchImage(src, 100000, 100000), VermeoError);
    EXPECT_THROW(cropImage(src, QRect(2, 2, 0, 3)), VermeoError);
}

TEST(GeometryKernels, EnlargeAndCropKeepPixelsAndFillWhite)
{
    const QImage src = noise(10, 6);
    const QImage big = enlargeCanvas(src, 21, 9, QPoint(5, 1));
    ASSERT_EQ(big.size(), QSize(21, 9));
    EXPECT_EQ(big.copy(5, 1, 10, 6), src);
    EXPECT_EQ(big.pixel(4, 1), 0xFFFFFFFFu);
    EXPECT_EQ(big.pixel(15, 6), 0xFFFFFFFFu);
    EXPECT_EQ(big.pixel(5, 0), 0xFFFFFFFFu);

    const QImage part = cropImage(src, QRect(QPoint(8, 4), QPoint(11, 7)));
    ASSERT_EQ(part.size(), QSize(4, 4));
    EXPECT_EQ(part.pixel(0, 0), src.pixel(8, 4));
    EXPECT_EQ(part.pixel(1, 1), src.pixel(9, 5));
    EXPECT_EQ(part.pixel(2, 0), 0xFFFFFFFFu); // outside the picture
    EXPECT_EQ(part.pixel(0, 2), 0xFFFFFFFFu);
}

TEST(GeometryKernels, MirrorsTurnTheRightWay)
{
    const QImage src = noise(31, 17);
    const QImage h = mirrorHorizontal(src), v = mirrorVertical(src);
    EXPECT_EQ(h.pixel(3, 0), src.pixel(3, 16));
    EXPECT_EQ(v.pixel(0, 3), src.pixel(30, 3));
    // Same result as the drawing surface's mirrored stretch.
    QImage viaCanvasV = src.copy();
    Canvas cv(&viaCanvasV);
    cv.StretchDraw(QRect(31, 0, -31, 17), src);
    EXPECT_EQ(viaCanvasV, v);
}

TEST(GeometryKernels, FrameIsCentredOnTheEdge)
{
    QImage img(60, 40, QImage::Format_RGB32);
    img.fill(Qt::white);
    QImage untouched = img.copy();
    drawFrame(untouched, 0, clRed);
    EXPECT_EQ(untouched, img);
    drawFrame(img, 20, clRed);
    const QRgb red = toQRgb(clRed);
    EXPECT_EQ(img.pixel(9, 20), red);
    EXPECT_EQ(img.pixel(59, 20), red);
    EXPECT_EQ(img.pixel(30, 39), red);
    EXPECT_EQ(img.pixel(12, 20), 0xFFFFFFFFu);
}

// Mirrors and canvas enlargement run by bands on several threads: the same pictures as
// one band, on odd sizes too.
TEST(GeometryKernels, BandsOnSeveralThreadsGiveTheSingleBandResult)
{
    for (QSize size : {QSize(1, 1), QSize(1, 4001), QSize(6001, 3), QSize(37, 301)}) {
        const QImage src = noise(size.width(), size.height(), 3);
        std::vector<QImage> one, many;
        for (int threads : {0, 7}) {
            PassThreadsOverride override(threads);
            auto &out = threads == 0 ? one : many;
            out.push_back(mirrorHorizontal(src));
            out.push_back(mirrorVertical(src));
            out.push_back(enlargeCanvas(src, size.width() + 9, size.height() + 70, QPoint(5, 33)));
            out.push_back(cropImage(src, QRect(-2, -3, size.width() + 1, size.height() + 5)));
        }
        for (size_t i = 0; i < one.size(); ++i)
            EXPECT_EQ(many[i], one[i]) << i << " at " << size.width() << "x" << size.height();
    }
    // The white around an enlarged picture.
    const QImage e = enlargeCanvas(noise(3, 2), 6, 5, QPoint(2, 1));
    EXPECT_EQ(e.pixel(1, 1), 0xFFFFFFFFu);
    EXPECT_EQ(e.pixel(5, 2), 0xFFFFFFFFu);
    EXPECT_EQ(e.pixel(2, 4), 0xFFFFFFFFu);
    EXPECT_EQ(e.pixel(2, 1), noise(3, 2).pixel(0, 0));
}
