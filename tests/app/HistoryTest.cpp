// "Annuler" and "Rétablir" as a user goes: strokes drawn by mouse events on the view,
// commands of the menus, the keys Ctrl+Z, Ctrl+U, Ctrl+Y and Ctrl+Shift+Z on the window,
// files opened through "Ouvrir", saved with Ctrl+S and read back.
#include "AppFixture.h"
#include "ImageView.h"
#include "PictureFiles.h"
#include "TestPictures.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace vermeo;
using namespace vermeo::test;

namespace {

class History : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    QAction *item(const char *name) { return form->action(QString::fromLatin1(name)); }
    void trigger(const char *name)
    {
        QAction *a = item(name);
        ASSERT_NE(a, nullptr) << name;
        a->trigger();
        QApplication::processEvents();
    }
    void key(TMDIChild *c, Qt::Key k, Qt::KeyboardModifiers mods = Qt::ControlModifier)
    {
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        c->Image1()->setFocus();
        QTest::keyClick(c->Image1(), k, mods);
        QApplication::processEvents();
    }
    void undoKey(TMDIChild *c) { key(c, Qt::Key_Z); }
    void redoKey(TMDIChild *c) { key(c, Qt::Key_Y); }
    void chooseTool(const char *button) { qobject_cast<QToolButton *>(form->control(button))->click(); }
    void drag(TMDIChild *c, QPoint from, QPoint to)
    {
        QWidget *view = c->Image1();
        QTest::mousePress(view, Qt::LeftButton, {}, from);
        for (int i = 1; i <= 8; ++i)
            QTest::mouseMove(view, from + (to - from) * i / 8);
        QTest::mouseRelease(view, Qt::LeftButton, {}, to);
        QApplication::processEvents();
    }
    void stroke(TMDIChild *c, QPoint from, QPoint to)
    {
        chooseTool("PenButton");
        drag(c, from, to);
    }
    // A file written here, opened through "Ouvrir".
    TMDIChild *openFile(const Picture &pic, const QString &name)
    {
        path = dir.filePath(name);
        formats::writePictureFile(pic, path);
        dialogs.onFile = [this](FileDialogRequest &) { return path; };
        form->FileOpenItemClick();
        dialogs.onFile = nullptr;
        QApplication::processEvents();
        return form->activeChild();
    }
    void ctrlS(TMDIChild *c) { key(c, Qt::Key_S); }
    QTemporaryDir dir;
    QString path;
};

} // namespace

TEST_F(History, StrokesGoBackAndForthOneAtATimeByKeysAndMenu)
{
    TMDIChild *c = newPicture(400, 300);
    ASSERT_NE(item("Retablir1"), nullptr);
    // "Rétablir" stands right below "Annuler" in "Edition", with its keys.
    QMenu *edition = form->menuBar()->findChild<QMenu *>(QStringLiteral("Edition1"));
    ASSERT_NE(edition, nullptr);
    const QList<QAction *> items = edition->actions();
    const qsizetype at = items.indexOf(item("Annuler1"));
    ASSERT_GE(at, 0);
    ASSERT_LT(at + 1, items.size());
    EXPECT_EQ(items[at + 1], item("Retablir1"));
    EXPECT_EQ(item("Retablir1")->text(), QStringLiteral("&Rétablir"));
    EXPECT_EQ(item("Retablir1")->shortcuts(),
              (QList<QKeySequence>{QKeySequence("Ctrl+Y"), QKeySequence("Ctrl+Shift+Z")}));
    EXPECT_EQ(item("Annuler1")->shortcuts(), (QList<QKeySequence>{QKeySequence("Ctrl+U"), QKeySequence("Ctrl+Z")}));
    EXPECT_FALSE(item("Retablir1")->isEnabled()) << "nothing to redo yet";

    std::vector<QImage> states{c->doc().image().copy()};
    for (int i = 0; i < 4; ++i) {
        stroke(c, QPoint(20 + 90 * i, 20), QPoint(70 + 90 * i, 250));
        states.push_back(c->doc().image().copy());
        ASSERT_NE(states[size_t(i) + 1], states[size_t(i)]);
    }
    undoKey(c);
    EXPECT_EQ(c->doc().image(), states[3]);
    EXPECT_TRUE(item("Retablir1")->isEnabled());
    key(c, Qt::Key_U); // the program's own key does the same
    EXPECT_EQ(c->doc().image(), states[2]);
    trigger("Annuler1");
    EXPECT_EQ(c->doc().image(), states[1]);
    undoKey(c);
    EXPECT_EQ(c->doc().image(), states[0]);
    EXPECT_FALSE(c->Modified()) << "back to the new blank picture";
    undoKey(c);
    EXPECT_EQ(c->doc().image(), states[0]) << "nothing before the first change";

    redoKey(c);
    EXPECT_EQ(c->doc().image(), states[1]);
    EXPECT_TRUE(c->Modified());
    key(c, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(c->doc().image(), states[2]);
    trigger("Retablir1");
    EXPECT_EQ(c->doc().image(), states[3]);
    redoKey(c);
    EXPECT_EQ(c->doc().image(), states[4]);
    EXPECT_FALSE(item("Retablir1")->isEnabled()) << "greyed once everything is redone";
    redoKey(c);
    EXPECT_EQ(c->doc().image(), states[4]);
}

// On a picture large enough for its memory to be reused once freed, the whole-picture
// changes by keys (Delete on everything, a paste as a new window) and their undo and
// redo each keep their own pixels.
TEST_F(History, WholePictureChangesOnALargePictureKeepEveryStateApart)
{
    TMDIChild *c = newPicture(2100, 1100);
    const QImage blank = c->doc().image().copy();
    stroke(c, QPoint(20, 20), QPoint(300, 250));
    const QImage one = c->doc().image().copy();
    key(c, Qt::Key_A);
    key(c, Qt::Key_Delete, Qt::NoModifier);
    ASSERT_EQ(c->doc().image(), blank);
    undoKey(c);
    ASSERT_EQ(c->doc().image(), one);
    stroke(c, QPoint(40, 200), QPoint(350, 30)); // the white picture's step goes
    const QImage two = c->doc().image().copy();
    ASSERT_NE(two, one);
    key(c, Qt::Key_A);
    key(c, Qt::Key_Delete, Qt::NoModifier);
    EXPECT_EQ(c->doc().image(), blank);
    undoKey(c);
    EXPECT_EQ(c->doc().image(), two);
    undoKey(c);
    EXPECT_EQ(c->doc().image(), one);
    redoKey(c);
    redoKey(c);
    EXPECT_EQ(c->doc().image(), blank);
    undoKey(c);
    ASSERT_EQ(c->doc().image(), two);

    // Copied whole and pasted as a new window, then drawn on in both windows: each
    // keeps its own strokes.
    key(c, Qt::Key_A);
    key(c, Qt::Key_C);
    key(c, Qt::Key_V);
    TMDIChild *pasted = form->activeChild();
    ASSERT_NE(pasted, c);
    ASSERT_EQ(pasted->doc().image(), two);
    stroke(pasted, QPoint(10, 300), QPoint(200, 300));
    const QImage drawnInPasted = pasted->doc().image().copy();
    EXPECT_NE(drawnInPasted, two);
    EXPECT_EQ(c->doc().image(), two) << "the stroke in the pasted window stays there";
    stroke(c, QPoint(10, 400), QPoint(200, 400));
    EXPECT_EQ(pasted->doc().image(), drawnInPasted);
    undoKey(pasted);
    EXPECT_EQ(pasted->doc().image(), two);
    undoKey(pasted);
    EXPECT_EQ(pasted->doc().image(), blank) << "before the paste, the new window's white";
}

TEST_F(History, CropResizeAndZoomComeBackAndGoAgainWithTheirSize)
{
    const QImage original = noise(400, 300);
    TMDIChild *c = openFile(Picture::fromImage(original), QStringLiteral("bruit.bmp"));
    ASSERT_NE(c, nullptr);
    chooseTool("SpeedButton2");
    drag(c, QPoint(20, 30), QPoint(120, 110));
    trigger("Recdrer1");
    ASSERT_EQ(c->doc().image().size(), QSize(100, 80));
    const QImage cropped = c->doc().image().copy();
    dialogs.onDialog = [](QDialog &d) {
        d.findChild<QCheckBox *>(QStringLiteral("CheckBox1"))->setChecked(false);
        d.findChild<QLineEdit *>(QStringLiteral("Edit1"))->setText(QStringLiteral("200"));
        d.findChild<QLineEdit *>(QStringLiteral("Edit2"))->setText(QStringLiteral("150"));
        d.findChild<QPushButton *>(QStringLiteral("Button2"))->click();
    };
    trigger("Redimensionner1");
    dialogs.onDialog = nullptr;
    ASSERT_EQ(c->doc().image().size(), QSize(200, 150));
    const QImage resized = c->doc().image().copy();
    trigger("Zoomavant1");
    ASSERT_EQ(c->doc().zoomLevel(), 2);
    stroke(c, QPoint(30, 30), QPoint(350, 250));
    const QImage drawn = c->doc().image().copy();
    ASSERT_NE(drawn, resized);

    undoKey(c);
    EXPECT_EQ(c->doc().image(), resized);
    EXPECT_EQ(c->doc().zoomLevel(), 2) << "the stroke was drawn at x2";
    // The zoom belongs to the step it was chosen in: the resize's.
    undoKey(c);
    EXPECT_EQ(c->doc().image(), cropped);
    EXPECT_EQ(c->doc().zoomLevel(), 0);
    EXPECT_EQ(c->doc().view().size(), QSize(100, 80));
    EXPECT_EQ(form->statusPanel(1), QStringLiteral("100 x 80"));
    undoKey(c);
    EXPECT_EQ(c->doc().image(), original);
    EXPECT_EQ(form->statusPanel(1), QStringLiteral("400 x 300"));
    EXPECT_FALSE(c->Modified()) << "the picture as opened";

    redoKey(c);
    EXPECT_EQ(c->doc().image(), cropped);
    EXPECT_EQ(form->statusPanel(1), QStringLiteral("100 x 80"));
    redoKey(c);
    EXPECT_EQ(c->doc().image(), resized);
    EXPECT_EQ(c->doc().zoomLevel(), 2);
    EXPECT_EQ(c->doc().view().size(), QSize(400, 300));
    EXPECT_EQ(form->statusPanel(1), QStringLiteral("200 x 150"));
    redoKey(c);
    EXPECT_EQ(c->doc().image(), drawn);
    EXPECT_EQ(c->doc().zoomLevel(), 2);
    EXPECT_TRUE(c->Modified());
    // What the file receives is what is shown, at actual size.
    ctrlS(c);
    const Picture file = formats::readPictureFile(path);
    EXPECT_EQ(file.image.size(), QSize(200, 150));
    EXPECT_EQ(differingPixels(file.image, drawn), 0);
}

TEST_F(History, PalettePicturesComeBackWithTheirDepthAndPalette)
{
    for (const int depth : {1, 8}) {
        const Picture pal = palettePicture(160, 120, depth);
        TMDIChild *c = openFile(pal, QStringLiteral("palette%1.bmp").arg(depth));
        ASSERT_NE(c, nullptr);
        ASSERT_EQ(c->doc().picture().depth, depth);
        // A whole-picture command that makes a true-colour (or, from 8 bits, a 1-bit) picture.
        trigger(depth == 1 ? "Inverser1" : "Monochrome1");
        const Picture changed = c->doc().picture();
        ASSERT_NE(changed.depth, depth);
        stroke(c, QPoint(10, 10), QPoint(150, 100));
        const Picture drawn = c->doc().picture();

        undoKey(c);
        undoKey(c);
        EXPECT_EQ(c->doc().image(), pal.image) << depth;
        EXPECT_EQ(c->doc().picture().depth, depth);
        EXPECT_EQ(c->doc().picture().palette, pal.palette);
        EXPECT_FALSE(c->Modified());
        redoKey(c);
        EXPECT_EQ(c->doc().picture().depth, changed.depth) << depth;
        EXPECT_EQ(c->doc().picture().palette, changed.palette);
        redoKey(c);
        EXPECT_EQ(c->doc().image(), drawn.image);
        undoKey(c);
        undoKey(c);
        // Saved as it is shown: the file's own depth and palette, every pixel as opened.
        trigger("FileSaveItem");
        EXPECT_FALSE(c->Modified()) << "not modified: nothing to write";
        const QString again = dir.filePath(QStringLiteral("encore%1.bmp").arg(depth));
        dialogs.onFile = [&](FileDialogRequest &) { return again; };
        trigger("FileSaveAsItem");
        dialogs.onFile = nullptr;
        const Picture back = formats::readPictureFile(again);
        EXPECT_EQ(back.depth, depth);
        EXPECT_EQ(back.palette.mid(0, 1 << depth), pal.palette);
        EXPECT_EQ(differingPixels(back.image, pal.image), 0);
        closeActive();
    }
}

TEST_F(History, TheSavePointFollowsUndoRedoAndSave)
{
    const QImage original = noise(120, 90);
    TMDIChild *c = openFile(Picture::fromImage(original), QStringLiteral("photo.bmp"));
    ASSERT_NE(c, nullptr);
    stroke(c, QPoint(10, 10), QPoint(100, 80));
    const QImage drawn = c->doc().image().copy();
    ctrlS(c);
    ASSERT_FALSE(c->Modified());
    EXPECT_EQ(differingPixels(formats::readPictureFile(path).image, drawn), 0);

    // Draw, Ctrl+S, "Annuler": the window shows what the file does not hold.
    undoKey(c);
    EXPECT_EQ(c->doc().image(), original);
    EXPECT_TRUE(c->Modified());
    ctrlS(c);
    EXPECT_FALSE(c->Modified());
    EXPECT_EQ(differingPixels(formats::readPictureFile(path).image, original), 0) << "Ctrl+S wrote again";

    // The save moved the save point: redoing past it is a change, undoing back is none.
    redoKey(c);
    EXPECT_EQ(c->doc().image(), drawn);
    EXPECT_TRUE(c->Modified());
    dialogs.asked.clear();
    dialogs.answer = QMessageBox::Cancel;
    form->FileCloseItemClick();
    QApplication::processEvents();
    ASSERT_EQ(dialogs.asked.size(), 1u) << "Fermer asks";
    EXPECT_EQ(dialogs.asked[0], QStringLiteral("Enregistrer modifications dans photo.bmp ?"));
    ASSERT_EQ(form->activeChild(), c);
    undoKey(c);
    EXPECT_FALSE(c->Modified());
    dialogs.asked.clear();
    closeActive();
    EXPECT_TRUE(dialogs.asked.empty()) << "nothing to ask: the picture is the file's";
    EXPECT_TRUE(form->children().isEmpty());
    EXPECT_EQ(differingPixels(formats::readPictureFile(path).image, original), 0);
}

TEST_F(History, ANewChangeAfterUndoDropsTheRedoStepsButAZoomDoesNot)
{
    TMDIChild *c = newPicture(300, 200);
    ASSERT_NE(item("Retablir1"), nullptr);
    stroke(c, QPoint(10, 10), QPoint(100, 150));
    const QImage a = c->doc().image().copy();
    stroke(c, QPoint(150, 10), QPoint(250, 150));
    const QImage ab = c->doc().image().copy();
    undoKey(c);
    EXPECT_EQ(c->doc().image(), a);
    // Looking closer keeps what "Rétablir" can do.
    trigger("Zoomavant1");
    trigger("Taillerelle1");
    EXPECT_TRUE(item("Retablir1")->isEnabled());
    redoKey(c);
    EXPECT_EQ(c->doc().image(), ab);
    undoKey(c);

    stroke(c, QPoint(10, 180), QPoint(290, 180));
    const QImage ac = c->doc().image().copy();
    EXPECT_FALSE(item("Retablir1")->isEnabled());
    redoKey(c);
    EXPECT_EQ(c->doc().image(), ac) << "the dropped stroke never comes back";
    undoKey(c);
    EXPECT_EQ(c->doc().image(), a);
    undoKey(c);
    EXPECT_NE(c->doc().image(), a);
    redoKey(c);
    redoKey(c);
    EXPECT_EQ(c->doc().image(), ac);
}

TEST_F(History, TheBudgetDropsTheOldestStepsAndWithThemTheSavePoint)
{
    const QImage original = filled(400, 300, clWhite);
    TMDIChild *c = openFile(Picture::fromImage(original), QStringLiteral("blanc.bmp"));
    ASSERT_NE(c, nullptr);
    // Each stroke stays inside one tile of 128 x 128: a step of about 64 KB.
    const long long tileBytes = 128 * 128 * 4;
    c->doc().history().setBudget(tileBytes * 7 / 2);
    std::vector<QImage> states{c->doc().image().copy()};
    for (int i = 0; i < 6; ++i) {
        const QPoint at(20 + 130 * (i % 3), 20 + 130 * (i / 3));
        stroke(c, at, at + QPoint(60, 60));
        states.push_back(c->doc().image().copy());
        if (i == 0) {
            ctrlS(c);
            ASSERT_FALSE(c->Modified());
        }
    }
    for (int i = 0; i < 10; ++i)
        undoKey(c);
    EXPECT_LE(c->doc().history().heldBytes(), tileBytes * 7 / 2);
    // Three steps kept, the newest: the first three strokes stay for good.
    EXPECT_EQ(c->doc().image(), states[3]);
    EXPECT_TRUE(c->Modified()) << "the saved state can no longer be reached";
    for (int i = 0; i < 10; ++i)
        redoKey(c);
    EXPECT_EQ(c->doc().image(), states[6]);
    EXPECT_TRUE(c->Modified());

    // The default: a quarter of the machine's memory, far above a hundred strokes here.
    c->doc().history().setBudget(0);
    EXPECT_GT(c->doc().history().budget(), 100 * 4 * tileBytes);
}
