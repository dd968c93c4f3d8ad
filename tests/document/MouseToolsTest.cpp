#include "DrawingTestSupport.h"
#include "Figures.h"
#include "TestPictures.h"

#include <gtest/gtest.h>

using namespace vermeo;
using namespace vermeo::test;

namespace {
QImage whiteImage(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::white);
    return img;
}
} // namespace

TEST(RubberBand, LineDragLeavesExactlyTheFinalLine)
{
    Board b(120, 90, 0);
    const ShiftState held = leftHeld();
    b.mouse.press(Qt::LeftButton, held, 10, 10);
    // Wander about, crossing earlier bands, before settling on the end point.
    const QPoint path[] = {{40, 70}, {100, 20}, {5, 80}, {60, 60}, {61, 60}, {90, 45}};
    for (QPoint p : path)
        b.mouse.move(held, p.x(), p.y());
    b.mouse.release(Qt::LeftButton, ShiftState{}, 90, 45);

    QImage expected = whiteImage(120, 90);
    Canvas c(&expected);
    c.MoveTo(10, 10);
    c.LineTo(90, 45);
    EXPECT_EQ(b.doc.image(), expected);
    EXPECT_TRUE(b.doc.modified());
    EXPECT_FALSE(b.doc.ButtonDown);
}

TEST(RubberBand, ReleaseAwayFromLastMoveLeavesNoBand)
{
    Board b(80, 80, 1);
    b.mouse.press(Qt::LeftButton, leftHeld(), 10, 10);
    b.mouse.move(leftHeld(), 50, 50);
    b.mouse.release(Qt::LeftButton, ShiftState{}, 30, 30);
    QImage expected = whiteImage(80, 80);
    Canvas c(&expected);
    c.setBrushStyle(bsClear);
    c.Rectangle(10, 10, 30, 30);
    EXPECT_EQ(b.doc.image(), expected);
}

TEST(RubberBand, PressAndReleaseWithoutMovingCommitsAndMarksModified)
{
    Board b(50, 50, 1);
    b.doc.canvas().setPenColour(clRed);
    b.doc.setModified(false);
    b.mouse.click(20, 20);
    EXPECT_TRUE(b.doc.modified());
    EXPECT_EQ(b.doc.image(), whiteImage(50, 50)); // both corners at one point: an empty figure
    EXPECT_EQ(b.host.panel[0], QStringLiteral("Position : (20,20)"));
}

TEST(RubberBand, FilledShapesAndUndoOfOneFigure)
{
    Board b(100, 100, 2);
    SetColors(b.doc, clBlack, clRed); // clear brush becomes solid
    b.mouse.drag({10, 10}, {70, 50}, 12);
    EXPECT_EQ(b.at(40, 30), clRed);
    EXPECT_EQ(b.at(11, 11), clWhite); // outside the ellipse, inside its box
    SetFrame(b.doc, b.host, 3);
    b.mouse.drag({20, 60}, {90, 95}, 5);
    EXPECT_EQ(b.at(55, 77), clRed);
    b.doc.Annule();
    EXPECT_EQ(b.at(55, 77), clWhite); // only the last figure went
    EXPECT_EQ(b.at(40, 30), clRed);
}

TEST(Freehand, PencilKeepsPressPositionWhileLineFollowsMouse)
{
    Board pencil(100, 100, 4);
    pencil.mouse.drag({10, 10}, {80, 60}, 10);
    EXPECT_EQ(pencil.host.panel[0], QStringLiteral("Position : (10,10)"));
    EXPECT_EQ(pencil.at(10, 10), clBlack);
    EXPECT_EQ(pencil.at(45, 35), clBlack);

    Board line(100, 100, 0);
    line.mouse.drag({10, 10}, {80, 60}, 10);
    EXPECT_EQ(line.host.panel[0], QStringLiteral("Position : (80,60)"));
}

TEST(Freehand, EraserPaintsFillColourWithItsOwnWidth)
{
    Board b(100, 100, 4);
    b.doc.replacePixels(test::filled(b.doc.width(), b.doc.height(), clBlack));
    SetIni(b.doc, b.host, 7, 20, bsClear, clRed, clBlack, psSolid); // eraser, width 20
    EXPECT_EQ(b.doc.Tool, 8);
    EXPECT_EQ(b.doc.EraserWidth, 20);
    EXPECT_EQ(b.doc.canvas().penWidth(), 1);
    b.mouse.drag({10, 50}, {90, 50}, 8);
    EXPECT_EQ(b.at(50, 50), clRed);
    EXPECT_EQ(b.at(50, 57), clRed);
    EXPECT_EQ(b.at(50, 70), clBlack);
    EXPECT_EQ(b.doc.canvas().penColour(), clBlack); // pen given back
    EXPECT_EQ(b.doc.canvas().penWidth(), 1);
}

TEST(Polygon, ClearBrushGivesOpenOutlineOtherwiseFilled)
{
    const QPoint pts[] = {{10, 10}, {90, 10}, {90, 90}, {10, 90}};
    Board open(100, 100, 9);
    for (QPoint p : pts)
        open.mouse.click(p.x(), p.y());
    EXPECT_EQ(open.doc.PolyCount, 3);
    EXPECT_EQ(open.at(90, 50), clBlack);
    EXPECT_EQ(open.at(10, 50), clWhite); // last vertex not joined to the first
    EXPECT_EQ(open.at(50, 50), clWhite);

    Board filled(100, 100, 9);
    SetColors(filled.doc, clBlack, clRed);
    for (QPoint p : pts)
        filled.mouse.click(p.x(), p.y());
    EXPECT_EQ(filled.at(50, 50), clRed);
    EXPECT_EQ(filled.at(10, 50), clBlack); // closed
}

TEST(Polygon, KeepsAtMost101VerticesAndDoubleClickCloses)
{
    Board b(200, 200, 9);
    for (int i = 0; i < 110; ++i)
        b.mouse.click(i % 2 ? 10 : 190, i + 5);
    EXPECT_EQ(b.doc.PolyCount, 100);
    EXPECT_EQ(b.doc.PolyPts[100], QPoint(190, 105)); // the 101st click
    EXPECT_TRUE(b.doc.PolyOpen);

    const QImage before = b.doc.image();
    b.mouse.doubleClick(Qt::LeftButton, leftHeld(), 10, 105);
    b.mouse.release(Qt::LeftButton, ShiftState{}, 10, 105);
    EXPECT_FALSE(b.doc.PolyOpen);
    EXPECT_EQ(b.doc.PolyPts[50], QPoint(0, 0));
    EXPECT_EQ(b.doc.image(), before); // what was drawn stays

    b.mouse.click(30, 30); // a new polygon starts at vertex 0
    EXPECT_TRUE(b.doc.PolyOpen);
    EXPECT_EQ(b.doc.PolyCount, 0);
    EXPECT_EQ(b.doc.PolyPts[0], QPoint(30, 30));
}

TEST(Stamp, AltPressSetsSourceAndLaterClicksCopyItsColour)
{
    Board b(100, 100, 12);
    b.doc.canvas().SetPixel(5, 5, fromQRgb(qRgb(255, 0, 0)));
    const QImage before = b.doc.image();
    b.mouse.press(Qt::LeftButton, leftHeld(true), 5, 5);
    b.mouse.release(Qt::LeftButton, ShiftState{}, 5, 5);
    EXPECT_EQ(b.doc.StampSource, QPoint(5, 5));
    EXPECT_TRUE(b.doc.StampArmed);
    EXPECT_EQ(b.doc.image(), before); // the Alt click itself draws nothing

    b.mouse.click(50, 50);
    EXPECT_EQ(b.at(50, 52), clRed);
    EXPECT_EQ(b.doc.canvas().penWidth(), 1);
    EXPECT_EQ(b.doc.canvas().penColour(), clBlack);

    b.doc.canvas().SetPixel(5, 5, fromQRgb(qRgb(0, 0, 255))); // the colour is read at each click
    b.mouse.click(70, 70);
    EXPECT_EQ(b.at(70, 72), TColour(0xFF0000));
    EXPECT_EQ(b.doc.StampSource, QPoint(5, 5));
}

TEST(Stamp, AltWithAnotherKeyDoesNotMoveTheSource)
{
    Board b(40, 40, 12);
    b.mouse.press(Qt::LeftButton, leftHeld(true), 5, 5);
    b.mouse.release(Qt::LeftButton, ShiftState{}, 5, 5);
    ShiftState altCtrl = leftHeld(true);
    altCtrl.ctrl = true;
    b.mouse.press(Qt::LeftButton, altCtrl, 20, 20);
    b.mouse.release(Qt::LeftButton, ShiftState{}, 20, 20);
    EXPECT_EQ(b.doc.StampSource, QPoint(5, 5));
}

TEST(FloodFill, StopsAtOtherColoursAndLeavesBrushSolid)
{
    Board b(60, 60, 7);
    Canvas &c = b.doc.canvas();
    c.setBrushStyle(bsClear);
    c.Rectangle(10, 10, 40, 40); // black outline
    // (5,5) touches the outside only through its corners.
    for (QPoint p : {QPoint(4, 5), QPoint(6, 5), QPoint(5, 4), QPoint(5, 6)})
        b.doc.canvas().SetPixel(p.x(), p.y(), fromQRgb(qRgb(0, 0, 0)));
    SetColors(b.doc, clRed, clWhite);
    c.setBrushStyle(bsClear);
    b.mouse.click(20, 20);
    EXPECT_EQ(b.at(20, 20), clRed);
    EXPECT_EQ(b.at(38, 38), clRed);
    EXPECT_EQ(b.at(10, 20), clBlack);
    EXPECT_EQ(b.at(50, 50), clWhite);
    EXPECT_EQ(c.brushStyle(), int(bsSolid));
    EXPECT_EQ(c.brushColour(), clWhite);
    EXPECT_TRUE(b.doc.modified());

    const QImage shared = b.doc.image(); // the fill must not write through a shared copy
    b.mouse.click(50, 50);
    EXPECT_EQ(fromQRgb(shared.pixel(50, 50)), clWhite);
    EXPECT_EQ(b.at(50, 50), clRed);
    EXPECT_EQ(b.at(4, 4), clRed);
    EXPECT_EQ(b.at(5, 5), clWhite); // not reached diagonally
    EXPECT_EQ(b.at(10, 20), clBlack);

    // A hatched brush fills only its lines, still limited to the area.
    Board h(40, 40, 7);
    h.doc.canvas().Rectangle(5, 5, 35, 35);
    SetColors(h.doc, clBlack, clRed);
    SetBrush(h.doc, bsHorizontal);
    const QImage hatchedShared = h.doc.image();
    h.doc.canvas().FloodFill(20, 20);
    EXPECT_EQ(hatchedShared.pixel(20, 20) & 0xFFFFFFu, 0xFFFFFFu);
    int inked = 0;
    for (int y = 6; y < 34; ++y)
        inked += h.at(20, y) != clWhite;
    EXPECT_GT(inked, 0);
    EXPECT_LT(inked, 28);
    EXPECT_EQ(h.at(2, 2), clWhite);
}

TEST(Pipette, ClickPicksColourAndDrawsNothing)
{
    Board b(40, 40, 7);
    b.doc.canvas().SetPixel(8, 9, fromQRgb(qRgb(10, 20, 30)));
    Pipette(b.doc, b.host);
    const QImage before = b.doc.image();
    b.mouse.click(8, 9);
    ASSERT_EQ(b.host.picked.size(), 1u);
    EXPECT_EQ(b.host.picked[0], ComposeCouleur(10, 20, 30));
    EXPECT_EQ(b.doc.image(), before); // the fill was not run
    SetFrame(b.doc, b.host, 7);
    EXPECT_FALSE(b.doc.PipetteMode);
}

TEST(Selection, DragShowsMarkerAndNextClickRemovesIt)
{
    Board b(80, 80, 5);
    b.doc.canvas().SetPixel(40, 40, fromQRgb(qRgb(0, 128, 0)));
    const QImage original = b.doc.image();
    b.mouse.drag({60, 50}, {10, 15}, 6);
    EXPECT_TRUE(b.doc.RectSelected);
    EXPECT_EQ(b.doc.SelRect.left(), 60);
    EXPECT_EQ(b.doc.SelRect.bottom(), 15);
    // The outline is shown over the picture, not drawn into it.
    EXPECT_EQ(b.doc.image(), original);
    EXPECT_NE(viewWithMarks(b.doc, b.doc.view().rect()), original);
    EXPECT_EQ(b.doc.canvas().penStyle(), int(psSolid));
    EXPECT_EQ(b.doc.canvas().brushStyle(), int(bsClear));

    b.mouse.click(70, 70);
    EXPECT_EQ(viewWithMarks(b.doc, b.doc.view().rect()), original);
    EXPECT_EQ(b.doc.Tool, tcRectSelection);
}

TEST(Selection, StrayReleaseMakesNoSelection)
{
    Board b(40, 40, 11);
    FormMouseUp(b.doc, b.host, Qt::LeftButton, ShiftState{}, 30, 30);
    EXPECT_FALSE(b.doc.OvalSelected);
    EXPECT_FALSE(b.doc.modified());
}

// The band shows over the view while dragging, whatever the pen colour, and never gets
// into the picture; the release draws the figure once in the pen colour.
TEST(RubberBand, ShowsOverTheViewWithAnyPenColourAndLeavesOnlyTheFigure)
{
    for (TColour pen : {clBlack, clWhite, TColour(0x00808080)}) {
        Board b(120, 90, tcRectangle);
        b.doc.canvas().setPenColour(pen);
        const QImage original = b.doc.image().copy();
        b.mouse.press(Qt::LeftButton, leftHeld(), 10, 10);
        b.mouse.move(leftHeld(), 60, 50);
        b.mouse.move(leftHeld(), 80, 70);
        const QImage shown = viewWithMarks(b.doc, b.doc.view().rect());
        EXPECT_EQ(b.doc.image(), original);
        EXPECT_NE(shown.pixel(80 - 1, 40), original.pixel(80 - 1, 40)) << pen;
        EXPECT_NE(shown.pixel(40, 10), original.pixel(40, 10)) << pen;
        EXPECT_EQ(shown.pixel(60 - 1, 30), original.pixel(60 - 1, 30)) << "the earlier band is gone";
        b.mouse.release(Qt::LeftButton, ShiftState{}, 80, 70);
        EXPECT_EQ(b.at(40, 10), pen);
        EXPECT_EQ(viewWithMarks(b.doc, b.doc.view().rect()), b.doc.image());
    }
}

// What the window repaints follows the band: the strips along its outline, not its area.
TEST(RubberBand, RepaintsAlongTheOutlineOnly)
{
    Board b(2000, 1500, tcRectangle);
    QRegion repainted;
    b.doc.onChanged = [&](const QRegion &r) { repainted += r; };
    b.mouse.press(Qt::LeftButton, leftHeld(), 10, 10);
    b.mouse.move(leftHeld(), 1900, 1400);
    const QRegion once = repainted;
    EXPECT_TRUE(once.contains(QPoint(1899, 700)));
    EXPECT_TRUE(once.contains(QPoint(900, 10)));
    EXPECT_FALSE(once.contains(QPoint(900, 700)));
    long long area = 0;
    for (const QRect &r : once)
        area += (long long)r.width() * r.height();
    EXPECT_LT(area, 2LL * (1900 + 1400) * 8);
}

// The fill tool on a grey picture: a hatched fill inside a walled box paints only
// inside it (the grey outside is the same colour and must stay untouched), and a fill
// reaches the last column and row of the picture.
TEST(FloodFill, HatchStaysInsideItsWallsAndAFillReachesTheLastColumnAndRow)
{
    Board b(90, 70, tcFill);
    const TColour grey = ComposeCouleur(128, 128, 128);
    b.doc.replacePixels(test::filled(90, 70, grey));
    b.doc.canvas().Ellipse(20, 15, 60, 50); // black walls, a round area
    // The area the fill may reach: the grey pixels 4-connected to the click.
    std::vector<bool> area(90 * 70, false);
    std::vector<QPoint> todo{QPoint(40, 32)};
    while (!todo.empty()) {
        const QPoint p = todo.back();
        todo.pop_back();
        if (p.x() < 0 || p.y() < 0 || p.x() >= 90 || p.y() >= 70 || area[p.y() * 90 + p.x()] ||
            b.at(p.x(), p.y()) != grey)
            continue;
        area[p.y() * 90 + p.x()] = true;
        todo.insert(todo.end(), {p + QPoint(1, 0), p - QPoint(1, 0), p + QPoint(0, 1), p - QPoint(0, 1)});
    }
    SetColors(b.doc, clRed, clWhite);
    SetBrush(b.doc, bsCross);
    b.mouse.click(40, 32);
    int insideRed = 0, outsideRed = 0;
    for (int y = 0; y < 70; ++y)
        for (int x = 0; x < 90; ++x)
            (area[y * 90 + x] ? insideRed : outsideRed) += b.at(x, y) == clRed;
    EXPECT_GT(insideRed, 20);
    EXPECT_EQ(outsideRed, 0);
    EXPECT_EQ(b.at(40, 32) == clRed || b.at(40, 32) == grey, true); // the gaps keep their colour

    SetBrush(b.doc, bsSolid);
    b.mouse.click(75, 60); // the grey outside, which touches the right and bottom edges
    EXPECT_EQ(b.at(89, 10), clRed);
    EXPECT_EQ(b.at(89, 69), clRed);
    EXPECT_EQ(b.at(0, 69), clRed);
    EXPECT_EQ(b.at(0, 0), clRed);
}

// The stamp lays a small circle: an ellipse on the 4 x 4 square at the click, pen width 3.
TEST(Stamp, LaysADabOfFixedSize)
{
    Board b(60, 60, tcStamp);
    b.doc.canvas().SetPixel(2, 2, clRed);
    b.mouse.press(Qt::LeftButton, leftHeld(true), 2, 2);
    b.mouse.release(Qt::LeftButton, ShiftState{}, 2, 2);
    b.mouse.click(30, 30);
    QImage dab = b.doc.image().copy();
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            dab.setPixel(x, y, 0xFFFFFFFFu);
    EXPECT_EQ(test::inkBounds(dab), QRect(29, 29, 6, 6));
    EXPECT_EQ(b.at(30, 32), clRed);
}
