#include "DialogRunner.h"
#include "DrawingTestSupport.h"
#include "TestPictures.h"
#include "ToolPalette.h"

#include <gtest/gtest.h>

using namespace vermeo;
using namespace vermeo::test;

TEST(Attributes, EraserKeepsItsOwnWidthAcrossToolChanges)
{
    Board b(20, 20, 4);
    PenSize(b.doc, 5);
    SetFrame(b.doc, b.host, 8);
    EXPECT_EQ(b.host.shownWidth, 1); // the eraser's own width
    PenSize(b.doc, 20);
    EXPECT_EQ(b.doc.EraserWidth, 20);
    SetFrame(b.doc, b.host, 4);
    EXPECT_EQ(b.host.shownWidth, 5);
    EXPECT_EQ(b.doc.canvas().penWidth(), 5);
    SetFrame(b.doc, b.host, 8);
    EXPECT_EQ(b.host.shownWidth, 20);
}

TEST(Attributes, SetFrameRemembersToolsButNotSelections)
{
    Board b(20, 20, 0);
    SetFrame(b.doc, b.host, 5);
    EXPECT_EQ(b.doc.Tool, 5);
    EXPECT_EQ(b.doc.PrevTool, 0);
    EXPECT_EQ(b.host.cursor, Qt::CrossCursor);
    SetText(b.doc, b.host);
    EXPECT_EQ(b.doc.Tool, 6);
    EXPECT_EQ(b.host.cursor, Qt::IBeamCursor);
}

TEST(Attributes, SetIniMapsToolNumbersAndEndsWithGivenBrushStyle)
{
    const int expected[] = {4, 4, 0, 1, 2, 3, 7, 8, 9, 6, 10, 12, 4};
    for (int n = 0; n <= 12; ++n) {
        ImageDocument doc;
        RecordingHost host;
        doc.Init(10, 10, clWhite);
        SetIni(doc, host, n, 3, bsClear, clRed, clBlack, psDash);
        EXPECT_EQ(doc.Tool, expected[n]) << "tool number " << n;
        EXPECT_EQ(doc.PrevTool, doc.Tool);
        EXPECT_EQ(doc.canvas().brushStyle(), int(bsClear));
        EXPECT_EQ(doc.canvas().brushColour(), clRed);
        EXPECT_EQ(doc.canvas().penStyle(), int(psDash));
        EXPECT_EQ(n == 7 ? doc.EraserWidth : doc.canvas().penWidth(), 3);
    }
}

TEST(Attributes, FontStyleSigns)
{
    ImageDocument doc;
    SetStyle1(doc, '+');
    SetStyle3(doc, '+');
    EXPECT_EQ(doc.canvas().fontStyle(), fsBold | fsUnderline);
    SetStyle1(doc, '-');
    SetStyle2(doc, '+');
    EXPECT_EQ(doc.canvas().fontStyle(), fsItalic | fsUnderline);
    SetStyle2(doc, '?'); // neither sign: nothing
    EXPECT_EQ(doc.canvas().fontStyle(), fsItalic | fsUnderline);
    SetFontName(doc, QStringLiteral("DejaVu Serif"));
    SetFontSize(doc, 20);
    EXPECT_EQ(doc.canvas().font().family(), QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(doc.canvas().font().pointSize(), 20);
}

TEST(Palette, OrderFromBlackToWhiteRedFastest)
{
    EXPECT_EQ(paletteColour(0), clBlack);
    EXPECT_EQ(paletteColour(1), ComposeCouleur(127, 0, 0));
    EXPECT_EQ(paletteColour(2), ComposeCouleur(255, 0, 0));
    EXPECT_EQ(paletteColour(3), ComposeCouleur(0, 127, 0));
    EXPECT_EQ(paletteColour(9), ComposeCouleur(0, 0, 127));
    EXPECT_EQ(paletteColour(25), ComposeCouleur(127, 255, 255));
    EXPECT_EQ(paletteColour(26), clWhite);
}

TEST(Palette, FarRightSwatchMakesNextStrokeWhite)
{
    Board b(50, 50, 4);
    b.doc.replacePixels(test::filled(b.doc.width(), b.doc.height(), clBlack));
    MainDrawingState state;
    paletteClick(state, kPaletteCount - 1, {&b.doc, &b.host});
    EXPECT_EQ(state.foreColour, clWhite);
    b.mouse.drag({5, 25}, {45, 25}, 4);
    EXPECT_EQ(b.at(25, 25), clWhite);
}

TEST(Palette, CancelledColourDialogStillAppliesBothSwatches)
{
    ScriptedDialogs dialogs;
    Board b(20, 20, 4);
    ASSERT_EQ(b.doc.canvas().brushStyle(), int(bsClear));
    MainDrawingState state;
    state.foreColour = clRed;
    state.backColour = ComposeCouleur(0, 0, 255);
    dialogs.onColour = [](QColor &) { return false; };
    EXPECT_FALSE(swatchClick(state, true, {&b.doc, &b.host}, nullptr));
    EXPECT_EQ(state.foreColour, clRed);
    EXPECT_EQ(b.doc.canvas().penColour(), clRed);
    EXPECT_EQ(b.doc.canvas().brushColour(), ComposeCouleur(0, 0, 255));
    EXPECT_EQ(b.doc.canvas().brushStyle(), int(bsSolid));

    dialogs.onColour = [](QColor &c) {
        c = QColor(0, 200, 0);
        return true;
    };
    EXPECT_TRUE(swatchClick(state, false, {&b.doc, &b.host}, nullptr));
    EXPECT_EQ(state.backColour, ComposeCouleur(0, 200, 0));
    EXPECT_EQ(b.doc.canvas().brushColour(), ComposeCouleur(0, 200, 0));

    swapSwatches(state, {&b.doc, &b.host});
    EXPECT_EQ(b.doc.canvas().penColour(), ComposeCouleur(0, 200, 0));
    EXPECT_EQ(b.doc.canvas().brushColour(), clRed);
}

TEST(Palette, ToolButtonsAndNewWindowsGetLastPanelTool)
{
    const auto &buttons = toolButtons();
    ASSERT_EQ(buttons.size(), 14u);
    Board b(20, 20, 4);
    MainDrawingState state;
    toolButtonClick(state, 2, {&b.doc, &b.host});  // Rectangle
    toolButtonClick(state, 12, {&b.doc, &b.host}); // Sélection
    EXPECT_EQ(b.doc.Tool, 5);
    EXPECT_EQ(state.toolNumber, 3);
    ImageDocument fresh;
    RecordingHost freshHost;
    fresh.Init(10, 10, clWhite);
    applyMainState(state, fresh, freshHost);
    EXPECT_EQ(fresh.Tool, 1);

    SetCol(state, clRed, false, {&b.doc, &b.host});
    EXPECT_EQ(state.pickedColour, clRed);
    EXPECT_EQ(state.foreColour, clBlack);
    SetCol(state, clRed, true, {&b.doc, &b.host});
    EXPECT_EQ(state.foreColour, clRed);
    EXPECT_EQ(b.doc.canvas().penColour(), clRed);
    // No active window: only the main state changes.
    penWidthChanged(state, 7, {});
    EXPECT_EQ(state.penWidth, 7);
}
