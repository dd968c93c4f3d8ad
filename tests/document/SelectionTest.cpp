#include "Selection.h"
#include "Attributes.h"
#include "Clipboard.h"
#include "Figures.h"
#include "MouseTools.h"
#include "RecordingHost.h"

#include <QClipboard>
#include <QGuiApplication>
#include <gtest/gtest.h>

using namespace vermeo;
using namespace vermeo::clipboard;
using namespace vermeo::test;

namespace {
QImage onClipboard() { return QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32); }

void putOnClipboard(const QImage &img) { QGuiApplication::clipboard()->setImage(img); }

// A drag of the selection tool from press to release, through the mouse handlers.
void dragSelection(ImageDocument &doc, QPoint press, QPoint release, bool oval)
{
    RecordingHost host;
    TAirBrush air;
    MouseSequence mouse(doc, host, air);
    const int tool = doc.Tool;
    SetFrame(doc, host, oval ? tcOvalSelection : tcRectSelection);
    mouse.drag(press, release, 3);
    doc.PrevTool = tool;
}

// What the window shows: the view with the marks over it.
QImage shown(const ImageDocument &doc) { return viewWithMarks(doc, doc.view().rect()); }
} // namespace

TEST(Selection, SelectAllThenCopyPutsTheWholePictureOnTheClipboardAndRemovesTheOutline)
{
    ImageDocument doc;
    RecordingHost host;
    loadNoise(doc, 64, 40);
    const QImage before = doc.image().copy();
    doc.Tool = tcFill;
    SelectImg(doc, host);
    EXPECT_TRUE(doc.RectSelected);
    EXPECT_EQ(host.cursor, Qt::CrossCursor);
    EXPECT_NE(shown(doc), before);  // the outline is shown over the picture
    EXPECT_EQ(doc.image(), before); // and is not in it
    Copier(doc, host);
    EXPECT_FALSE(doc.RectSelected);
    EXPECT_EQ(shown(doc), before);
    EXPECT_EQ(doc.Tool, tcFill);
    EXPECT_EQ(onClipboard(), before);
    EXPECT_TRUE(clipboardHasBitmap());
    EXPECT_EQ(host.clipboardChanges, 1);
    EXPECT_FALSE(doc.modified());
}

TEST(Selection, SelectAllTwiceLeavesNoStrayOutline)
{
    ImageDocument doc;
    RecordingHost host;
    loadNoise(doc, 30, 20);
    const QImage before = doc.image().copy();
    dragSelection(doc, {3, 3}, {12, 9}, true);
    SelectImg(doc, host);
    SelectImg(doc, host);
    selection::Deselectionne(doc, host);
    EXPECT_EQ(shown(doc), before);
    EXPECT_EQ(doc.image(), before);
}

TEST(Selection, OvalCopyHasWhiteCornersAndThePictureAtTheCentre)
{
    ImageDocument doc;
    RecordingHost host;
    loadNoise(doc, 200, 120);
    const QImage before = doc.image().copy();
    dragSelection(doc, {20, 10}, {121, 70}, true);
    Copier(doc, host);
    EXPECT_FALSE(doc.OvalSelected);
    EXPECT_EQ(doc.image(), before);
    const QImage bmp = onClipboard();
    ASSERT_EQ(bmp.size(), QSize(101, 60));
    for (QPoint corner : {QPoint(0, 0), QPoint(100, 0), QPoint(0, 59), QPoint(100, 59), QPoint(5, 3)})
        EXPECT_EQ(bmp.pixel(corner), 0xFFFFFFFFu) << corner.x() << "," << corner.y();
    EXPECT_EQ(bmp.copy(35, 20, 30, 20), before.copy(55, 30, 30, 20));
}

TEST(Selection, CopyEllipseFollowsTheRuleOnOddSizes)
{
    QImage img(7, 5, QImage::Format_RGB32);
    img.fill(Qt::black);
    CopyEllipse(img);
    // p = 3, q = 2. Row 2 (centre): s = 3, white where x >= 6 or x <= 0 (1-based).
    EXPECT_EQ(img.pixel(4, 1), 0xFF000000u);
    EXPECT_EQ(img.pixel(5, 1), 0xFFFFFFFFu);
    EXPECT_EQ(img.pixel(0, 1), 0xFF000000u);
    // Row 4 is (y - q)^2 / q^2 = 1: s = 0, all white; row 5 has a negative root: untouched.
    for (int x = 0; x < 7; ++x) {
        EXPECT_EQ(img.pixel(x, 3), 0xFFFFFFFFu);
        EXPECT_EQ(img.pixel(x, 4), 0xFF000000u);
    }
    QImage line(9, 1, QImage::Format_RGB32);
    line.fill(Qt::black);
    CopyEllipse(line);
    EXPECT_EQ(line.pixel(0, 0), 0xFF000000u);
}

TEST(Selection, CutWithAnOvalChangesNothingAndARectangleGoesWhite)
{
    ImageDocument doc;
    RecordingHost host;
    loadNoise(doc, 50, 40);
    const QImage before = doc.image().copy();
    putOnClipboard(noise(5, 5, 99));
    const QImage clip = onClipboard();
    dragSelection(doc, {2, 2}, {30, 30}, true);
    Couper(doc, host);
    EXPECT_EQ(doc.image(), before);
    EXPECT_EQ(onClipboard(), clip);
    EXPECT_TRUE(doc.OvalSelected);
    selection::Deselectionne2(doc, host);
    EXPECT_EQ(shown(doc), before);

    // Dragged from bottom-right to top-left.
    dragSelection(doc, {30, 20}, {10, 5}, false);
    Couper(doc, host);
    EXPECT_FALSE(doc.RectSelected);
    EXPECT_TRUE(doc.modified());
    EXPECT_EQ(onClipboard(), before.copy(10, 5, 20, 15));
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 50; ++x) {
            const bool inside = x >= 10 && x < 30 && y >= 5 && y < 20;
            ASSERT_EQ(doc.image().pixel(x, y), inside ? 0xFFFFFFFFu : before.pixel(x, y)) << x << "," << y;
        }
    doc.Annule();
    EXPECT_EQ(doc.image(), before);
}

TEST(Selection, CopyOfASelectionDraggedEitherWayIsTheSame)
{
    ImageDocument doc;
    RecordingHost host;
    loadNoise(doc, 50, 40);
    dragSelection(doc, {5, 6}, {25, 30}, false);
    Copier(doc, host);
    const QImage forward = onClipboard();
    dragSelection(doc, {25, 30}, {5, 6}, false);
    Copier(doc, host);
    EXPECT_EQ(onClipboard(), forward);
    EXPECT_EQ(forward, doc.image().copy(5, 6, 20, 24));
}

TEST(Selection, DeleteKeyPaintsWhiteAndEndsTheSelectionWithoutAStrayOutline)
{
    ImageDocument doc;
    RecordingHost host;
    loadNoise(doc, 40, 30);
    const QImage before = doc.image().copy();
    dragSelection(doc, {4, 4}, {20, 15}, false);
    FormKeyDown(doc, host, Qt::Key_A);
    EXPECT_TRUE(doc.RectSelected);
    FormKeyDown(doc, host, Qt::Key_Delete);
    EXPECT_FALSE(doc.RectSelected);
    EXPECT_TRUE(doc.modified());
    QImage expected = before.copy();
    for (int y = 4; y < 15; ++y)
        for (int x = 4; x < 20; ++x)
            expected.setPixel(x, y, 0xFFFFFFFFu);
    EXPECT_EQ(doc.image(), expected);
    doc.Annule();
    EXPECT_EQ(doc.image(), before);
}

TEST(Selection, PasteDrawsAtTheOriginAndScreenPasteTakesNoUndo)
{
    ImageDocument doc;
    RecordingHost host;
    doc.Init(30, 30, clWhite);
    const QImage bmp = noise(10, 8, 3);
    putOnClipboard(bmp);
    Coller(doc, host);
    EXPECT_EQ(doc.image().copy(0, 0, 10, 8), bmp);
    EXPECT_TRUE(doc.modified());
    doc.Annule();
    EXPECT_EQ(doc.image().pixel(0, 0), 0xFFFFFFFFu);

    CollerEcran(doc, host, noise(50, 50, 4)); // larger: only what fits is kept
    EXPECT_EQ(doc.image(), noise(50, 50, 4).copy(0, 0, 30, 30));
}

TEST(Selection, FloatingPasteShowsOneGhostAndTheClickDropsThePlainBitmapThere)
{
    ImageDocument doc;
    RecordingHost host;
    TAirBrush air;
    MouseSequence mouse(doc, host, air);
    loadNoise(doc, 120, 90);
    const QImage before = doc.image().copy();
    const QImage bmp = noise(20, 10, 5);
    putOnClipboard(bmp);
    CollerSel(doc, host);
    EXPECT_TRUE(doc.FloatingPaste);
    EXPECT_TRUE(doc.FirstFloatMove);
    EXPECT_EQ(host.mouseAt, QPoint(200, 150));
    EXPECT_EQ(host.cursor, Qt::PointingHandCursor);

    ShiftState none;
    for (QPoint p : {QPoint(30, 30), QPoint(35, 33), QPoint(80, 60), QPoint(110, 85)}) {
        mouse.move(none, p.x(), p.y());
        // Exactly one inverted ghost is shown, and the picture holds none.
        QImage check = shown(doc);
        Canvas c(&check);
        c.setCopyMode(CopyMode::SrcInvert);
        c.Draw(p.x() - 10, p.y() - 5, bmp);
        ASSERT_EQ(check, before);
        ASSERT_EQ(doc.image(), before);
    }
    // A second special paste before dropping takes the first ghost away.
    CollerSel(doc, host);
    EXPECT_EQ(shown(doc), before);
    mouse.move(none, 50, 40);
    // The drop click, a little off the ghost's centre: the paste lands where the ghost
    // was, once, and the click draws nothing else with the current tool.
    SetFrame(doc, host, tcFill);
    doc.canvas().setPenColour(clRed);
    mouse.click(52, 41);
    EXPECT_FALSE(doc.FloatingPaste);
    QImage expected = before.copy();
    Canvas c(&expected);
    c.Draw(40, 35, bmp);
    EXPECT_EQ(doc.image(), expected);
    EXPECT_EQ(shown(doc), expected);
    doc.Annule();
    EXPECT_EQ(doc.image(), before);
}

TEST(Selection, NothingHappensWithoutSelectionOrBitmap)
{
    ImageDocument doc;
    RecordingHost host;
    loadNoise(doc, 20, 20);
    const QImage before = doc.image().copy();
    Copier(doc, host);
    Couper(doc, host);
    DeleteKey(doc, host);
    EXPECT_EQ(host.clipboardChanges, 0);
    QGuiApplication::clipboard()->setText(QStringLiteral("pas une image"));
    EXPECT_FALSE(clipboardHasBitmap());
    Coller(doc, host);
    CollerSel(doc, host);
    EXPECT_FALSE(doc.FloatingPaste);
    EXPECT_EQ(doc.image(), before);
    EXPECT_FALSE(doc.modified());
}
