// "Filtres" and "Effets spéciaux" the way a user goes: keys in the fields, clicks in
// the lists, the buttons, the file written and read back, the commands on a document.
#include "Convolution.h"
#include "DialogRunner.h"
#include "EffectTable.h"
#include "Error.h"
#include "FilterCommands.h"
#include "FilterFile.h"
#include "RecordingHost.h"
#include "TEffets.h"
#include "TFiltre.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace vermeo;
using namespace vermeo::geometry;
using namespace vermeo::test;

namespace {

void clickRow(QListWidget *list, int row)
{
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
}

// Keys typed into a field, then Tab to leave it, as a user does.
void typeAndLeave(QLineEdit *e, const QString &keys)
{
    e->setFocus();
    QTest::keyClicks(e, keys);
    QTest::keyClick(e, Qt::Key_Tab);
}

void pressEnter(QWidget *w) { QTest::keyClick(w, Qt::Key_Return); }

// The file's lines, as one text to compare and print.
std::string fileText(const QString &path);

QStringList fileLines(const QString &path)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    QString text = QString::fromUtf8(f.readAll());
    EXPECT_TRUE(text.isEmpty() || text.endsWith(QStringLiteral("\r\n")));
    QStringList lines = text.split(QStringLiteral("\r\n"));
    lines.removeLast();
    return lines;
}

std::string fileText(const QString &path) { return fileLines(path).join(QLatin1Char('\n')).toStdString(); }

void writeLines(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

class FilterDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale(QLocale::French));
        path = dir.filePath(QStringLiteral("Vermeo.flt"));
        loadNoise(doc, 90, 70);
        doc.setModified(false);
    }
    void TearDown() override { QLocale::setDefault(QLocale::system()); }
    // Runs the command with the dialog driven by `script`, then accepted or not.
    void run(const std::function<void(TFiltre &)> &script)
    {
        scripts.onDialog = [&](QDialog &d) {
            auto &f = static_cast<TFiltre &>(d);
            f.activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
            script(f);
        };
        Filtres(doc, host, path);
    }
    QTemporaryDir dir;
    QString path;
    ImageDocument doc;
    RecordingHost host;
    ScriptedDialogs scripts;
};

} // namespace

TEST_F(FilterDialog, ANewEntryTypedWithTheKeysIsSavedEvenOnAnnuler)
{
    const QImage before = doc.image().copy();
    run([](TFiltre &f) {
        EXPECT_EQ(f.windowTitle(), QStringLiteral("Filtres"));
        EXPECT_EQ(f.ListBox1->count(), 0); // no file yet
        EXPECT_TRUE(f.Edit5->isReadOnly());
        QTest::keyClicks(f.Edit5, QStringLiteral("7")); // browsing: the fields take no keys
        EXPECT_EQ(f.Edit5->text(), QStringLiteral("1"));
        f.Button5->click();
        EXPECT_TRUE(f.newMode());
        EXPECT_FALSE(f.Edit5->isReadOnly());
        EXPECT_EQ(f.Edit1->text(), QString());
        EXPECT_EQ(QApplication::focusWidget(), f.Edit10);
        QTest::keyClicks(f.Edit10, QStringLiteral("Relief"));
        // A point becomes a comma, other signs are dropped, five characters at most.
        typeAndLeave(f.Edit1, QStringLiteral("x-.5a0"));
        EXPECT_EQ(f.Edit1->text(), QStringLiteral("-0,50"));
        f.Edit9->selectAll();
        typeAndLeave(f.Edit9, QStringLiteral(".25"));
        EXPECT_EQ(f.Edit9->text(), QStringLiteral("0,25"));
        f.Edit3->selectAll();
        typeAndLeave(f.Edit3, QStringLiteral("2")); // beyond 1,27: stored clamped, shown so
        EXPECT_EQ(f.Edit3->text(), QStringLiteral("1,27"));
        f.Edit7->clear();
        typeAndLeave(f.Edit7, QString()); // left empty: 0
        EXPECT_EQ(f.Edit7->text(), QStringLiteral("0,00"));
        f.Button1->click(); // "Annuler" stores the entry first
    });
    EXPECT_EQ(fileText(path), "-0,50 0,00 1,27 0,00 1,00 0,00 0,00 0,00 0,25\tRelief");
    EXPECT_EQ(doc.image(), before);
    EXPECT_FALSE(doc.modified());
    EXPECT_TRUE(host.progressRecorder.positions.empty());
}

TEST_F(FilterDialog, EditingStatesModifyReplacesTheSelectedEntryOrAppends)
{
    writeLines(path, "0,00 0,00 0,00 0,00 1,00 0,00 0,00 0,00 0,00\tNeutre\r\n"
                     "0,11 0,11 0,11 0,11 0,12 0,11 0,11 0,11 0,11\tFlou\r\n"
                     "un nom sans tabulation\r\n");
    run([](TFiltre &f) {
        ASSERT_EQ(f.ListBox1->count(), 3);
        EXPECT_EQ(f.Edit10->text(), QStringLiteral("Neutre"));
        EXPECT_EQ(f.selectedIndex(), -1);
        // "Supprimer" with nothing selected does nothing.
        f.Button7->click();
        EXPECT_EQ(f.filterList().size(), 3);
        // A line without TAB: its whole text is the name, the fields are empty.
        clickRow(f.ListBox1, 2);
        EXPECT_EQ(f.Edit10->text(), QStringLiteral("un nom sans tabulation"));
        EXPECT_EQ(f.Edit5->text(), QString());
        clickRow(f.ListBox1, 1);
        EXPECT_EQ(f.Edit5->text(), QStringLiteral("0,12"));
        EXPECT_EQ(f.Edit10->text(), QStringLiteral("Flou"));
        // "Modifier" with an entry selected: the store replaces it.
        f.Button6->click();
        EXPECT_TRUE(f.modifyMode());
        f.Edit10->selectAll();
        QTest::keyClicks(f.Edit10, QStringLiteral("Flou doux"));
        f.Edit5->selectAll();
        typeAndLeave(f.Edit5, QStringLiteral("0,2"));
        pressEnter(f.Edit10);
        EXPECT_FALSE(f.modifyMode());
        EXPECT_TRUE(f.Edit5->isReadOnly());
        EXPECT_EQ(f.filterList().size(), 3);
        EXPECT_EQ(f.ListBox1->item(1)->text(), QStringLiteral("Flou doux"));
        // "Nouveau" leaves no entry selected; "Modifier" then appends.
        f.Button5->click();
        f.Button6->click();
        f.Edit10->selectAll();
        QTest::keyClicks(f.Edit10, QStringLiteral("Copie"));
        clickRow(f.ListBox1, 0); // a list click stores first
        EXPECT_EQ(f.filterList().size(), 4);
        EXPECT_EQ(f.ListBox1->item(3)->text(), QStringLiteral("Copie"));
        EXPECT_EQ(f.Edit10->text(), QStringLiteral("Neutre"));
        // Delete the line without TAB.
        clickRow(f.ListBox1, 2);
        f.Button7->click();
        EXPECT_EQ(f.filterList().size(), 3);
        f.Button1->click();
    });
    EXPECT_EQ(fileText(path), "0,00 0,00 0,00 0,00 1,00 0,00 0,00 0,00 0,00\tNeutre\n"
                              "0,11 0,11 0,11 0,11 0,20 0,11 0,11 0,11 0,11\tFlou doux\n"
                              "0,00 0,11 0,11 0,11 0,20 0,11 0,11 0,11 0,11\tCopie"); // "Nouveau" emptied Edit1
}

TEST_F(FilterDialog, OkAppliesTheSelectedFilterWithUndoProgressAndModifiedFlag)
{
    // Written where the separator is a point, read where it is a comma.
    writeLines(path, "0.00 -0.06 0.00 -0.06 1.24 -0.06 0.00 -0.06 0.00\tNetteté\r\n");
    const QImage before = doc.image().copy();
    run([](TFiltre &f) {
        clickRow(f.ListBox1, 0);
        EXPECT_EQ(f.Edit2->text(), QStringLiteral("-0,06"));
        pressEnter(f.ListBox1); // Enter outside the fields means "OK"
    });
    const FilterCoefficients sharpen = {{{0, -6, 0}, {-6, 124, -6}, {0, -6, 0}}};
    EXPECT_EQ(doc.image(), convolve(before, sharpen, silentProgress()));
    EXPECT_TRUE(doc.modified());
    EXPECT_EQ(int(host.progressRecorder.positions.size()), 90);
    EXPECT_EQ(host.progressRecorder.positions.back(), 89 * 100 / 90);
    doc.Annule();
    EXPECT_EQ(doc.image(), before);
    // Saved back in the user's locale.
    EXPECT_EQ(fileText(path), "0.00 -0.06 0.00 -0.06 1.24 -0.06 0.00 -0.06 0.00\tNetteté");

    // Under a point locale, a comma file reads the same.
    QLocale::setDefault(QLocale(QLocale::English));
    writeLines(path, "0,00 -0,06 0,00 -0,06 1,24 -0,06 0,00 -0,06 0,00\tNetteté\r\n");
    run([](TFiltre &f) {
        clickRow(f.ListBox1, 0);
        EXPECT_EQ(f.Edit2->text(), QStringLiteral("-0.06"));
        f.Button2->click();
    });
    EXPECT_EQ(doc.image(), convolve(before, sharpen, silentProgress()));
}

TEST_F(FilterDialog, ADamagedLineIsMarkedSaidWhenChosenAndNeverApplied)
{
    writeLines(path, "0,00 0,00 0,00 0,00 0,50 0,00 0,00 0,00 0,00\tMoitié\r\n"
                     "0,00 x 0,00 0,00 1,00 0,00 0,00 0,00 0,00\tTaché\r\n"
                     "0,00 0,00 0,50\tCourt\r\n"
                     "une ligne sans tabulation\r\n");
    const QImage before = doc.image().copy();
    run([](TFiltre &f) {
        ASSERT_EQ(f.ListBox1->count(), 4);
        EXPECT_EQ(f.ListBox1->item(3)->text(), QStringLiteral("une ligne sans tabulation"));
        for (int row : {1, 2, 3}) {
            EXPECT_TRUE(f.ListBox1->item(row)->font().italic()) << row;
            EXPECT_FALSE(f.ListBox1->item(row)->icon().isNull()) << row;
        }
        EXPECT_FALSE(f.ListBox1->item(0)->font().italic());
        EXPECT_TRUE(f.Label2->text().isEmpty());
        for (int row : {1, 2, 3}) {
            clickRow(f.ListBox1, row);
            // The reading rule stays: the pieces go into the fields as they are.
            EXPECT_TRUE(f.gridDamaged()) << row;
            EXPECT_TRUE(f.Label2->text().startsWith(QStringLiteral("Cette ligne du fichier de filtres est illisible")));
            // "Aperçu" shows the picture as it is, not the black of a made-up filter.
            f.Button3->click();
            EXPECT_EQ(f.shownPreview(), f.referencePreview()) << row;
        }
        EXPECT_EQ(f.Edit2->text(), QString()); // the line without a TAB: nine empty fields
        // "OK" says why and leaves the dialog open.
        f.Button2->click();
        EXPECT_TRUE(f.isVisible());
        // A readable entry clears the word and is applied.
        clickRow(f.ListBox1, 0);
        EXPECT_TRUE(f.Label2->text().isEmpty());
        f.Button2->click();
    });
    ASSERT_EQ(scripts.asked.size(), 1u);
    EXPECT_EQ(scripts.asked[0].toStdString(),
              "Le filtre « une ligne sans tabulation » est illisible dans le fichier de "
              "filtres : il n'est pas appliqué.");
    FilterCoefficients half = identityFilter();
    half[1][1] = 50;
    EXPECT_EQ(doc.image(), convolve(before, half, silentProgress()));
    // The damaged lines are kept as they were, for the user to mend.
    EXPECT_EQ(fileLines(path).value(1).toStdString(), "0,00 x 0,00 0,00 1,00 0,00 0,00 0,00 0,00\tTaché");

    // Mended with "Modifier": readable again, and applied.
    doc.setModified(false);
    run([](TFiltre &f) {
        clickRow(f.ListBox1, 1);
        f.Button6->click();
        f.Edit2->setFocus();
        f.Edit2->selectAll();
        typeAndLeave(f.Edit2, QStringLiteral("0"));
        pressEnter(f.Edit10);
        EXPECT_FALSE(f.gridDamaged());
        EXPECT_FALSE(f.ListBox1->item(1)->font().italic());
        f.Button2->click();
    });
    EXPECT_EQ(fileLines(path).value(1).toStdString(), "0,00 0,00 0,00 0,00 1,00 0,00 0,00 0,00 0,00\tTaché");
    // That filter changes nothing: the picture is left unmodified, with no undo step of
    // its own ("Annuler" still takes back the first filter).
    EXPECT_FALSE(doc.modified());
    doc.Annule();
    EXPECT_EQ(doc.image(), before);
}

TEST_F(FilterDialog, PreviewIsTheFilterOnTheReferenceAndRetablirPutsItBack)
{
    TFiltre f;
    f.Init(varied(200, 150));
    const QImage reference = f.referencePreview();
    ASSERT_EQ(reference.size(), QSize(132, 99));
    f.Edit5->setText(QStringLiteral("0,50"));
    f.Button3->click();
    FilterCoefficients half = identityFilter();
    half[1][1] = 50;
    EXPECT_EQ(f.shownPreview(), convolve(reference, half, silentProgress()));
    f.Button3->click();
    EXPECT_EQ(f.shownPreview(), convolve(reference, half, silentProgress())); // never on an earlier preview
    f.Button4->click();
    EXPECT_EQ(f.shownPreview(), reference);
    // A field that does not parse stops the reading: it and the rest keep their values.
    f.Edit1->setText(QStringLiteral("0,10"));
    f.Edit2->setText(QStringLiteral("-"));
    f.Edit5->setText(QStringLiteral("0,90"));
    f.Button2->click();
    bool accepted = false;
    FilterCoefficients k{};
    f.Result(accepted, k);
    EXPECT_TRUE(accepted);
    EXPECT_EQ(k[0][0], 10);
    EXPECT_EQ(k[1][1], 50);
}

TEST_F(FilterDialog, EscapeIsAnnulerAndAnUnreadableFileStopsBeforeTheDialog)
{
    const QImage before = doc.image().copy();
    run([](TFiltre &f) {
        f.Button5->click();
        f.Edit10->insert(QStringLiteral("Échappé")); // as an input method enters it
        QTest::keyClick(f.Edit10, Qt::Key_Escape);
        EXPECT_FALSE(f.isVisible());
    });
    EXPECT_EQ(filterName(fileLines(path).value(0)).toStdString(), "Échappé");
    EXPECT_EQ(doc.image(), before);
    EXPECT_FALSE(doc.modified());

    // A file that is no text: a French message, no dialog, the file and picture untouched.
    writeLines(path, QByteArray("\x89PNG\r\n\x1a\n\0\0", 10));
    scripts.dialogs.clear();
    try {
        run([](TFiltre &f) { f.Button2->click(); });
        ADD_FAILURE() << "an unreadable filter file was taken";
    } catch (const VermeoError &e) {
        EXPECT_TRUE(e.message().startsWith(QStringLiteral("Le fichier de filtres"))) << e.message().toStdString();
    }
    EXPECT_TRUE(scripts.dialogs.empty());
    EXPECT_EQ(QFileInfo(path).size(), 10);
    EXPECT_EQ(doc.image(), before);
    EXPECT_FALSE(doc.modified());
}

TEST_F(FilterDialog, AFilterIsAppliedEvenWhenTheListCannotBeSavedThenTheUserIsTold)
{
    path = dir.filePath(QStringLiteral("absent/Vermeo.flt"));
    const QImage before = doc.image().copy();
    try {
        run([](TFiltre &f) {
            f.Edit5->setText(QStringLiteral("0,50"));
            f.Button2->click();
        });
        ADD_FAILURE() << "the failed save went unsaid";
    } catch (const VermeoError &e) {
        EXPECT_TRUE(e.message().startsWith(QStringLiteral("Les filtres n'ont pas pu être enregistrés")));
    }
    EXPECT_NE(doc.image(), before);
    EXPECT_TRUE(doc.modified());
    EXPECT_FALSE(QFileInfo::exists(path));
}

namespace {
int effectRow(const char *caption) { return findEffect(QString::fromUtf8(caption))->position; }
} // namespace

TEST(EffectsDialog, PreviewsAccumulateAndRetablirTakesBackTheLastOnly)
{
    TEffets d;
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Effets spéciaux"));
    ASSERT_EQ(d.ListBox1->count(), 23);
    EXPECT_EQ(d.ListBox1->item(22)->text(), QStringLiteral("Bougé"));
    const QImage picture = varied(120, 90);
    d.Init(picture);
    d.show();
    // "Rétablir" before any "Aperçu" keeps the picture; "Aperçu" with nothing selected changes nothing.
    d.Button2->click();
    EXPECT_EQ(d.working(), picture);
    d.Button1->click();
    EXPECT_EQ(d.working(), picture);
    clickRow(d.ListBox1, effectRow("Inverser"));
    d.Button1->click();
    QImage inverted = picture.copy();
    applyEffect(inverted, *findEffect(QStringLiteral("Inverser")));
    EXPECT_EQ(d.working(), inverted);
    clickRow(d.ListBox1, effectRow("Assombrir"));
    d.Button1->click();
    QImage both = inverted.copy();
    applyEffect(both, *findEffect(QStringLiteral("Assombrir")));
    EXPECT_EQ(d.working(), both);
    EXPECT_EQ(d.shownPreview(), d.working().copy(0, 0, 120, 90)); // smaller than the box: unstretched
    d.Button2->click();
    EXPECT_EQ(d.working(), inverted);
    d.Button2->click();
    EXPECT_EQ(d.working(), inverted); // one step only
}

TEST(EffectsDialog, ThePreviewFitsPicturesLargerThanTheBoxBothWays)
{
    EXPECT_EQ(effectPreviewBox(100, 50), QSize(209, 233));  // shown as it is
    EXPECT_EQ(effectPreviewBox(300, 100), QSize(209, 233)); // larger one way only: clipped
    EXPECT_EQ(effectPreviewBox(600, 400), QSize(209, 139)); // 400 / 600 x 209 = 139.3
    EXPECT_EQ(effectPreviewBox(400, 800), QSize(104, 233)); // 209 / 2 = 104.5, to even
    EXPECT_EQ(effectPreviewBox(500, 500), QSize(209, 233));
    TEffets d;
    d.Init(varied(400, 800));
    EXPECT_EQ(d.Image1->size(), QSize(104, 233));
    EXPECT_EQ(d.shownPreview().size(), QSize(104, 233));
    clickRow(d.ListBox1, effectRow("Neige"));
    d.Button1->click();
    d.Button1->click();
    EXPECT_EQ(d.Image1->size(), QSize(104, 233)); // an earlier fitting never narrows the next
}

TEST(EffectsCommand, AnnulerStillRecordsAnUndoStepAndMarksModified)
{
    ImageDocument doc;
    RecordingHost host;
    ScriptedDialogs scripts;
    const Picture pal = palettePicture(60, 40, 8);
    doc.Init(60, 40, clWhite);
    doc.replacePicture(pal);
    doc.setModified(false);
    scripts.onDialog = [](QDialog &d) {
        auto &e = static_cast<TEffets &>(d);
        clickRow(e.ListBox1, effectRow("Inverser"));
        e.Button1->click();
        QTest::keyClick(e.ListBox1, Qt::Key_Escape);
    };
    Speciaux(doc, host);
    EXPECT_EQ(doc.image(), pal.image);
    EXPECT_TRUE(doc.modified());
    EXPECT_TRUE(doc.hasUndo());
    EXPECT_EQ(doc.picture().depth, 8);

    // "OK" without an effect keeps the depth; after effects the picture is true colour.
    scripts.onDialog = [](QDialog &d) { pressEnter(static_cast<TEffets &>(d).ListBox1); };
    Speciaux(doc, host);
    EXPECT_EQ(doc.picture().depth, 8);
    scripts.onDialog = [](QDialog &d) {
        auto &e = static_cast<TEffets &>(d);
        for (const char *name : {"Neige", "Ombre N.O."}) {
            clickRow(e.ListBox1, effectRow(name));
            e.Button1->click();
        }
        e.Button4->click();
    };
    Speciaux(doc, host);
    QImage expected = pal.image.copy();
    applyEffect(expected, *findEffect(QStringLiteral("Neige")));
    applyEffect(expected, *findEffect(QStringLiteral("Ombre N.O.")));
    EXPECT_EQ(doc.image(), expected);
    EXPECT_EQ(doc.picture().depth, 24);
    doc.Annule();
    EXPECT_EQ(doc.image(), pal.image);
    EXPECT_EQ(doc.picture().depth, 8);
}
