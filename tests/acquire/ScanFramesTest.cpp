// Scanner frames the simulated scanner does not send: damaged layouts and short data.
#include "ScanFrames.h"
#include "Error.h"
#include "ScreenCapture.h"

#include <QPainter>
#include <gtest/gtest.h>

using namespace vermeo;
using namespace vermeo::acquire;

namespace {
RawFrame frame(int format, int depth, int bytesPerLine, int pixels, int lines, QByteArray bytes = {})
{
    RawFrame f;
    f.format = format;
    f.depth = depth;
    f.bytesPerLine = bytesPerLine;
    f.pixelsPerLine = pixels;
    f.lines = lines;
    f.bytes = std::move(bytes);
    return f;
}
} // namespace

TEST(ScanFrames, LayoutsWeCannotReadAreRefusedBeforeAllocating)
{
    const RawFrame bad[] = {
        frame(FrameRgb, 8, 29, 10, 5),            // rows shorter than their pixels
        frame(FrameGray, 4, 10, 10, 5),           // no such depth
        frame(7, 8, 10, 10, 5),                   // no such format
        frame(FrameGray, 8, 10, 10, 0),           // no rows
        frame(FrameGray, 8, 0, 0, 5),             // no columns
        frame(FrameGray, 8, 60000, 60000, 60000), // far too large
        frame(FrameGray, 1, -1, 8, 5),            // negative row length
    };
    for (const RawFrame &f : bad)
        EXPECT_THROW(frameToImage(f), VermeoError) << f.format << " " << f.depth << " " << f.bytesPerLine;
}

TEST(ScanFrames, ShortDataLeavesWhiteRowsAndPaddingIsSkipped)
{
    // Two of three rows arrived, each with two bytes of padding after its 3 pixels.
    const QByteArray bytes("\x00\x80\xFF..\x10\x20\x30..", 10);
    const QImage img = frameToImage(frame(FrameGray, 8, 5, 3, 3, bytes));
    ASSERT_EQ(img.size(), QSize(3, 3));
    EXPECT_EQ(img.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(img.pixel(1, 0), qRgb(0x80, 0x80, 0x80));
    EXPECT_EQ(img.pixel(2, 1), qRgb(0x30, 0x30, 0x30));
    EXPECT_EQ(img.pixel(1, 2), qRgb(255, 255, 255));

    // A hand scanner announces no length: as many whole rows as arrived.
    const QImage hand = frameToImage(frame(FrameGray, 8, 5, 3, -1, bytes + "xx"));
    EXPECT_EQ(hand.size(), QSize(3, 2));
}

TEST(ScanFrames, BandsOfAThreePassScanFillTheirChannels)
{
    QImage img;
    mergeBand(img, frame(FrameRed, 8, 2, 2, 1, QByteArray("\x10\x20", 2)));
    mergeBand(img, frame(FrameGreen, 8, 2, 2, 1, QByteArray("\x30\x40", 2)));
    mergeBand(img, frame(FrameBlue, 1, 1, 2, 1, QByteArray("\x80", 1)));
    EXPECT_EQ(img.pixel(0, 0), qRgb(0x10, 0x30, 0xFF));
    EXPECT_EQ(img.pixel(1, 0), qRgb(0x20, 0x40, 0x00));
}

TEST(ScreenCapturePicture, BlockAtTheCornerTheRestWhiteAndClipped)
{
    QImage small(300, 200, QImage::Format_RGB32);
    small.fill(qRgb(10, 20, 30));
    const QImage a = composeCapture(small);
    ASSERT_EQ(a.size(), QSize(800, 600));
    EXPECT_EQ(a.copy(0, 0, 300, 200), small);
    EXPECT_EQ(a.pixel(300, 0), qRgb(255, 255, 255));
    EXPECT_EQ(a.pixel(0, 200), qRgb(255, 255, 255));
    EXPECT_EQ(a.pixel(799, 599), qRgb(255, 255, 255));

    QImage big(1000, 700, QImage::Format_ARGB32);
    big.fill(qRgb(200, 100, 0));
    big.setDevicePixelRatio(2);
    const QImage b = composeCapture(big);
    EXPECT_EQ(b.size(), QSize(800, 600));
    EXPECT_EQ(b.pixel(799, 599), qRgb(200, 100, 0));
    EXPECT_EQ(b.format(), QImage::Format_RGB32);

    const QImage none = composeCapture({});
    EXPECT_EQ(none.pixel(400, 300), qRgb(255, 255, 255));
}
