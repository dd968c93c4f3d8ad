#include "AppFixture.h"
#include "TSupport.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMdiArea>
#include <QProgressBar>
#include <QScrollBar>
#include <QStatusBar>
#include <QTemporaryDir>

using namespace vermeo;

TEST_F(AppTest, CommandsFollowTheNumberOfOpenWindows)
{
    EXPECT_FALSE(form->action("FileCloseItem")->isEnabled());
    EXPECT_FALSE(form->action("Luminosit1")->isEnabled());
    EXPECT_FALSE(form->control("SaveButton")->isEnabled());
    EXPECT_FALSE(form->control("ForeColor")->isEnabled());
    EXPECT_TRUE(form->action("FileNewItem")->isEnabled());
    EXPECT_TRUE(form->action("FileExitItem")->isEnabled());
    EXPECT_TRUE(form->control("NewButton")->isEnabled());
    EXPECT_TRUE(form->control("SpeedButton10")->isEnabled());

    newPicture();
    EXPECT_TRUE(form->action("FileCloseItem")->isEnabled());
    EXPECT_TRUE(form->action("Dgrad1")->isEnabled());
    EXPECT_TRUE(form->action("WindowTileItem")->isEnabled());
    EXPECT_TRUE(form->control("SaveButton")->isEnabled());
    EXPECT_TRUE(form->control("PenButton")->isEnabled());

    closeActive();
    EXPECT_EQ(form->childCount(), 0);
    EXPECT_FALSE(form->action("FileCloseItem")->isEnabled());
    EXPECT_FALSE(form->control("BoldButton")->isEnabled());
}

TEST_F(AppTest, NewPictureIsNamedAfterTheWindowCount)
{
    newPicture();
    newPicture();
    TMDIChild *third = newPicture(640, 480);
    EXPECT_EQ(third->windowTitle(), "Image3");
    EXPECT_EQ(form->childCount(), 3);
    EXPECT_EQ(third->doc().width(), 640);
    // After closing one of three, a name may repeat.
    closeActive();
    EXPECT_EQ(newPicture()->windowTitle(), "Image3");
}

TEST_F(AppTest, NewPictureTakesBackgroundAsFillColour)
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
    EXPECT_EQ(form->Backcolor->colour(), clRed);
    EXPECT_EQ(form->activeChild()->doc().image().pixel(5, 5), qRgb(255, 0, 0));
}

TEST_F(AppTest, PasteItemFollowsTheClipboardButTheButtonTheWindows)
{
    QGuiApplication::clipboard()->clear();
    QApplication::processEvents();
    form->UpdateMenuItems();
    EXPECT_FALSE(form->action("PasteItem")->isEnabled());
    QImage img(10, 10, QImage::Format_RGB32);
    img.fill(Qt::blue);
    QGuiApplication::clipboard()->setImage(img);
    QApplication::processEvents();
    form->UpdateMenuItems();
    EXPECT_TRUE(form->action("PasteItem")->isEnabled());
    EXPECT_FALSE(form->control("PasteButton")->isEnabled());
    EXPECT_FALSE(form->action("Collagespcial1")->isEnabled());
    newPicture();
    EXPECT_TRUE(form->control("PasteButton")->isEnabled());
    EXPECT_TRUE(form->action("Collagespcial1")->isEnabled());
    QGuiApplication::clipboard()->clear();
}

TEST_F(AppTest, StatusPanelShowsTheSizeOnInitAndActivation)
{
    TMDIChild *a = newPicture(640, 480);
    EXPECT_EQ(form->statusPanel(1), "640 x 480");
    TMDIChild *b = newPicture(200, 100);
    EXPECT_EQ(form->statusPanel(1), "200 x 100");
    form->mdiArea()->setActiveSubWindow(a->subWindow());
    QApplication::processEvents();
    EXPECT_EQ(form->statusPanel(1), "640 x 480");
    form->mdiArea()->setActiveSubWindow(b->subWindow());
    EXPECT_EQ(form->statusPanel(1), "200 x 100");
}

TEST_F(AppTest, AnnuleTwiceKeepsTheFirstUndo)
{
    TMDIChild *c = newPicture();
    c->SauveUndo();
    c->doc().canvas().FillRect(QRect(0, 0, 10, 10));
    c->doc().canvas().setBrushColour(clBlack);
    c->doc().canvas().FillRect(QRect(0, 0, 10, 10));
    const QImage drawn = c->doc().image().copy();
    form->action("Annuler1")->trigger();
    const QImage first = c->doc().image().copy();
    EXPECT_NE(first, drawn);
    form->action("Annuler1")->trigger();
    EXPECT_EQ(c->doc().image(), first);
}

TEST_F(AppTest, EraseAsksAndOnlyYesErases)
{
    TMDIChild *c = newPicture();
    c->doc().canvas().setBrushColour(clBlack);
    c->doc().canvas().FillRect(QRect(0, 0, 50, 50));
    dialogs.answer = QMessageBox::No;
    form->Effacerlimage1Click();
    ASSERT_EQ(dialogs.asked.back(), "Effacer l'image ?");
    EXPECT_EQ(c->doc().image().pixel(3, 3), qRgb(0, 0, 0));
    EXPECT_FALSE(c->Modified());
    dialogs.answer = QMessageBox::Yes;
    form->Effacerlimage1Click();
    EXPECT_EQ(c->doc().image().pixel(3, 3), qRgb(255, 255, 255));
    EXPECT_TRUE(c->Modified());
}

TEST_F(AppTest, CloseQueryAnswers)
{
    TMDIChild *c = newPicture();
    c->Modif();
    dialogs.answer = QMessageBox::Cancel;
    closeActive();
    EXPECT_EQ(form->childCount(), 1);
    // A picture with no file yet is named by its window's title.
    EXPECT_EQ(dialogs.asked.back(), "Enregistrer modifications dans Image1 ?");

    // Yes, then the save dialog cancelled: the window and its changes stay.
    dialogs.answer = QMessageBox::Yes;
    closeActive();
    EXPECT_EQ(form->childCount(), 1);
    EXPECT_TRUE(c->Modified());

    // Yes, and a name chosen: the file is written and the window closes.
    QTemporaryDir dir;
    const QString path = dir.filePath("sortie.bmp");
    dialogs.onFile = [&](FileDialogRequest &) { return path; };
    closeActive();
    EXPECT_EQ(form->childCount(), 0);
    EXPECT_TRUE(QFileInfo::exists(path));

    // No closes without saving; an unmodified picture closes without a question.
    newPicture()->Modif();
    const size_t asked = dialogs.asked.size();
    dialogs.answer = QMessageBox::No;
    closeActive();
    EXPECT_EQ(form->childCount(), 0);
    EXPECT_EQ(dialogs.asked.size(), asked + 1);
    newPicture();
    closeActive();
    EXPECT_EQ(dialogs.asked.size(), asked + 1);
}

TEST_F(AppTest, FitsTheWindowToThePictureOrToTheFrame)
{
    TMDIChild *c = newPicture(200, 100);
    c->subWindow()->move(0, 0);
    c->RedimForm();
    QApplication::processEvents();
    EXPECT_FALSE(c->horizontalScrollBar()->isVisible());
    EXPECT_FALSE(c->verticalScrollBar()->isVisible());
    EXPECT_EQ(c->viewport()->size(), QSize(200, 100));

    const QSize main = form->mainClientSize();
    // Exactly at the horizontal threshold the window takes the picture's width; one
    // pixel more and it stops at the frame, the bar showing the rest.
    c->doc().Init(main.width() - 66, 100, clWhite);
    c->RedimForm();
    EXPECT_EQ(c->viewport()->width(), main.width() - 66);
    c->doc().Init(main.width() - 65, 100, clWhite);
    c->RedimForm();
    QApplication::processEvents();
    EXPECT_EQ(c->subWindow()->width(), main.width() - 66);
    EXPECT_TRUE(c->horizontalScrollBar()->isVisible());
    // The vertical test uses 110, the size 90.
    c->doc().Init(200, main.height() - 110, clWhite);
    c->RedimForm();
    EXPECT_EQ(c->viewport()->height(), main.height() - 110);
    c->doc().Init(200, main.height() - 109, clWhite);
    c->RedimForm();
    QApplication::processEvents();
    EXPECT_EQ(c->subWindow()->height(), main.height() - 90);
    EXPECT_TRUE(c->verticalScrollBar()->isVisible());
}

TEST_F(AppTest, AnImageWindowNeverGrowsPastTheMdiAreaTheRestScrolls)
{
    // "Agrandir le support" beyond the area, from a cascaded place and from the corner.
    for (const QPoint at : {QPoint(40, 30), QPoint(0, 0)}) {
        TMDIChild *c = newPicture(300, 200);
        c->subWindow()->move(at);
        dialogs.onDialog = [](QDialog &d) {
            auto &s = static_cast<TSupport &>(d);
            s.SpinEdit1->setValue(2000);
            s.SpinEdit2->setValue(2000);
            s.Button2->click();
        };
        form->action("Agrandirlesupport1")->trigger();
        QApplication::processEvents();
        ASSERT_EQ(c->doc().image().size(), QSize(2000, 2000));
        const QRect area = form->mdiArea()->viewport()->rect();
        const QRect window = c->subWindow()->geometry();
        EXPECT_TRUE(area.contains(window)) << window.x() << "," << window.y() << " " << window.width() << "x"
                                           << window.height() << " in " << area.width() << "x" << area.height();
        EXPECT_TRUE(c->horizontalScrollBar()->isVisible());
        EXPECT_TRUE(c->verticalScrollBar()->isVisible());
        // The close box, at the top right of the title bar, is inside the area.
        EXPECT_TRUE(area.contains(QPoint(window.right() - 8, window.top() + 8)));
        c->subWindow()->close();
        QApplication::processEvents();
    }
}

TEST_F(AppTest, PaletteBarHoldsTwentySevenColoursAndToggles)
{
    auto *last = form->findChild<ColourSwatch *>("Palette26");
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(last->colour(), clWhite);
    EXPECT_EQ(form->findChild<ColourSwatch *>("Palette1")->colour(), ComposeCouleur(127, 0, 0));
    EXPECT_EQ(form->findChild<ColourSwatch *>("Palette3")->colour(), ComposeCouleur(0, 127, 0));
    EXPECT_EQ(form->findChild<ColourSwatch *>("Palette25")->colour(), ComposeCouleur(127, 255, 255));
    last->clicked();
    EXPECT_EQ(form->ForeColor->colour(), clWhite);
    form->action("Palettedescouleurs1")->trigger();
    EXPECT_FALSE(form->Panel3->isVisible());
    form->action("Palettedescouleurs1")->trigger();
    EXPECT_TRUE(form->Panel3->isVisible());
}

TEST_F(AppTest, HintsGoToStatusPanelZero)
{
    QAction *a = form->action("FileOpenItem");
    a->showStatusText(form.get());
    EXPECT_EQ(form->statusPanel(0), "Ouvrir un fichier existant");
    EXPECT_EQ(form->action("FileSaveItem")->shortcut(), QKeySequence("Ctrl+S"));
    EXPECT_EQ(form->action("Annuler1")->shortcut(), QKeySequence("Ctrl+U"));
}

TEST_F(AppTest, ProgressBarReplacesTheStatusBar)
{
    Progress &p = form->progressBar();
    p.begin();
    EXPECT_TRUE(form->ProgressBar1->isVisible());
    EXPECT_FALSE(form->statusBar()->isVisible());
    p.setPosition(42);
    EXPECT_EQ(form->ProgressBar1->value(), 42);
    p.end();
    EXPECT_FALSE(form->ProgressBar1->isVisible());
    EXPECT_TRUE(form->statusBar()->isVisible());
}
