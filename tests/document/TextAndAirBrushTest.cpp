#include "DialogRunner.h"
#include "DrawingTestSupport.h"
#include "TextTool.h"

#include <QLineEdit>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

using namespace vermeo;
using namespace vermeo::test;

namespace {
// Answers the text dialog with a text and an angle, confirming with Enter.
void answerText(ScriptedDialogs &dialogs, const QString &text, int angle)
{
    dialogs.onDialog = [text, angle](QDialog &d) {
        auto &e = static_cast<TEditext &>(d);
        e.Edit1->setText(text);
        e.SpinEdit1->setValue(angle);
        QTest::keyClick(e.Edit1, Qt::Key_Return);
    };
}
} // namespace

TEST(TextTool, NinetyDegreesGoesUpwardsAndPlacingSwallowsOneClick)
{
    ScriptedDialogs dialogs;
    answerText(dialogs, QStringLiteral("ABCDEF"), 90);
    Board b(120, 120, 6);
    b.host.fontSize = 16;
    b.mouse.click(50, 100);
    const QRect ink = inkBounds(b.doc.image());
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_GT(ink.height(), 2 * ink.width()); // the line runs vertically
    EXPECT_LE(ink.bottom(), 101);             // from the click point upwards
    EXPECT_LT(ink.top(), 60);
    EXPECT_GE(ink.left(), 50);
    EXPECT_TRUE(b.doc.TextPlacing);
    EXPECT_EQ(b.host.cursor, Qt::PointingHandCursor);
    EXPECT_TRUE(b.doc.modified());

    const QImage placed = b.doc.image();
    b.mouse.click(10, 10);
    EXPECT_EQ(b.doc.image(), placed);
    EXPECT_FALSE(b.doc.TextPlacing);
    EXPECT_EQ(dialogs.dialogs.size(), 1u);
    EXPECT_EQ(b.host.cursor, Qt::ArrowCursor);

    b.mouse.click(10, 10); // writes again
    EXPECT_EQ(dialogs.dialogs.size(), 2u);
    EXPECT_EQ(dialogs.dialogs[0], QStringLiteral("Editeur de texte"));
}

TEST(TextTool, AngleZeroUsesWindowFontAndSolidBrushBackground)
{
    ScriptedDialogs dialogs;
    answerText(dialogs, QStringLiteral("Wg"), 0);
    Board b(120, 60, 6);
    SetColors(b.doc, clRed, ComposeCouleur(0, 0, 255)); // solid blue background
    b.mouse.click(10, 10);
    const QImage &img = b.doc.image();
    int red = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            red += fromQRgb(img.pixel(x, y)) == clRed;
    EXPECT_GT(red, 10);
    EXPECT_EQ(b.at(10, 10), ComposeCouleur(0, 0, 255));
    EXPECT_EQ(b.at(5, 5), clWhite);
}

TEST(TextTool, RotatedFontIgnoresBoldAndUsesPixelSize)
{
    ImageDocument bold, plain;
    RecordingHost host;
    host.fontSize = 20;
    for (ImageDocument *d : {&bold, &plain}) {
        d->Init(200, 100, clWhite);
        d->canvas().setPenColour(clBlack);
    }
    SetStyle1(bold, '+');
    RotTextOut(bold, host, 10, 10, QStringLiteral("Hello"), 360);
    RotTextOut(plain, host, 10, 10, QStringLiteral("Hello"), 360);
    EXPECT_EQ(bold.image(), plain.image());
    const QRect ink = inkBounds(plain.image());
    EXPECT_LE(ink.height(), 20);
    EXPECT_GE(ink.height(), 10);
    RotTextOut(plain, host, 10, 10, QString(), 45);                   // empty: nothing at all
    RotTextOut(plain, host, 10, 60, QStringLiteral("x"), 2147483647); // no overflow
}

TEST(TextTool, EscapeCancelsAndShowingResetsAcceptedFlag)
{
    TEditext dialog;
    TEditext::accepted = true;
    dialog.show();
    EXPECT_FALSE(TEditext::accepted); // an earlier "OK" does not carry over
    dialog.Edit1->setText(QStringLiteral("abc"));
    dialog.SpinEdit1->setValue(-725);
    EXPECT_EQ(dialog.SpinEdit1->value(), -725);
    QTest::keyClick(dialog.SpinEdit1, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    QString text = QStringLiteral("old");
    int angle = 0;
    dialog.Result(text, angle);
    EXPECT_TRUE(text.isEmpty());
    EXPECT_EQ(angle, 0);
}

TEST(TextTool, CancelledDialogStillEntersPlacingState)
{
    ScriptedDialogs dialogs; // closes the dialog unanswered
    Board b(40, 40, 6);
    b.mouse.click(5, 5);
    EXPECT_TRUE(b.doc.TextPlacing);
    EXPECT_EQ(inkBounds(b.doc.image()), QRect());
}

TEST(AirBrush, OutOfRangeValuesAreIgnored)
{
    TAirBrush a;
    a.setSize(9);
    a.setSize(201);
    EXPECT_EQ(a.Size(), 40);
    a.setSize(200);
    EXPECT_EQ(a.Size(), 200);
    a.setIntensity(0);
    a.setIntensity(101);
    EXPECT_EQ(a.Intensity(), 10);
    a.setIntensity(1);
    EXPECT_EQ(a.Intensity(), 1);
}

TEST(AirBrush, WhiteIsTransparent)
{
    QImage img(60, 60, QImage::Format_RGB32);
    img.fill(qRgb(30, 60, 90));
    const QImage before = img;
    Canvas c(&img);
    TAirBrush a;
    a.setColor(clWhite);
    a.Spray(c, 30, 30);
    EXPECT_EQ(img, before);

    // A near-white blot whose blend on white rounds back to white leaves white alone.
    QImage white(60, 60, QImage::Format_RGB32);
    white.fill(Qt::white);
    Canvas w(&white);
    a.setColor(ComposeCouleur(254, 255, 255));
    a.Spray(w, 30, 30);
    EXPECT_EQ(inkBounds(white), QRect());
    a.setIntensity(100);
    a.Spray(w, 30, 30);
    EXPECT_EQ(fromQRgb(white.pixel(30, 30)), ComposeCouleur(254, 255, 255));
}

TEST(AirBrush, BlendRoundsHalfToEvenAndShapesDiffer)
{
    QImage img(60, 60, QImage::Format_RGB32);
    img.fill(qRgb(253, 255, 251));
    Canvas c(&img);
    TAirBrush a;
    a.setIntensity(50);
    a.setShape(absSquare);
    a.Spray(c, 30, 30);
    EXPECT_EQ(img.pixel(30, 30) & 0xFFFFFFu, qRgb(126, 128, 126) & 0xFFFFFFu);
    EXPECT_EQ(img.pixel(10, 10) & 0xFFFFFFu, qRgb(126, 128, 126) & 0xFFFFFFu); // a full square
    EXPECT_EQ(img.pixel(9, 9) & 0xFFFFFFu, qRgb(253, 255, 251) & 0xFFFFFFu);

    a.setShape(absHorizontal);
    a.Spray(c, 30, 30);
    EXPECT_EQ(qRed(img.pixel(30, 12)), 126); // above the band
    EXPECT_EQ(qRed(img.pixel(30, 30)), 63);
    a.setShape(absVertical);
    a.Spray(c, 30, 30);
    EXPECT_EQ(qRed(img.pixel(12, 30)), 63); // left of the band
}

TEST(AirBrush, SprayToolDarkensDiscAndBuildsUpNearEdge)
{
    Board b(100, 100, 10);
    b.mouse.click(50, 50);
    EXPECT_EQ(b.at(50, 50), ComposeCouleur(230, 230, 230)); // 229.5 rounds to even
    EXPECT_EQ(b.at(50, 31), ComposeCouleur(230, 230, 230));
    EXPECT_EQ(b.at(32, 32), clWhite); // corner of the square, outside the disc
    EXPECT_EQ(b.doc.canvas().brushColour(), clWhite);
    b.mouse.click(50, 50);
    EXPECT_LT(b.at(50, 50) & 0xFF, 230u);
    b.mouse.click(0, 0); // only the quarter inside the picture
    EXPECT_NE(b.at(2, 2), clWhite);
    EXPECT_EQ(b.doc.image().size(), QSize(100, 100));
}
