// The tools through the real windows: Qt mouse events on Image1, the tool panel and
// the palette bar of the main window.
#include "AppFixture.h"
#include "ImageView.h"

#include <QTest>
#include <QToolButton>

using namespace vermeo;

namespace {
int countNonWhite(const QImage &img)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += img.pixel(x, y) != qRgb(255, 255, 255);
    return n;
}
} // namespace

TEST_F(AppTest, LineDragOnTheWindowLeavesOneLine)
{
    TMDIChild *c = newPicture(300, 200);
    qobject_cast<QToolButton *>(form->control("LineButton"))->click();
    QWidget *view = c->Image1();
    QTest::mousePress(view, Qt::LeftButton, {}, QPoint(10, 10));
    for (int i = 1; i <= 20; ++i)
        QTest::mouseMove(view, QPoint(10 + i * 5, 10 + i * 2));
    QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(110, 50));
    const QImage &img = c->doc().image();
    // A one-pixel line from (10,10) to (110,50), its end point left out: 100 pixels.
    EXPECT_EQ(countNonWhite(img), 100);
    EXPECT_TRUE(c->Modified());
    EXPECT_EQ(form->statusPanel(0), "Position : (110,50)");
}

TEST_F(AppTest, FarRightPaletteSwatchMakesTheNextStrokeWhite)
{
    TMDIChild *c = newPicture(300, 200);
    c->doc().canvas().setBrushColour(clBlack);
    c->doc().canvas().FillRect(QRect(0, 0, 300, 200));
    form->findChild<ColourSwatch *>("Palette26")->clicked();
    QWidget *view = c->Image1();
    QTest::mousePress(view, Qt::LeftButton, {}, QPoint(20, 20));
    QTest::mouseMove(view, QPoint(60, 20));
    QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(60, 20));
    EXPECT_EQ(c->doc().image().pixel(40, 20), qRgb(255, 255, 255));
    EXPECT_EQ(c->doc().image().pixel(40, 25), qRgb(0, 0, 0));
}

TEST_F(AppTest, NewWindowTakesThePanelToolNotTheSelection)
{
    newPicture();
    qobject_cast<QToolButton *>(form->control("EllipseButton"))->click();
    qobject_cast<QToolButton *>(form->control("SpeedButton2"))->click();
    EXPECT_EQ(form->activeChild()->doc().Tool, 5);
    TMDIChild *next = newPicture();
    EXPECT_EQ(next->doc().Tool, 2);
}

TEST_F(AppTest, EraserShowsItsOwnWidthInTheBox)
{
    newPicture();
    form->SpinEdit1->setValue(5);
    qobject_cast<QToolButton *>(form->control("BrushButton"))->click();
    form->SpinEdit1->setValue(20);
    qobject_cast<QToolButton *>(form->control("PenButton"))->click();
    EXPECT_EQ(form->SpinEdit1->value(), 5);
    qobject_cast<QToolButton *>(form->control("BrushButton"))->click();
    EXPECT_EQ(form->SpinEdit1->value(), 20);
}

TEST_F(AppTest, SelectAllCopyThenPasteMakesAWindowOfThatSize)
{
    TMDIChild *c = newPicture(250, 120);
    c->doc().canvas().setBrushColour(0x00336699);
    c->doc().canvas().FillRect(QRect(0, 0, 250, 120));
    const QImage before = c->doc().image().copy();
    form->action("Toutslectionner1")->trigger();
    EXPECT_TRUE(c->doc().RectSelected);
    form->action("CopyItem")->trigger();
    EXPECT_FALSE(c->doc().RectSelected);
    EXPECT_EQ(c->doc().image(), before); // the outline is gone
    EXPECT_TRUE(form->action("PasteItem")->isEnabled());
    form->action("PasteItem")->trigger();
    TMDIChild *pasted = form->activeChild();
    ASSERT_NE(pasted, c);
    EXPECT_EQ(pasted->windowTitle(), "");
    EXPECT_EQ(pasted->doc().image().size(), QSize(250, 120));
    EXPECT_EQ(pasted->doc().image().pixel(100, 60), before.pixel(100, 60));
}

TEST_F(AppTest, DeleteKeyPaintsTheSelectionWhite)
{
    TMDIChild *c = newPicture(250, 120);
    c->doc().canvas().setBrushColour(clBlack);
    c->doc().canvas().FillRect(QRect(0, 0, 250, 120));
    form->action("Toutslectionner1")->trigger();
    QTest::keyClick(c, Qt::Key_Delete);
    EXPECT_EQ(c->doc().image().pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(c->doc().image().pixel(125, 60), qRgb(255, 255, 255));
    EXPECT_TRUE(c->Modified());
}

TEST_F(AppTest, ZoomMenuStepsAndReturnsExactly)
{
    TMDIChild *c = newPicture(300, 200);
    c->doc().canvas().SetPixel(7, 9, clRed);
    const QImage before = c->doc().image().copy();
    form->action("Zoomarrire1")->trigger();
    EXPECT_EQ(c->doc().view().size(), QSize(150, 100));
    form->action("Zoomavant1")->trigger();
    form->action("Zoomavant1")->trigger();
    EXPECT_EQ(c->doc().view().size(), QSize(600, 400));
    form->action("Taillerelle1")->trigger();
    EXPECT_EQ(c->doc().image(), before);
}
