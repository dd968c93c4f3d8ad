// "Enregistrer sous..." through the real file dialog, as a user fills it: choose a
// type in the list, type a name without extension, press Enter.
#include "DialogRunner.h"
#include "DocumentFiles.h"
#include "FormatTestUtil.h"
#include "PictureFiles.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>

using namespace vermeo;
using namespace vermeo::formats;

namespace {
// Picks the type and types the name in the first file dialog that opens.
void fillSaveDialog(int type, const QString &folder, const QString &name, QStringList *shownTypes)
{
    auto *timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, timer, [=] {
        QFileDialog *dlg = nullptr;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *d = qobject_cast<QFileDialog *>(w); d && d->isVisible())
                dlg = d;
        if (!dlg)
            return;
        timer->stop();
        timer->deleteLater();
        auto *types = dlg->findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
        auto *edit = dlg->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        if (!types || !edit) {
            dlg->reject();
            return;
        }
        for (int i = 0; i < types->count(); ++i)
            *shownTypes << types->itemText(i);
        // What a click in the list does: the current item changes and is activated.
        types->setCurrentIndex(type);
        emit types->activated(type);
        dlg->setDirectory(folder);
        edit->setText(name);
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(edit, &enter);
        if (dlg->isVisible())
            dlg->reject();
    });
    timer->start(20);
}

QByteArray head(const QString &file, int n) { return test::readFile(file).left(n); }
} // namespace

TEST(SaveDialog, TheChosenTypeGivesTheExtensionAndTheFormat)
{
    QTemporaryDir dir;
    struct Type {
        const char *extension;
        QByteArray magic;
    };
    const Type types[] = {
        {".bmp", "BM"},
        {".jpg", "\xFF\xD8"},
        {".wmf", "\xD7\xCD\xC6\x9A"},
        {".emf", QByteArray("\x01\x00\x00\x00", 4)},
        {".gif", "GIF8"},
        {".pcx", "\x0A\x05\x01"},
        {".tif", "II*"},
        {".png", "\x89PNG"},
        {".webp", "RIFF"},
        {".webp", "RIFF"},
    };
    for (int i = 0; i < int(std::size(types)); ++i) {
        ImageDocument doc;
        doc.Init(9, 7, clRed);
        DocumentHost host;
        QStringList shown;
        const QString name = QStringLiteral("dessin%1").arg(i);
        fillSaveDialog(i, dir.path(), name, &shown);
        ASSERT_TRUE(Sauve(doc, host, true, {})) << i;
        const QString expected = dir.filePath(name + QLatin1String(types[i].extension));
        EXPECT_EQ(doc.FileName, expected);
        EXPECT_EQ(head(expected, int(types[i].magic.size())), types[i].magic) << types[i].extension;
        EXPECT_EQ(readPictureFile(expected).image.size(), QSize(9, 7)) << types[i].extension;
        ASSERT_EQ(shown.size(), 10);
        EXPECT_EQ(shown[5], QStringLiteral("Pcx (*;pcx)"));
        EXPECT_EQ(shown[7], QStringLiteral("Png (*.png)"));
        // The two WebP types: lossy at quality 90, or without loss.
        if (i >= 8) {
            EXPECT_EQ(test::readFile(expected).mid(12, 4), i == 8 ? QByteArray("VP8 ") : QByteArray("VP8L"));
        }
    }
}

// A dot in the typed name, or in the folder, is no extension: the chosen type decides,
// and the picture saved opens again. A name that ends in a picture extension keeps it.
TEST(SaveDialog, DottedNamesTakeTheChosenTypeAndOpenAgain)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkdir(QStringLiteral("dir.d"));
    struct Case {
        int type;
        QString folder, typed, expected;
        QByteArray magic;
    };
    const Case cases[] = {
        {1, dir.path(), QStringLiteral("vacances.2024"), QStringLiteral("vacances.2024.jpg"), "\xFF\xD8"},
        {4, dir.filePath(QStringLiteral("dir.d")), QStringLiteral("photo"), QStringLiteral("dir.d/photo.gif"), "GIF8"},
        {1, dir.path(), QStringLiteral("carte.PNG"), QStringLiteral("carte.PNG"), "\x89PNG"},
    };
    for (const Case &c : cases) {
        ImageDocument doc;
        doc.Init(9, 7, clRed);
        DocumentHost host;
        QStringList shown;
        fillSaveDialog(c.type, c.folder, c.typed, &shown);
        ASSERT_TRUE(Sauve(doc, host, true, {})) << c.typed.toStdString();
        const QString expected = dir.filePath(c.expected);
        EXPECT_EQ(doc.FileName, expected);
        EXPECT_EQ(head(expected, int(c.magic.size())), c.magic) << c.typed.toStdString();
        ImageDocument again;
        again.Init(1, 1, clWhite);
        EXPECT_NO_THROW(Charge(again, host, expected)) << c.typed.toStdString();
        EXPECT_EQ(again.image().size(), QSize(9, 7));
    }
}

TEST(SaveDialog, ALosslessWebpStaysLosslessWhenOpenedChangedAndSavedAgain)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("plan.webp"));
    writePictureFile(Picture::fromImage(test::varied(30, 20)), file, {.lossless = true});
    ImageDocument doc;
    doc.Init(9, 7, clRed);
    DocumentHost host;
    Charge(doc, host, file);
    doc.Modif();
    ASSERT_TRUE(Sauve(doc, host, false, {}));
    EXPECT_EQ(test::readFile(file).mid(12, 4), "VP8L");
    EXPECT_EQ(readPictureFile(file).image, test::varied(30, 20));
}

TEST(SaveDialog, ShownFiltersMapBackToTheirIndex)
{
    const QStringList filters = delphiFilterToQt(kSavePictureFilter).split(QStringLiteral(";;"));
    EXPECT_EQ(chosenFilterIndex(filters, QStringLiteral("Pcx (*;pcx)"), -1), 5);
    EXPECT_EQ(chosenFilterIndex(filters, filters[6], -1), 6);
    EXPECT_EQ(chosenFilterIndex(filters, QStringLiteral("Metafile évolué (emf)"), -1), 3);
    EXPECT_EQ(chosenFilterIndex(filters, QStringLiteral("nothing"), -1), -1);
}
