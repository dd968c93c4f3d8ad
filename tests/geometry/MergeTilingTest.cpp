// Merging with the six raster operations and the tiling loop.
#include "GeometryKernels.h"
#include "Merge.h"
#include "TestPictures.h"
#include "Tiling.h"

#include <gtest/gtest.h>
#include <vector>

using namespace vermeo;
using namespace vermeo::geometry;
using namespace vermeo::test;

TEST(Merge, EveryOperationCombinesTheStretchedSecondPictureBitByBit)
{
    const QImage picture = noise(60, 40, 1), second = noise(17, 9, 2);
    const QImage stretched = stretchImage(second, 60, 40);
    // Result per bit, source s = second picture, destination d = picture.
    const std::vector<std::pair<const char *, QRgb (*)(QRgb, QRgb)>> rules = {
        {"Copie AND", [](QRgb s, QRgb d) { return s & d; }},
        {"Source inv. OR", [](QRgb s, QRgb d) { return ~s | d; }},
        {"Copie source inv.", [](QRgb s, QRgb) { return ~s; }},
        {"Copiue OR inv.", [](QRgb s, QRgb d) { return ~(s | d); }},
        {"Copie OR", [](QRgb s, QRgb d) { return s | d; }},
        {"Copie XOR", [](QRgb s, QRgb d) { return s ^ d; }},
    };
    ASSERT_EQ(mergeOperations().size(), rules.size());
    for (size_t i = 0; i < rules.size(); ++i) {
        const MergeOperation &op = mergeOperations()[i];
        EXPECT_EQ(op.number, int(i) + 1);
        EXPECT_STREQ(op.caption, rules[i].first);
        const QImage out = mergePictures(picture, second, op.mode);
        int wrong = 0;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 60; ++x)
                wrong += (out.pixel(x, y) & 0xFFFFFFu) !=
                         (rules[i].second(stretched.pixel(x, y), picture.pixel(x, y)) & 0xFFFFFFu);
        EXPECT_EQ(wrong, 0) << op.caption;
        EXPECT_EQ(mergeOperationNumber(QString::number(op.number)), op.number);
        EXPECT_EQ(mergeOperationNumber(QString::fromLatin1(op.name).toUpper()), op.number);
        EXPECT_EQ(mergeCopyMode(op.number), op.mode);
    }
    EXPECT_EQ(mergeOperationNumber(QStringLiteral("7")), 0);
    EXPECT_EQ(mergeOperationNumber(QStringLiteral("nand")), 0);
    EXPECT_EQ(mergeCopyMode(0), CopyMode::SrcAnd);
    EXPECT_EQ(mergeCopyMode(9), CopyMode::SrcAnd);
}

TEST(Tiling, TheLoopVisitsOneOffPicturePositionPerRowAndATileLargerThanThePictureOnce)
{
    std::vector<QPoint> seen;
    forEachTilePosition(QSize(100, 50), QSize(100, 20), [&](QPoint p) { seen.push_back(p); });
    EXPECT_EQ(seen, (std::vector<QPoint>{{0, 0}, {100, 0}, {0, 20}, {100, 20}, {0, 40}, {100, 40}}));
    seen.clear();
    forEachTilePosition(QSize(100, 50), QSize(150, 80), [&](QPoint p) { seen.push_back(p); });
    EXPECT_EQ(seen, (std::vector<QPoint>{{0, 0}}));
    seen.clear();
    forEachTilePosition(QSize(100, 40), QSize(30, 40), [&](QPoint p) { seen.push_back(p); });
    EXPECT_EQ(seen.size(), 8u); // x = 0, 30, 60, 90 on rows y = 0 and y = 40
}

TEST(Tiling, EveryPixelTakesItsTilePixelWithTheCanvasCopyMode)
{
    const QImage picture = noise(100, 50, 3);
    for (QSize t : {QSize(30, 20), QSize(1, 1), QSize(100, 50), QSize(150, 80), QSize(7, 60)}) {
        const QImage tile = noise(t.width(), t.height(), 9);
        for (CopyMode mode : {CopyMode::SrcCopy, CopyMode::SrcInvert}) {
            QImage out = picture.copy();
            Canvas c(&out);
            c.setCopyMode(mode);
            tilePicture(c, tile);
            int wrong = 0;
            for (int y = 0; y < 50; ++y)
                for (int x = 0; x < 100; ++x) {
                    const QRgb s = tile.pixel(x % t.width(), y % t.height());
                    const QRgb want = mode == CopyMode::SrcCopy ? s : (s ^ picture.pixel(x, y)) | 0xFF000000u;
                    wrong += out.pixel(x, y) != want;
                }
            EXPECT_EQ(wrong, 0) << t.width() << "x" << t.height();
        }
    }
}
