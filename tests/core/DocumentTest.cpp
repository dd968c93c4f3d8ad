#include "ImageDocument.h"
#include "TestPictures.h"

#include <gtest/gtest.h>

using namespace vermeo;

TEST(Document, InitFillsAndStartsAtActualSize)
{
    ImageDocument d;
    d.Init(40, 30, 0x000000FF);
    EXPECT_EQ(d.image().size(), QSize(40, 30));
    EXPECT_EQ(d.image().pixel(39, 29), qRgb(255, 0, 0));
    EXPECT_EQ(d.zoomLevel(), 0);
    EXPECT_EQ(d.view().size(), QSize(40, 30));
    EXPECT_FALSE(d.modified());
}

TEST(Document, AnnuleTwiceGivesTheSameResult)
{
    ImageDocument d;
    d.Init(10, 10, clWhite);
    d.SauveUndo();
    d.canvas().SetPixel(1, 1, clBlack);
    d.Annule();
    EXPECT_EQ(d.image().pixel(1, 1), qRgb(255, 255, 255));
    d.canvas().SetPixel(2, 2, clBlack);
    d.Annule();
    d.Annule();
    EXPECT_EQ(d.image().pixel(2, 2), qRgb(255, 255, 255));
    EXPECT_EQ(d.image().pixel(1, 1), qRgb(255, 255, 255));
}

TEST(Document, EffacePaintsWhiteKeepsStylesAndMarksModified)
{
    ImageDocument d;
    d.Init(8, 8, 0x00336699);
    d.canvas().setPenWidth(5);
    d.canvas().setBrushStyle(bsCross);
    d.Tool = tcEllipse;
    d.Efface();
    EXPECT_EQ(d.image().pixel(3, 3), qRgb(255, 255, 255));
    EXPECT_EQ(d.canvas().penWidth(), 5);
    EXPECT_EQ(d.canvas().brushStyle(), bsCross);
    EXPECT_EQ(d.Tool, tcEllipse);
    EXPECT_TRUE(d.modified());
    d.Annule();
    EXPECT_EQ(d.image().pixel(3, 3), qRgb(0x99, 0x66, 0x33));
}

// The undo record keeps the state of the last SauveUndo whatever comes after it:
// strokes in several places, a whole replacement after a stroke, a new size and depth.
TEST(Document, UndoBringsBackPixelsSizeDepthPaletteAndZoomTogether)
{
    ImageDocument d;
    const Picture pal = test::palettePicture(300, 200, 4);
    d.Init(300, 200, clWhite);
    d.replacePicture(pal);
    d.SauveUndo();
    d.canvas().SetPixel(5, 5, clBlack);         // a first tile kept
    d.canvas().SetPixel(290, 190, clBlack);     // another one
    d.replaceAsTrueColour(test::noise(30, 20)); // then the whole picture replaced
    d.setZoomLevel(2);
    d.Annule();
    EXPECT_EQ(d.image(), pal.image);
    EXPECT_EQ(d.picture().depth, 4);
    EXPECT_EQ(d.picture().palette, pal.palette);
    EXPECT_EQ(d.zoomLevel(), 0);
    EXPECT_EQ(d.view().size(), QSize(300, 200));
}

TEST(Document, AStrokeKeepsOnlyTheTilesItTouches)
{
    ImageDocument d;
    d.Init(2000, 1500, clWhite);
    d.SauveUndo();
    EXPECT_EQ(d.undoRecord().keptBytes(), 0);
    d.canvas().MoveTo(10, 10);
    d.canvas().LineTo(100, 20);
    EXPECT_LE(d.undoRecord().keptBytes(), 128 * 128 * 4);
    // A whole replacement keeps the old picture itself: no copy of its pixels.
    const QImage old = d.image();
    d.SauveUndo();
    d.replacePixels(test::noise(2000, 1500));
    d.Annule();
    EXPECT_EQ(d.image().constBits(), old.constBits());
}

TEST(Document, ALineDrawnUpOrLeftIsShownAndUndoneToItsFirstPixel)
{
    // From the first pixel of a tile of the undo record up and to the left: the first
    // pixel lies in another tile row and column than the rest of the line.
    for (const QPoint to : {QPoint(100, 100), QPoint(200, 100), QPoint(100, 200)}) {
        ImageDocument d;
        d.Init(300, 300, clWhite);
        QRegion shown;
        d.onChanged = [&](const QRegion &r) { shown += r; };
        d.SauveUndo();
        d.canvas().setPenColour(clBlack);
        d.canvas().MoveTo(128, 128);
        d.canvas().LineTo(to.x(), to.y());
        d.flush();
        EXPECT_EQ(d.image().pixel(128, 128), qRgb(0, 0, 0));
        EXPECT_TRUE(shown.contains(QPoint(128, 128))) << to.x() << "," << to.y();
        d.Annule();
        EXPECT_EQ(d.image().pixel(128, 128), qRgb(255, 255, 255)) << to.x() << "," << to.y();
    }
}

// A history on a large picture: each stroke holds its tiles only, in undo and in redo
// alike, and a whole-picture step holds the old picture and no copy of it.
TEST(Document, AHundredStrokesOnALargePictureHoldTheirTilesOnlyBothWays)
{
    ImageDocument d;
    d.Init(6000, 4000, clWhite);
    const QImage blank = d.image().copy();
    for (int i = 0; i < 100; ++i) {
        d.SauveUndo();
        d.canvas().MoveTo(30 + 59 * i, 100 + 37 * i);
        d.canvas().LineTo(90 + 59 * i, 110 + 37 * i);
        d.flush();
        d.Modif();
    }
    const QImage drawn = d.image().copy();
    // At most two tiles a stroke, and a little bookkeeping.
    const long long tiles = 100LL * 2 * 128 * 128 * 4;
    EXPECT_LE(d.history().heldBytes(), tiles + 100 * 4096);
    for (int i = 0; i < 100; ++i)
        d.Annule();
    EXPECT_EQ(d.image(), blank);
    EXPECT_FALSE(d.modified());
    EXPECT_EQ(d.history().redoSteps(), 100);
    EXPECT_LE(d.history().heldBytes(), tiles + 100 * 4096);
    for (int i = 0; i < 100; ++i)
        d.Retablit();
    EXPECT_EQ(d.image(), drawn);
    EXPECT_TRUE(d.modified());

    // Inverting the whole picture: its step is the old picture itself.
    const long long before = d.history().heldBytes();
    d.SauveUndo();
    const QImage old = d.image();
    QImage inverted = d.image().copy();
    inverted.invertPixels();
    d.replacePixels(inverted);
    EXPECT_LE(d.history().heldBytes() - before, old.sizeInBytes() + 4096);
    d.Annule();
    EXPECT_EQ(d.image().constBits(), old.constBits());
    d.Retablit();
    EXPECT_EQ(d.image(), inverted);
}

// Steps of depth and palette alone (a declared depth changed in place) come back too,
// and the first undo after a SauveUndo with no change since gives that state again.
TEST(Document, DepthStepsAndTheStateOfTheLastSauveUndo)
{
    ImageDocument d;
    const Picture pal = test::palettePicture(64, 48, 8);
    d.Init(64, 48, clWhite);
    d.replacePicture(pal);
    d.startHistory(true);
    d.SauveUndo();
    d.setDeclaredDepth(24);
    d.Modif();
    d.SauveUndo(); // nothing changes after this one
    d.Annule();
    EXPECT_EQ(d.picture().depth, 24);
    d.Annule();
    EXPECT_EQ(d.picture().depth, 8);
    EXPECT_EQ(d.picture().palette, pal.palette);
    EXPECT_FALSE(d.modified());
    EXPECT_TRUE(d.canRedo());
    d.Retablit();
    EXPECT_EQ(d.picture().depth, 24);
    EXPECT_TRUE(d.picture().palette.isEmpty());
    EXPECT_FALSE(d.canRedo());
}

// The budget holds for all open pictures together: the oldest step of either goes first,
// and each keeps its last step.
TEST(Document, TheBudgetIsSharedAndTheOldestStepOfAnyPictureGoesFirst)
{
    ImageDocument a, b;
    a.Init(256, 128, clWhite);
    b.Init(256, 128, clWhite);
    auto stroke = [](ImageDocument &d, int tile) {
        d.SauveUndo();
        d.canvas().setPenColour(clBlack);
        d.canvas().MoveTo(tile * 128 + 10, 10);
        d.canvas().LineTo(tile * 128 + 100, 100);
        d.flush();
        d.Modif();
    };
    stroke(a, 0);
    stroke(a, 1);
    stroke(b, 0);
    stroke(b, 1);
    a.SauveUndo();
    b.SauveUndo();
    ASSERT_EQ(a.history().undoSteps(), 2);
    ASSERT_EQ(b.history().undoSteps(), 2);
    const long long step = 128 * 128 * 4;
    const long long others = UndoHistory::allHeldBytes() - a.history().heldBytes() - b.history().heldBytes();
    // Room for three of the four steps: a's first stroke, the oldest, goes.
    b.history().setBudget(others + step * 7 / 2);
    EXPECT_EQ(a.history().undoSteps(), 1);
    EXPECT_EQ(b.history().undoSteps(), 2);
    // Room for one: each picture still keeps its last step.
    b.history().setBudget(others + step);
    EXPECT_EQ(a.history().undoSteps(), 1);
    EXPECT_EQ(b.history().undoSteps(), 1);
    EXPECT_EQ(a.image().pixel(148, 20), qRgb(0, 0, 0));
    a.Annule(); // the state of the last SauveUndo
    a.Annule();
    a.Annule();
    EXPECT_EQ(a.image().pixel(20, 20), qRgb(0, 0, 0)) << "the first stroke stays for good";
    EXPECT_EQ(a.image().pixel(148, 20), qRgb(255, 255, 255));
    EXPECT_TRUE(a.modified());
}
