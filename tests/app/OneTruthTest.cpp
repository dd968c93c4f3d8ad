// The picture a file receives is the picture at actual size, whatever the zoom, the
// undo, the selection outline or a floating paste did to the view. Through the main
// window's menus, real mouse events and files read back.
#include "AppFixture.h"
#include "ChannelKernels.h"
#include "ImageView.h"
#include "PictureFiles.h"
#include "ProgramRandom.h"
#include "TestPictures.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace vermeo;
using namespace vermeo::test;

namespace {

// One-pixel black lines on white: every third column and every fifth row.
QImage thinLines(int w, int h)
{
    QImage img = newWorkingImage(w, h, 0xFFFFFFFFu);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (x % 3 == 1 || y % 5 == 2)
                img.setPixel(x, y, qRgb(0, 0, 0));
    return img;
}

class OneTruth : public AppTest {
protected:
    void trigger(const char *item) { form->action(QString::fromLatin1(item))->trigger(); }
    // "Enregistrer sous..." to a new file of the temporary folder, read back.
    QImage saveAndReadBack(const QString &name)
    {
        const QString path = dir.filePath(name);
        dialogs.onFile = [&](FileDialogRequest &) { return path; };
        form->FileSaveAsItemClick();
        dialogs.onFile = nullptr;
        return formats::readPictureFile(path).image;
    }
    void drag(TMDIChild *c, QPoint from, QPoint to)
    {
        QWidget *view = c->Image1();
        QTest::mousePress(view, Qt::LeftButton, {}, from);
        for (int i = 1; i <= 8; ++i)
            QTest::mouseMove(view, from + (to - from) * i / 8);
        QTest::mouseRelease(view, Qt::LeftButton, {}, to);
    }
    void chooseTool(const char *button) { qobject_cast<QToolButton *>(form->control(button))->click(); }
    QTemporaryDir dir;
    // Started in the temporary folder, so "Filtres" keeps its file there.
    void SetUp() override
    {
        m_previousDir = QDir::currentPath();
        QDir::setCurrent(dir.path());
        AppTest::SetUp();
    }
    void TearDown() override
    {
        AppTest::TearDown();
        QDir::setCurrent(m_previousDir);
    }
    QString m_previousDir;
};

} // namespace

TEST_F(OneTruth, EraseAndInvertWhileReducedLastAtActualSizeAndInTheFile)
{
    TMDIChild *c = newPicture(400, 300);
    const QImage lines = thinLines(400, 300);
    c->doc().replacePixels(lines);
    trigger("Zoomarrire1");
    ASSERT_EQ(c->doc().view().size(), QSize(200, 150));
    dialogs.answer = QMessageBox::Yes;
    trigger("Effacerlimage1");
    trigger("Taillerelle1");
    const QImage white = filled(400, 300, clWhite);
    EXPECT_EQ(differingPixels(c->doc().image(), white), 0);
    EXPECT_EQ(differingPixels(saveAndReadBack("efface.bmp"), white), 0);

    c->doc().replacePixels(lines);
    trigger("Zoomarrire1");
    trigger("Inverser1");
    trigger("Zoomavant1");
    ASSERT_EQ(c->doc().zoomLevel(), 0);
    EXPECT_EQ(differingPixels(c->doc().image(), colour::invert(lines)), 0);
    EXPECT_EQ(differingPixels(c->doc().view(), colour::invert(lines)), 0);
}

TEST_F(OneTruth, UndoAfterCropResizeOrZoomedDrawingBringsBackSizeAndZoom)
{
    TMDIChild *c = newPicture(400, 300);
    const QImage original = noise(400, 300);
    c->doc().replacePixels(original);
    c->doc().SauveUndo();

    // Crop, undo, then enlarge the canvas: the minimum offered is the restored size.
    qobject_cast<QToolButton *>(form->control("SpeedButton2"))->click();
    drag(c, QPoint(20, 30), QPoint(120, 110));
    trigger("Recdrer1");
    ASSERT_EQ(c->doc().image().size(), QSize(100, 80));
    trigger("Annuler1");
    EXPECT_EQ(c->doc().image(), original);
    EXPECT_EQ(form->statusPanel(1), QStringLiteral("400 x 300"));
    int minimum = 0;
    dialogs.onDialog = [&](QDialog &d) {
        auto *w = d.findChild<QSpinBox *>(QStringLiteral("SpinEdit1"));
        minimum = w->minimum();
        w->setValue(450);
        d.findChild<QSpinBox *>(QStringLiteral("SpinEdit2"))->setValue(320);
        d.findChild<QPushButton *>(QStringLiteral("Button2"))->click();
    };
    trigger("Agrandirlesupport1");
    EXPECT_EQ(minimum, 400);
    ASSERT_EQ(c->doc().image().size(), QSize(450, 320));
    EXPECT_EQ(c->doc().image().copy(0, 0, 400, 300), original);
    trigger("Annuler1");

    // Resize, undo, then a zoom step out and back: the full resolution is there.
    dialogs.onDialog = [](QDialog &d) {
        d.findChild<QCheckBox *>(QStringLiteral("CheckBox1"))->setChecked(false);
        d.findChild<QLineEdit *>(QStringLiteral("Edit1"))->setText(QStringLiteral("200"));
        d.findChild<QLineEdit *>(QStringLiteral("Edit2"))->setText(QStringLiteral("150"));
        d.findChild<QPushButton *>(QStringLiteral("Button2"))->click();
    };
    trigger("Redimensionner1");
    ASSERT_EQ(c->doc().image().size(), QSize(200, 150));
    trigger("Annuler1");
    trigger("Zoomarrire1");
    trigger("Zoomavant1");
    EXPECT_EQ(c->doc().view().size(), QSize(400, 300));
    EXPECT_EQ(c->doc().image(), original);

    // A stroke at x3, "Taille réelle", "Annuler": the file is 400 x 300, as the picture.
    trigger("Zoomavant1");
    trigger("Zoomavant1");
    ASSERT_EQ(c->doc().view().size(), QSize(1200, 900));
    chooseTool("PenButton");
    drag(c, QPoint(100, 100), QPoint(600, 500));
    trigger("Taillerelle1");
    trigger("Annuler1");
    const QImage file = saveAndReadBack("apres.bmp");
    EXPECT_EQ(file.size(), QSize(400, 300));
    EXPECT_EQ(differingPixels(file, original), 0);
}

TEST_F(OneTruth, TheSelectionOutlineNeverGetsIntoThePicture)
{
    TMDIChild *c = newPicture(400, 300);
    const QImage original = noise(400, 300);
    c->doc().replacePixels(original);
    c->doc().SauveUndo();
    trigger("Toutslectionner1");
    ASSERT_TRUE(c->doc().RectSelected);
    EXPECT_EQ(differingPixels(saveAndReadBack("avec-selection.bmp"), original), 0);
    trigger("Zoomarrire1");
    trigger("Taillerelle1");
    trigger("Annuler1");
    EXPECT_EQ(c->doc().image(), original);
    trigger("Inverser1");
    EXPECT_EQ(c->doc().image(), colour::invert(original));
    dialogs.answer = QMessageBox::Yes;
    trigger("Effacerlimage1");
    EXPECT_EQ(differingPixels(c->doc().image(), filled(400, 300, clWhite)), 0);
}

TEST_F(OneTruth, ADropDrawsThePasteOnceWhereTheGhostWasWhateverTheTool)
{
    const QImage bmp = noise(40, 30, 7);
    for (const char *tool : {"SpeedButton2", "LineButton", "RectangleButton"}) {
        TMDIChild *c = newPicture(300, 200);
        const QImage original = noise(300, 200, 3);
        c->doc().replacePixels(original);
        chooseTool(tool);
        QGuiApplication::clipboard()->setImage(bmp);
        trigger("Collagespcial1");
        QWidget *view = c->Image1();
        QTest::mouseMove(view, QPoint(60, 60));
        QTest::mouseMove(view, QPoint(100, 80));
        // The drop click a little off the last position, with a small drag.
        QTest::mousePress(view, Qt::LeftButton, {}, QPoint(103, 82));
        QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(103, 82));
        QImage expected = original.copy();
        Canvas(&expected).Draw(80, 65, bmp);
        EXPECT_EQ(differingPixels(c->doc().image(), expected), 0) << tool;
        EXPECT_FALSE(c->doc().RectSelected) << tool;
        EXPECT_FALSE(c->doc().FloatingPaste) << tool;
        trigger("Annuler1");
        EXPECT_EQ(c->doc().image(), original) << tool;
        c->doc().setModified(false);
        closeActive();
    }
}

// Every picture command of the menus gives the same picture at actual size whether the
// window shows it reduced, at actual size or enlarged.
TEST_F(OneTruth, EveryPictureCommandGivesTheSameResultAtAnyZoom)
{
    // The commands that draw at random draw the same at each zoom.
    ProgramRandom::pinClockSeed(2024);
    struct Unpin {
        ~Unpin() { ProgramRandom::pinClockSeed(std::nullopt); }
    } unpin;
    TMDIChild *c = newPicture(600, 400);
    // Each dialog is answered with a change: a spin value, sizes, a choice, then "OK".
    dialogs.answer = QMessageBox::Yes;
    dialogs.onDialog = [](QDialog &d) {
        if (d.windowTitle() == QStringLiteral("Filtres")) {
            d.findChild<QLineEdit *>(QStringLiteral("Edit2"))->setText(QStringLiteral("-0,20"));
            d.findChild<QPushButton *>(QStringLiteral("Button2"))->click();
            return;
        }
        if (d.windowTitle() == QStringLiteral("Effets spéciaux")) {
            d.findChild<QListWidget *>(QStringLiteral("ListBox1"))->setCurrentRow(8); // "Ombre S.E."
            d.findChild<QPushButton *>(QStringLiteral("Button1"))->click();
            d.findChild<QPushButton *>(QStringLiteral("Button4"))->click();
            return;
        }
        if (auto *spin = d.findChild<QSpinBox *>(QStringLiteral("SpinEdit1")))
            spin->setValue(int(spin->minimum() + ((long long)spin->maximum() - spin->minimum()) / 3 + 1));
        if (auto *spin = d.findChild<QSpinBox *>(QStringLiteral("SpinEdit2")))
            spin->setValue(spin->minimum() + 7);
        if (auto *edit = d.findChild<QLineEdit *>(QStringLiteral("Edit1"))) {
            d.findChild<QCheckBox *>(QStringLiteral("CheckBox1"))->setChecked(false);
            edit->setText(QStringLiteral("450"));
            d.findChild<QLineEdit *>(QStringLiteral("Edit2"))->setText(QStringLiteral("290"));
        }
        const auto radios = d.findChildren<QRadioButton *>();
        if (!radios.isEmpty())
            radios.back()->setChecked(true);
        // "Effets spéciaux" calls its "OK" Button4.
        auto *ok = d.findChild<QPushButton *>(QStringLiteral("Button2"));
        if (!ok)
            ok = d.findChild<QPushButton *>(QStringLiteral("Button4"));
        ok->click();
    };
    // "Mosaïque" opens a tile.
    const QString tile = dir.filePath(QStringLiteral("tuile.bmp"));
    ASSERT_TRUE(noise(37, 23, 8).save(tile, "BMP"));
    dialogs.onFile = [&](FileDialogRequest &) { return tile; };
    const char *commands[] = {"Inverser1",
                              "Remplacercouleur1",
                              "Niveaudegris1",
                              "Monochrome1",
                              "Balancedescouleurs1",
                              "Luminosit1",
                              "Clart1",
                              "Contraste1",
                              "Saturation1",
                              "Teinte1",
                              "Solariser1",
                              "PermuterRBV1",
                              "Ombrer1",
                              "Foncclair1",
                              "ClairFonc1",
                              "GaucheDroiteFoncClair1",
                              "GaucheDroiteFoncClair2",
                              "Redimensionner1",
                              "Agrandirlesupport1",
                              "Encadrer1",
                              "Miroirvertical1",
                              "MiroirHorizontal1",
                              "Effacerlimage1",
                              "Filtres1",
                              "Effetsspciaux1",
                              "Rchantilloner1",
                              "Rotation1",
                              "Incliner1",
                              "Fusionner1",
                              "Mosaque1",
                              "Fractales1"};
    const QImage original = noise(600, 400);
    form->setForeColour(ComposeCouleur(40, 90, 200));
    for (const char *command : commands) {
        QImage result[3];
        const char *steps[3] = {"Zoomarrire1", "", "Zoomavant1"};
        for (int i = 0; i < 3; ++i) {
            c->doc().setZoomLevel(0);
            c->doc().replacePixels(original);
            c->doc().canvas().setBrushColour(fromQRgb(original.pixel(0, 0))); // what "Remplacer" replaces
            if (*steps[i])
                trigger(steps[i]);
            trigger(command);
            result[i] = c->doc().image().copy();
        }
        EXPECT_NE(result[1], original) << command << " changed nothing: the test would prove nothing";
        EXPECT_EQ(result[0], result[1]) << command << " reduced";
        EXPECT_EQ(result[2], result[1]) << command << " enlarged";
    }
}

// What the window shows is what the file holds, on palette pictures of 1, 4 and 8 bits:
// red drawn on a 16-colour picture, a colour replaced on a black-and-white one, a
// gradient on a 256-colour one, each saved and read back.
TEST_F(OneTruth, PalettePicturesSaveTheColoursTheyShow)
{
    struct Case {
        int depth;
        std::function<void(TMDIChild *)> edit;
    };
    const Case cases[] = {
        {4,
         [&](TMDIChild *c) {
             form->findChild<ColourSwatch *>(QStringLiteral("Palette2"))->clicked(); // pure red
             chooseTool("PenButton");
             drag(c, QPoint(10, 10), QPoint(150, 90));
         }},
        {1,
         [&](TMDIChild *c) {
             c->doc().canvas().setBrushColour(fromQRgb(c->doc().image().pixel(0, 0)));
             c->doc().canvas().setPenColour(ComposeCouleur(200, 30, 60));
             dialogs.onDialog = [](QDialog &d) { d.findChild<QPushButton *>(QStringLiteral("Button2"))->click(); };
             trigger("Remplacercouleur1");
             dialogs.onDialog = nullptr;
         }},
        {8,
         [&](TMDIChild *c) {
             (void)c;
             form->setForeColour(ComposeCouleur(0, 0, 255));
             trigger("Foncclair1");
         }},
    };
    for (const Case &k : cases) {
        const QString path = dir.filePath(QStringLiteral("palette%1.bmp").arg(k.depth));
        // A palette of 2^depth entries of which the picture uses two: there is room.
        Picture pic = test::palettePicture(200, 120, k.depth);
        QImage twoColours = newWorkingImage(200, 120, pic.palette[0]);
        for (int y = 0; y < 120; ++y)
            for (int x = 100; x < 200; ++x)
                twoColours.setPixel(x, y, pic.palette[1]);
        formats::writePictureFile(Picture::withPalette(twoColours, k.depth, pic.palette), path);
        dialogs.onFile = [&](FileDialogRequest &) { return path; };
        form->FileOpenItemClick();
        TMDIChild *c = form->activeChild();
        ASSERT_EQ(c->doc().picture().depth, k.depth);
        k.edit(c);
        const QImage shown = c->doc().image().copy();
        form->FileSaveItemClick();
        const Picture back = formats::readPictureFile(path);
        EXPECT_EQ(back.depth, k.depth) << k.depth;
        EXPECT_EQ(differingPixels(back.image, shown), 0) << k.depth << " bits";
        EXPECT_EQ(differingPixels(back.image, c->doc().image()), 0) << k.depth << " bits";
        closeActive();
    }
}

// Too many colours for the depth: the file gets them reduced, and the window then shows
// the picture as written.
TEST_F(OneTruth, AFullPaletteReducedOnRequestAndTheWindowShowsTheFile)
{
    const QString path = dir.filePath(QStringLiteral("plein.bmp"));
    formats::writePictureFile(test::palettePicture(200, 120, 4), path); // all 16 entries used
    dialogs.onFile = [&](FileDialogRequest &) { return path; };
    form->FileOpenItemClick();
    TMDIChild *c = form->activeChild();
    form->findChild<ColourSwatch *>(QStringLiteral("Palette2"))->clicked();
    chooseTool("PenButton");
    drag(c, QPoint(10, 10), QPoint(150, 90));
    dialogs.answer = QMessageBox::No; // "Réduire les nouvelles couleurs"
    form->FileSaveItemClick();
    ASSERT_FALSE(dialogs.asked.empty());
    EXPECT_TRUE(dialogs.asked.back().contains(QStringLiteral("palette de 16 couleurs")));
    const Picture back = formats::readPictureFile(path);
    EXPECT_EQ(back.depth, 4);
    EXPECT_EQ(differingPixels(back.image, c->doc().image()), 0);
    EXPECT_EQ(differingPixels(c->doc().view(), c->doc().image()), 0);
}
