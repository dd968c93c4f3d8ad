// The windows, dialogs and tools as a user meets them: real widgets, real events.
#include "AppFixture.h"
#include "ImageView.h"
#include "PictureFiles.h"
#include "TRedim.h"
#include "TestPictures.h"
#include "TextTool.h"
#include "Zoom.h"

#include <QAction>
#include <QButtonGroup>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace vermeo;

namespace {
class ByHand : public AppTest {
protected:
    QToolButton *button(const char *name)
    {
        return qobject_cast<QToolButton *>(form->control(QString::fromLatin1(name)));
    }
    void drag(TMDIChild *c, QPoint from, QPoint to, Qt::KeyboardModifiers mods = {})
    {
        QWidget *view = c->Image1();
        QTest::mousePress(view, Qt::LeftButton, mods, from);
        for (int i = 1; i <= 6; ++i)
            QTest::mouseMove(view, from + (to - from) * i / 6);
        QTest::mouseRelease(view, Qt::LeftButton, mods, to);
    }
    // Keys go where the focus is, as the user's do.
    void type(const QString &text)
    {
        for (QChar ch : text)
            QTest::keyClick(QApplication::focusWidget(), ch.toLatin1());
    }
    void click(TMDIChild *c, QPoint at, Qt::KeyboardModifiers mods = {})
    {
        QTest::mouseClick(c->Image1(), Qt::LeftButton, mods, at);
    }
};
} // namespace

TEST_F(ByHand, OneAnnulerStopsTheWholeQuitAndEveryWindowStaysOpen)
{
    for (int i = 0; i < 4; ++i)
        newPicture(300, 200);
    form->children()[0]->Modif();
    form->children()[2]->Modif();
    int questions = 0;
    DialogRunner::setAskScript([&](const QString &) {
        ++questions;
        return QMessageBox::Cancel;
    });
    form->FileExitItemClick();
    QApplication::processEvents();
    EXPECT_EQ(questions, 1);
    EXPECT_EQ(form->childCount(), 4);

    // "Non" to the first, then "Annuler": still every window open, the first still modified.
    questions = 0;
    DialogRunner::setAskScript(
        [&](const QString &) { return ++questions == 1 ? QMessageBox::No : QMessageBox::Cancel; });
    form->FileExitItemClick();
    QApplication::processEvents();
    EXPECT_EQ(questions, 2);
    EXPECT_EQ(form->childCount(), 4);
    EXPECT_TRUE(form->children()[0]->Modified());
}

TEST_F(ByHand, TheNewPicturesBackgroundIsTheFillColourAndStaysSo)
{
    dialogs.onColour = [](QColor &c) {
        c = QColor(255, 0, 0);
        return true;
    };
    dialogs.onDialog = [](QDialog &d) {
        d.findChild<ColourSwatch *>("Panel1")->clicked();
        d.findChild<QPushButton *>("Button2")->click();
    };
    form->FileNewItemClick();
    dialogs.onDialog = nullptr;
    TMDIChild *c = form->activeChild();
    c->doc().Efface(); // white again, to see the fill
    button("RectangleButton")->click();
    button("SolidBrush")->click();
    drag(c, QPoint(20, 20), QPoint(120, 90));
    EXPECT_EQ(c->doc().image().pixel(60, 50), qRgb(255, 0, 0));
    form->findChild<ColourSwatch *>("Palette2")->clicked();
    EXPECT_EQ(form->Backcolor->colour(), clRed);
}

TEST_F(ByHand, ScrollBarsFollowTheWindowAfterTilingAndResizing)
{
    TMDIChild *c = newPicture(1200, 900);
    newPicture(300, 200);
    form->action("WindowTileItem")->trigger();
    QApplication::processEvents();
    EXPECT_TRUE(c->horizontalScrollBar()->isVisible());
    EXPECT_TRUE(c->verticalScrollBar()->isVisible());
    c->subWindow()->resize(300, 250);
    QApplication::processEvents();
    EXPECT_TRUE(c->horizontalScrollBar()->isVisible());
    EXPECT_GT(c->horizontalScrollBar()->maximum(), 800);
}

TEST_F(ByHand, TypedFontNameAndSizeTakeEffectWhole)
{
    TMDIChild *c = newPicture();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    QLineEdit *name = form->FontName->lineEdit();
    name->setFocus();
    name->selectAll();
    type(QStringLiteral("DejaVu Serif"));
    EXPECT_NE(c->doc().canvas().font().family(), QStringLiteral("D")); // not taken at the first letter
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(c->doc().canvas().font().family(), QStringLiteral("DejaVu Serif"));

    QLineEdit *size = form->SpinEdit2->findChild<QLineEdit *>();
    form->SpinEdit2->setFocus();
    size->selectAll();
    type(QStringLiteral("100"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(c->doc().canvas().font().pointSize(), 100);
}

TEST_F(ByHand, ANewWindowWritesInWhatTheFontBoxesShow)
{
    TMDIChild *c = newPicture();
    EXPECT_EQ(c->doc().canvas().font().pointSize(), form->SpinEdit2->value());
    EXPECT_EQ(c->doc().canvas().font().family(), form->FontName->currentText());
}

TEST_F(ByHand, ChoosingTheTextToolEndsThePipette)
{
    TMDIChild *c = newPicture();
    button("PipButton")->click();
    EXPECT_TRUE(c->doc().PipetteMode);
    button("TextButton")->click();
    EXPECT_FALSE(c->doc().PipetteMode);
    bool asked = false;
    dialogs.onDialog = [&](QDialog &d) {
        asked = qobject_cast<TEditext *>(&d) != nullptr;
        d.reject();
    };
    click(c, QPoint(30, 30));
    EXPECT_TRUE(asked); // the click places text instead of picking a colour
}

TEST_F(ByHand, ChoicesMadeWhileASelectionIsShownStay)
{
    TMDIChild *c = newPicture();
    button("DiagCrossBrush")->click();
    button("SpeedButton2")->click();
    drag(c, QPoint(10, 10), QPoint(100, 80));
    ASSERT_TRUE(c->doc().RectSelected);
    form->findChild<ColourSwatch *>("Palette2")->clicked(); // red pen
    form->SpinEdit1->setValue(7);
    button("BoldButton")->click();
    click(c, QPoint(150, 150)); // deselects
    EXPECT_FALSE(c->doc().RectSelected);
    EXPECT_EQ(c->doc().canvas().penColour(), clRed);
    EXPECT_EQ(c->doc().canvas().penWidth(), 7);
    EXPECT_TRUE(c->doc().canvas().font().bold());
    EXPECT_EQ(c->doc().canvas().brushStyle(), int(bsDiagCross));

    // A click without a drag makes no selection, and Delete then changes nothing.
    c->doc().setModified(false);
    click(c, QPoint(40, 40));
    EXPECT_FALSE(c->doc().RectSelected);
    QTest::keyClick(c, Qt::Key_Delete);
    EXPECT_FALSE(c->Modified());
}

TEST_F(ByHand, CtrlClickSetsTheStampsSource)
{
    TMDIChild *c = newPicture();
    c->doc().canvas().SetPixel(5, 5, clRed);
    button("SpeedButton12")->click();
    click(c, QPoint(5, 5), Qt::ControlModifier);
    EXPECT_EQ(c->doc().StampSource, QPoint(5, 5));
    click(c, QPoint(60, 60));
    EXPECT_EQ(c->doc().image().pixel(60, 62), qRgb(255, 0, 0));
    EXPECT_TRUE(button("SpeedButton12")->toolTip().contains(QStringLiteral("Ctrl")));
}

TEST_F(ByHand, AFailedPasteSaysWhyAndLeavesNoWindow)
{
    QGuiApplication::clipboard()->setImage(QImage(kMaxSide + 1, 2, QImage::Format_RGB32));
    form->UpdateMenuItems();
    dialogs.asked.clear();
    form->action("PasteItem")->trigger();
    QApplication::processEvents();
    EXPECT_EQ(form->childCount(), 0);
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_TRUE(dialogs.asked[0].contains(QStringLiteral("trop grande"))) << dialogs.asked[0].toStdString();
}

TEST_F(ByHand, StatusPanelsShowTheWholeTimeAndTheSizeOfWhatIsOpen)
{
    EXPECT_EQ(clockText(QTime(14, 10, 1)).trimmed(), QStringLiteral("14:10:01"));
    // A file that cannot be read: no window, no size shown.
    QTemporaryDir dir;
    const QString bad = dir.filePath(QStringLiteral("abime.bmp"));
    QFile f(bad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("BM pas une image");
    f.close();
    dialogs.onFile = [&](FileDialogRequest &) { return bad; };
    form->FileOpenItemClick();
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
    EXPECT_EQ(form->statusPanel(1), QString());
}

TEST_F(ByHand, ABigPictureOpensFromTheCascadePositionAsLargeAsTheFrameAllows)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("grande.bmp"));
    formats::writePictureFile(Picture::fromImage(newWorkingImage(3000, 2000, 0xFF336699u)), path);
    newPicture(300, 200);
    dialogs.onFile = [&](FileDialogRequest &) { return path; };
    form->FileOpenItemClick();
    TMDIChild *c = form->activeChild();
    const QSize main = form->mainClientSize();
    EXPECT_EQ(c->subWindow()->pos(), QPoint(24, 24));
    EXPECT_EQ(c->subWindow()->width(), main.width() - 24 - 66);
    EXPECT_EQ(c->subWindow()->height(), main.height() - 24 - 90);
}

TEST_F(ByHand, TheSelectionButtonsShowWhichToolIsChosen)
{
    newPicture();
    button("SpeedButton2")->click();
    EXPECT_TRUE(button("SpeedButton2")->isChecked());
    EXPECT_FALSE(button("PenButton")->isChecked());
    button("SpeedButton11")->click();
    EXPECT_TRUE(button("SpeedButton11")->isChecked());
    EXPECT_FALSE(button("SpeedButton2")->isChecked());
    button("LineButton")->click();
    EXPECT_TRUE(button("LineButton")->isChecked());
    EXPECT_FALSE(button("SpeedButton11")->isChecked());
}

TEST(FixedDialogs, HaveNoMinimiseOrMaximiseButtonAndTheirCaptionFits)
{
    TEditext text;
    EXPECT_FALSE(text.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(text.windowFlags() & Qt::WindowCloseButtonHint);
    TRedim redim;
    redim.show();
    EXPECT_GE(redim.width(), redim.minimumWidth());
    EXPECT_GE(redim.width(), redim.fontMetrics().horizontalAdvance(redim.windowTitle()) + 120);
}

TEST_F(ByHand, ZoomingAMinimisedWindowLeavesItsBarAlone)
{
    TMDIChild *c = newPicture(300, 200);
    c->subWindow()->showMinimized();
    QApplication::processEvents();
    const QSize bar = c->subWindow()->size();
    c->guarded([&] { zoom::ZAvant(c->doc(), *c); });
    QApplication::processEvents();
    EXPECT_EQ(c->subWindow()->size(), bar);
    EXPECT_EQ(c->doc().zoomLevel(), 2);
}
