#include "PixelBuffers.h"

#include <gtest/gtest.h>

#include <thread>

using namespace vermeo;

namespace {
// 9 MB: large enough to be kept.
constexpr int kW = 2048, kH = 1152;
const uchar *bitsOf(const QImage &img) { return img.constBits(); }
} // namespace

// A freed large picture's memory goes to the next picture of its size alone, never while
// any copy of the first still holds it, and at most four are kept.
TEST(PixelBuffers, FreedMemoryGoesToTheNextPictureOfItsSizeOnly)
{
    releaseKeptPixels();
    QImage a = pooledImage(kW, kH);
    ASSERT_FALSE(a.isNull());
    EXPECT_EQ(a.bytesPerLine(), kW * 4);
    const uchar *first = bitsOf(a);
    QImage shared = a; // an undo step holding it
    a = QImage();
    EXPECT_EQ(keptPixelBytes(), 0) << "still held by the copy";
    const QImage other = pooledImage(kW, kH);
    EXPECT_NE(bitsOf(other), first);
    shared = QImage();
    EXPECT_GE(keptPixelBytes(), qsizetype(kW) * kH * 4);

    const QImage wider = pooledImage(kW + 64, kH);
    EXPECT_NE(bitsOf(wider), first) << "another size";
    QImage again = pooledImage(kW, kH);
    EXPECT_EQ(bitsOf(again), first) << "the same size takes it back";
    EXPECT_EQ(keptPixelBytes(), 0);

    // Freed on another thread (a journal's copy, a thumbnail) it is kept all the same.
    std::thread([img = std::move(again)]() mutable { img = QImage(); }).join();
    EXPECT_EQ(bitsOf(pooledImage(kW, kH)), first);

    std::vector<QImage> many;
    for (int i = 0; i < 6; ++i)
        many.push_back(pooledImage(kW, kH));
    many.clear();
    EXPECT_EQ(keptPixelBytes(), 4 * qsizetype(kW) * kH * 4) << "four are kept, the rest goes back";
    releaseKeptPixels();
    EXPECT_EQ(keptPixelBytes(), 0);

    const QImage small = pooledImage(100, 100);
    ASSERT_FALSE(small.isNull());
    EXPECT_EQ(small.format(), QImage::Format_RGB32);
}

// Written while shared, a kept-memory picture is copied as any other: the other holder
// keeps its pixels.
TEST(PixelBuffers, PicturesOnKeptMemoryCopyOnWrite)
{
    QImage a = pooledImage(kW, kH);
    a.fill(qRgb(10, 20, 30));
    const QImage held = a;
    a.setPixel(5, 5, qRgb(200, 0, 0));
    EXPECT_EQ(held.pixel(5, 5), qRgb(10, 20, 30));
    EXPECT_EQ(a.pixel(5, 5), qRgb(200, 0, 0));
    EXPECT_NE(bitsOf(a), bitsOf(held));
}
