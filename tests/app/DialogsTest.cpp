#include "AppFixture.h"
#include "ChannelDialogs.h"
#include "TAttributs.h"
#include "TCadre.h"
#include "TCat.h"
#include "TConvert.h"
#include "TEcran.h"
#include "TMep.h"
#include "TOmbre.h"
#include "TRedim.h"
#include "TSupport.h"
#include "TVignettes.h"
#include "TextTool.h"
#include "ToneDialogs.h"
#include "Translations.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>
#include <map>
#include <memory>
#include <set>

using namespace vermeo;

TEST_F(AppTest, NouveauClosedByTheCloseBoxAfterAnOkIsCancelled)
{
    newPicture();
    ASSERT_EQ(form->childCount(), 1);
    dialogs.onDialog = [](QDialog &d) { d.close(); };
    form->FileNewItemClick();
    EXPECT_EQ(form->childCount(), 1);
}

TEST(Nouveau, ValuesAreClampedToTheirRanges)
{
    ScriptedDialogs dialogs;
    TNouveau dlg;
    int w = -1, h = -1;
    TColour c = 0;
    dialogs.onDialog = [](QDialog &d) {
        auto *w = d.findChild<QSpinBox *>("SpinEdit1");
        auto *h = d.findChild<QSpinBox *>("SpinEdit2");
        EXPECT_EQ(w->value(), 400);
        EXPECT_EQ(h->value(), 300);
        w->setValue(5000);
        h->setValue(1);
        d.findChild<QPushButton *>("Button2")->click();
    };
    DialogRunner::exec(dlg);
    dlg.Result(w, h, c);
    EXPECT_EQ(w, 1600);
    EXPECT_EQ(h, 100);
    EXPECT_EQ(c, clWhite);
}

namespace {
QString label(TAttributs &d, const char *name) { return d.findChild<QLabel *>(name)->text(); }
} // namespace

TEST(Attributs, UnsavedPictureShowsNoFileFigures)
{
    TAttributs d;
    QImage img(300, 200, QImage::Format_RGB32);
    d.Init(QString(), img);
    EXPECT_EQ(label(d, "Nom"), "");
    EXPECT_EQ(label(d, "Largeur"), "300 pixels");
    EXPECT_EQ(label(d, "Hauteur"), "200 pixels");
    EXPECT_EQ(label(d, "Taille"), "0 octets");
    EXPECT_EQ(label(d, "Date"), systemDateText(QDate::currentDate()));
    EXPECT_EQ(label(d, "Bits"), "");
    EXPECT_EQ(label(d, "Couleurs"), "");
}

TEST(Attributs, BitmapFileSizeGivesTheDepthEstimate)
{
    QTemporaryDir dir;
    auto makeFile = [&](const QString &name, int bytes) {
        QFile f(dir.filePath(name));
        f.open(QIODevice::WriteOnly);
        f.write(QByteArray(bytes, '\0'));
        return f.fileName();
    };
    QImage img(100, 100, QImage::Format_RGB32);
    TAttributs d;
    d.Init(makeFile("vrai.bmp", 30054), img);
    EXPECT_EQ(label(d, "Nom"), "vrai.bmp");
    EXPECT_EQ(label(d, "Taille"), "30054 octets");
    EXPECT_EQ(label(d, "Bits"), "24");
    EXPECT_EQ(label(d, "Couleurs"), "16777216");
    d.Init(makeFile("huit.BMP", 11078), img);
    EXPECT_EQ(label(d, "Bits"), "8");
    EXPECT_EQ(label(d, "Couleurs"), "256");
    // Not a bitmap name: no estimate.
    d.Init(makeFile("photo.jpg", 5000), img);
    EXPECT_EQ(label(d, "Bits"), "");
    // A tiny picture in a big file: the count no longer fits a whole number.
    d.Init(makeFile("petit.bmp", 70000), QImage(1, 1, QImage::Format_RGB32));
    EXPECT_EQ(label(d, "Bits"), "560000");
    EXPECT_EQ(label(d, "Couleurs"), "2^560000");
}

TEST(Translations, TheToolkitsButtonsAndFileDialogSpeakFrench)
{
    ASSERT_TRUE(installFrenchTranslations(*qApp)) << "qtbase_fr missing (qt6-translations-l10n)";
    QMessageBox box(QMessageBox::Question, QStringLiteral("Vermeo"), QStringLiteral("?"),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_EQ(box.button(QMessageBox::Yes)->text().remove(QLatin1Char('&')), QStringLiteral("Oui"));
    EXPECT_EQ(box.button(QMessageBox::No)->text().remove(QLatin1Char('&')), QStringLiteral("Non"));
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text().remove(QLatin1Char('&')), QStringLiteral("Annuler"));
    QFileDialog files;
    files.setOption(QFileDialog::DontUseNativeDialog);
    bool frenchLabel = false;
    for (const QLabel *l : files.findChildren<QLabel *>())
        frenchLabel |= l->text().contains(QStringLiteral("Nom de fichier"));
    EXPECT_TRUE(frenchLabel);
    for (QTranslator *t : qApp->findChildren<QTranslator *>()) {
        QCoreApplication::removeTranslator(t);
        delete t;
    }
}

// The file dialog's types, sizes and dates in French under an English session: the test
// runs itself again in a child process started with LANG=C.UTF-8, as a user's session
// would start the program.
TEST(Translations, FileDialogsSpeakFrenchUnderAnEnglishLocale)
{
    if (qEnvironmentVariableIsEmpty("VERMEO_LOCALE_CHILD")) {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *v : {"LC_ALL", "LC_MESSAGES", "LC_TIME", "LC_NUMERIC", "LANGUAGE"})
            env.remove(QString::fromLatin1(v));
        env.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
        env.insert(QStringLiteral("VERMEO_LOCALE_CHILD"), QStringLiteral("1"));
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--gtest_filter=Translations.FileDialogsSpeakFrenchUnderAnEnglishLocale")});
        ASSERT_TRUE(child.waitForFinished(60000));
        const QString out = QString::fromUtf8(child.readAllStandardOutput() + child.readAllStandardError());
        EXPECT_EQ(child.exitCode(), 0) << out.toStdString();
        EXPECT_TRUE(out.contains(QStringLiteral("[  PASSED  ] 1 test"))) << out.toStdString();
        return;
    }
    ASSERT_TRUE(installFrenchTranslations(*qApp));
    EXPECT_EQ(qgetenv("LANG"), QByteArray("C.UTF-8")); // the session's environment is given back
    EXPECT_TRUE(qEnvironmentVariableIsEmpty("LC_ALL"));
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("photo.jpg"));
    {
        QFile f(name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(100, 'x'));
        f.close();
        // The time once written, or closing would set it again.
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        ASSERT_TRUE(f.setFileTime(QDateTime(QDate(2026, 12, 9), QTime(10, 30)), QFileDevice::FileModificationTime));
    }
    QFileDialog files(nullptr, QStringLiteral("Ouvrir"), dir.path());
    files.setOption(QFileDialog::DontUseNativeDialog);
    files.setViewMode(QFileDialog::Detail);
    files.show();
    auto *view = files.findChild<QAbstractItemView *>(QStringLiteral("treeView"));
    ASSERT_NE(view, nullptr);
    QAbstractItemModel *model = view->model();
    QModelIndex row;
    QTest::qWaitFor(
        [&] {
            const QModelIndex root = view->rootIndex();
            for (int r = 0; r < model->rowCount(root); ++r)
                if (model->index(r, 0, root).data().toString() == QLatin1String("photo.jpg"))
                    row = model->index(r, 0, root);
            return row.isValid() && !row.siblingAtColumn(3).data().toString().isEmpty();
        },
        10000);
    ASSERT_TRUE(row.isValid());
    EXPECT_EQ(row.siblingAtColumn(1).data().toString().toStdString(), "100 octets");
    EXPECT_EQ(row.siblingAtColumn(2).data().toString().toStdString(), "image JPEG");
    EXPECT_EQ(row.siblingAtColumn(3).data().toString().toStdString(), "09/12/2026 10:30");
    // A folder: a text Qt's own catalogue lacks.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("vacances")));
    QString folderType;
    QTest::qWaitFor(
        [&] {
            const QModelIndex root = view->rootIndex();
            for (int r = 0; r < model->rowCount(root); ++r)
                if (model->index(r, 0, root).data().toString() == QLatin1String("vacances"))
                    folderType = model->index(r, 2, root).data().toString();
            return !folderType.isEmpty();
        },
        10000);
    EXPECT_EQ(folderType.toStdString(), "Dossier");
    QStringList headers;
    for (int c = 0; c < 4; ++c)
        headers << model->headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(headers, (QStringList{"Nom", "Taille", "Type", "Dernière modification"}))
        << headers.join('|').toStdString();
}

// Every dialog the menus open through the runner is wide enough for its whole caption.
// The window manager's title font is unknown here: the application's font in bold, and
// 100 pixels for the title bar's icon and buttons.
TEST_F(AppTest, EveryDialogIsWideEnoughForItsWholeCaption)
{
    newPicture(200, 150);
    QFont bold = QApplication::font();
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    std::map<QString, int> shortBy;
    std::set<QString> seen;
    dialogs.onDialog = [&](QDialog &d) {
        QApplication::processEvents();
        seen.insert(d.windowTitle());
        const int needed = metrics.horizontalAdvance(d.windowTitle()) + 100;
        if (d.width() < needed)
            shortBy[d.windowTitle()] = needed - d.width();
    };
    // Every command but those that leave, close, capture the screen, scan, or write the
    // filter file of the start directory.
    const QStringList skipped = {"FileExitItem", "FileCloseItem", "Capturecran1", "Acqurir1", "Filtres1"};
    for (QMenu *menu : form->menuBar()->findChildren<QMenu *>())
        for (QAction *a : menu->actions()) {
            if (a->menu() || a->isSeparator() || !a->isEnabled() || skipped.contains(a->objectName()) ||
                a->objectName().isEmpty() || !form->activeChild())
                continue;
            a->trigger();
            QApplication::processEvents();
        }
    EXPECT_TRUE(seen.count(QStringLiteral("Redimensiooner")));
    EXPECT_GE(seen.size(), 20u);
    for (const auto &[title, missing] : shortBy)
        ADD_FAILURE() << "« " << title.toStdString() << " » is " << missing << " pixels too narrow for its caption";
}

// In every dialog Enter means "OK" (or "Fermer" where that is the only way out), from
// whichever field the user is in; only the adjustment dialogs' "Aperçu" and sliders
// preview with it, and the text editor handles it itself.
TEST(Dialogs, EnterMeansOkInEveryDialog)
{
    struct Case {
        const char *name;
        std::function<QDialog *()> make;
    };
    const Case cases[] = {
        {"Nouveau", [] { return new TNouveau; }},
        {"Propriétés", [] { return new TAttributs; }},
        {"Redimensiooner", [] { return new TRedim; }},
        {"Agrandir le support", [] { return new TSupport; }},
        {"Cadre", [] { return new TCadre; }},
        {"Luminosité", [] { return new colour::TLumin; }},
        {"Solariser", [] { return new colour::TSolar; }},
        {"Balance", [] { return new colour::TBalCoul; }},
        {"Permuter", [] { return new colour::TPermut; }},
        {"Remplacer", [] { return new colour::TRCouleur; }},
        {"Séparation", [] { return new colour::TRvb; }},
        {"Ombre", [] { return new colour::TOmbre; }},
        {"Editeur de texte", [] { return new TEditext; }},
        {"Mise en page", [] { return new TMep; }},
        {"Aperçu avant impression", [] { return new TEcran; }},
        {"Parcourir", [] { return new formats::TCat; }},
        {"Parcourir (vignettes)", [] { return new formats::TVignettes; }},
        {"Conversions multiples", [] { return new formats::TConvert; }},
    };
    for (const Case &k : cases) {
        std::unique_ptr<QDialog> d(k.make());
        d->show();
        QApplication::processEvents();
        // Enter from each input field and from the check boxes.
        QList<QWidget *> fields;
        for (QWidget *w : d->findChildren<QWidget *>())
            if (qobject_cast<QSpinBox *>(w) || qobject_cast<QLineEdit *>(w) || qobject_cast<QCheckBox *>(w))
                if (!qobject_cast<QLineEdit *>(w) || !qobject_cast<QSpinBox *>(w->parentWidget()))
                    fields << w;
        if (fields.isEmpty())
            fields << d.get();
        for (QWidget *field : fields) {
            d->show();
            d->setResult(-1);
            field->setFocus();
            QTest::keyClick(field, Qt::Key_Return);
            EXPECT_EQ(d->result(), QDialog::Accepted) << k.name << " from " << field->objectName().toStdString();
        }
    }
}
