// "Fusionner", "Mosaïque" and "Fractales" on a document, through their dialogs.
#include "CombineCommands.h"
#include "DialogRunner.h"
#include "Error.h"
#include "FractalDrawing.h"
#include "Merge.h"
#include "RecordingHost.h"
#include "TFract.h"
#include "TFusion.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

using namespace vermeo;
using namespace vermeo::geometry;
using namespace vermeo::test;

TEST(CombineCommands, MergingThePictureWithItselfGivesTheSixResults)
{
    ImageDocument doc;
    RecordingHost host;
    ScriptedDialogs scripts;
    loadNoise(doc, 120, 80);
    const QImage before = doc.image().copy();
    const QImage inverted = [&] {
        QImage i = before.copy();
        i.invertPixels();
        return i;
    }();
    const QImage expected[6] = {before, filled(120, 80, clWhite), inverted, inverted, before, filled(120, 80, clBlack)};
    for (int i = 0; i < 6; ++i) {
        scripts.onDialog = [i](QDialog &d) {
            auto &f = static_cast<TFusion &>(d);
            EXPECT_EQ(f.windowTitle(), QStringLiteral("Fusion"));
            EXPECT_TRUE(f.RadioButton[0]->isChecked());
            f.RadioButton[i]->click();
            f.Button2->click();
        };
        doc.setModified(false);
        Fusionner(doc, host);
        EXPECT_EQ(differingPixels(doc.image(), expected[i]), 0) << i + 1;
        EXPECT_TRUE(doc.modified()) << i + 1;
        EXPECT_EQ(doc.canvas().copyMode(), CopyMode::SrcCopy) << i + 1;
        doc.Annule();
        EXPECT_EQ(doc.image(), before) << i + 1;
    }
    // "Annuler", after a preview: nothing changes.
    doc.setModified(false);
    scripts.onDialog = [](QDialog &d) {
        auto &f = static_cast<TFusion &>(d);
        f.RadioButton[5]->click();
        f.Button3->click();
        EXPECT_NE(f.shownPreview(), f.referencePreview());
        f.Button1->click();
    };
    Fusionner(doc, host);
    EXPECT_EQ(doc.image(), before);
    EXPECT_FALSE(doc.modified());
}

TEST(CombineCommands, TheMergeDialogPreviewsAndBrowsesForItsSecondPicture)
{
    QTemporaryDir dir;
    const QString good = dir.filePath(QStringLiteral("second.bmp"));
    const QString bad = dir.filePath(QStringLiteral("abime.bmp"));
    const QImage second = noise(50, 30, 21);
    ASSERT_TRUE(second.save(good, "BMP"));
    QFile f(bad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("BM not a bitmap at all");
    f.close();

    ScriptedDialogs scripts;
    TFusion dlg;
    const QImage picture = noise(300, 200, 4);
    dlg.Init(picture);
    const QImage reference = dlg.referencePreview();
    EXPECT_EQ(reference.size(), QSize(132, 99));
    EXPECT_EQ(dlg.Image2->pixmap().size(), QSize(132, 99));

    // "Parcourir" offers bitmaps; the file read becomes the second picture.
    QString filter;
    scripts.onFile = [&](FileDialogRequest &r) {
        filter = r.filter;
        return good;
    };
    dlg.Button5->click();
    EXPECT_EQ(filter, QStringLiteral("Bitmaps (*.bmp) (*.bmp)"));
    EXPECT_EQ(dlg.secondPicture(), second);
    // A file that cannot be read: the reader's message, the earlier second picture kept.
    scripts.onFile = [&](FileDialogRequest &) { return bad; };
    dlg.Button5->click();
    ASSERT_EQ(scripts.asked.size(), 1u);
    EXPECT_TRUE(scripts.asked[0].contains(QStringLiteral("abime.bmp"))) << scripts.asked[0].toStdString();
    EXPECT_EQ(dlg.secondPicture(), second);

    // "Aperçu" (a click or Enter on it) shows the merge; "Rétablir" the picture again.
    dlg.RadioButton[5]->setChecked(true);
    dlg.Button3->click();
    EXPECT_EQ(dlg.shownPreview(), mergePictures(reference, second, CopyMode::SrcInvert));
    dlg.Button4->click();
    EXPECT_EQ(dlg.shownPreview(), reference);
    dlg.show();
    dlg.Button3->setFocus();
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(dlg.Button3, &enter);
    EXPECT_EQ(dlg.shownPreview(), mergePictures(reference, second, CopyMode::SrcInvert));
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_TRUE(dlg.Button2->isDefault());
    dlg.Button2->click();
    int operation = 0;
    QImage merged;
    dlg.Result(operation, merged);
    EXPECT_EQ(operation, 6);
    EXPECT_EQ(merged, second);
}

TEST(CombineCommands, TilingReadsTheTileAndLeavesThePictureAloneWhenItCannot)
{
    QTemporaryDir dir;
    ImageDocument doc;
    RecordingHost host;
    ScriptedDialogs scripts;
    loadNoise(doc, 100, 60);
    const QImage before = doc.image().copy();
    auto tileWith = [&](const QImage &tile) {
        const QString name = dir.filePath(QStringLiteral("tuile%1.bmp").arg(tile.width()));
        EXPECT_TRUE(tile.save(name, "BMP"));
        QString filter;
        scripts.onFile = [name, &filter](FileDialogRequest &r) {
            filter = r.filter;
            return name;
        };
        Mosaique(doc, host);
        EXPECT_TRUE(filter.startsWith(QStringLiteral("Tout"))) << filter.toStdString();
    };
    // As wide as the picture: one tile per row, repeated down.
    const QImage wide = noise(100, 25, 2);
    tileWith(wide);
    for (int y : {0, 24, 25, 59})
        EXPECT_EQ(doc.image().copy(0, y, 100, 1), wide.copy(0, y % 25, 100, 1)) << y;
    EXPECT_TRUE(doc.modified());
    doc.Annule();
    EXPECT_EQ(doc.image(), before);
    // Larger than the picture: drawn once, cut at the picture's edges.
    const QImage large = noise(130, 90, 5);
    tileWith(large);
    EXPECT_EQ(doc.image(), large.copy(0, 0, 100, 60));
    doc.Annule();

    // A file that cannot be read: the reader's message, and nothing changes.
    const QString bad = dir.filePath(QStringLiteral("cassee.bmp"));
    QFile f(bad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("BM\x01\x02");
    f.close();
    doc.setModified(false);
    scripts.onFile = [bad](FileDialogRequest &) { return bad; };
    try {
        Mosaique(doc, host);
        ADD_FAILURE() << "no error";
    } catch (const VermeoError &e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("cassee.bmp"))) << e.message().toStdString();
    }
    EXPECT_EQ(doc.image(), before);
    EXPECT_FALSE(doc.modified());
    scripts.onFile = {}; // cancelled
    Mosaique(doc, host);
    EXPECT_EQ(doc.image(), before);
    EXPECT_FALSE(doc.modified());
}

TEST(CombineCommands, FractalsPreviewTheChosenTypeAndStretchIntoAllButTheLastRowAndColumn)
{
    ImageDocument doc;
    RecordingHost host;
    ScriptedDialogs scripts;
    loadNoise(doc, 160, 120);
    const QImage before = doc.image().copy();
    QImage shown;
    scripts.onDialog = [&](QDialog &d) {
        auto &t = static_cast<TFract &>(d);
        EXPECT_EQ(t.windowTitle(), QStringLiteral("Effets spéciaux"));
        t.FractalImage1->seedSource = [] { return 77u; };
        // No selection: the dialog's own type, Curl.
        t.Button1->click();
        EXPECT_EQ(t.FractalImage1->FractalProperties().FractalType(), ftCurl);
        QImage curl = newWorkingImage(217, 233);
        drawFractal(curl, settingsOf(t.FractalImage1->FractalProperties(), 77));
        EXPECT_EQ(t.FractalImage1->picture(), curl);
        // A double click on "MandelBrot": its type, 16 iterations.
        QListWidgetItem *item = t.ListBox1->item(5);
        EXPECT_EQ(item->text(), QStringLiteral("MandelBrot"));
        t.ListBox1->setCurrentItem(item);
        emit t.ListBox1->itemDoubleClicked(item);
        EXPECT_EQ(t.FractalImage1->FractalProperties().NumberOfIterations, 16);
        QImage mandel = newWorkingImage(217, 233);
        drawFractal(mandel, settingsOf(t.FractalImage1->FractalProperties(), 77));
        EXPECT_EQ(t.FractalImage1->picture(), mandel);
        shown = mandel;
        t.Button4->click();
    };
    Fractales(doc, host);
    QImage expected = before.copy();
    Canvas(&expected).StretchDraw(QRect(0, 0, 159, 119), shown);
    EXPECT_EQ(doc.image(), expected);
    EXPECT_EQ(doc.image().copy(159, 0, 1, 120), before.copy(159, 0, 1, 120));
    EXPECT_EQ(doc.image().copy(0, 119, 160, 1), before.copy(0, 119, 160, 1));
    EXPECT_TRUE(doc.modified());
    doc.Annule();
    EXPECT_EQ(doc.image(), before);

    // "Annuler": an undo step and the modified flag, with the picture unchanged.
    QImage scribbled = before.copy();
    scribbled.setPixel(5, 5, qRgb(1, 2, 3));
    doc.replacePixels(scribbled);
    doc.setModified(false);
    scripts.onDialog = [](QDialog &d) { static_cast<TFract &>(d).Button3->click(); };
    Fractales(doc, host);
    EXPECT_EQ(doc.image(), scribbled);
    EXPECT_TRUE(doc.modified());
    doc.Annule();
    EXPECT_EQ(doc.image(), scribbled);
}

TEST(CombineCommands, AnnulerDuringALongDrawingStopsIt)
{
    ImageDocument doc;
    RecordingHost host;
    ScriptedDialogs scripts;
    loadNoise(doc, 90, 70);
    const QImage before = doc.image().copy();
    bool stopped = false, accepted = true;
    int repaints = 0;
    scripts.onDialog = [&](QDialog &d) {
        auto &t = static_cast<TFract &>(d);
        t.ListBox1->setCurrentRow(7); // Sierpinski
        t.FractalImage1->FractalProperties().setFractalType(ftSierpinski);
        t.FractalImage1->FractalProperties().NumberOfIterations = 2'000'000'000;
        // Clicked while the points are plotted: the drawing answers it.
        QTimer::singleShot(150, t.Button3, &QPushButton::click);
        t.Button1->click();
        stopped = t.FractalImage1->stoppedEarly();
        repaints = t.FractalImage1->repaintsWhileDrawing();
        accepted = t.isAccepted();
        EXPECT_FALSE(t.isVisible());
        EXPECT_FALSE(t.FractalImage1->drawing());
    };
    Fractales(doc, host);
    EXPECT_TRUE(stopped);
    EXPECT_GT(repaints, 0);
    EXPECT_FALSE(accepted);
    EXPECT_EQ(doc.image(), before);
}
