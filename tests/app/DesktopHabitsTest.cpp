// What users of other paint programs reach for first, through the real windows: Ctrl+wheel,
// the zoom level shown, Escape, dropped files, recent files, the title's mark, one window
// per file, the tools' cursors, the quit questions, copy and paste when zoomed, number fields.
#include "AppFixture.h"
#include "ImageView.h"
#include "PictureFiles.h"
#include "RecentFiles.h"
#include "TestPictures.h"
#include "ViewScaling.h"

#include <QAction>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QScrollBar>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QUrl>
#include <QWheelEvent>
#include <QtTest/qtestspontaneevent.h>

using namespace vermeo;

namespace {

// A turn of the wheel over a widget, as the window system delivers it: what the widget
// leaves goes on to its parents.
void wheel(QWidget *w, QPoint at, int delta, Qt::KeyboardModifiers mods)
{
    QWheelEvent e(QPointF(at), QPointF(w->mapToGlobal(at)), QPoint(), QPoint(0, delta), Qt::NoButton, mods,
                  Qt::NoScrollPhase, false);
    QSpontaneKeyEvent::setSpontaneous(&e);
    qApp->notify(w, &e); // as QTest sends its mouse events: sendEvent would unmark it
}

// What the window shows now (marks included), in the picture's format.
QImage shown(TMDIChild *c) { return c->Image1()->grab().toImage().convertToFormat(QImage::Format_RGB32); }

QString writePicture(const QDir &dir, const QString &name, QRgb colour, int w = 64, int h = 48)
{
    const QString path = dir.filePath(name);
    formats::writePictureFile(Picture::fromImage(newWorkingImage(w, h, colour)), path);
    return path;
}

QStringList recentNames(QMenu *menu)
{
    QStringList out;
    for (QAction *a : menu->actions())
        out << a->data().toString();
    return out;
}

void click(TMainForm &form, const char *button) { qobject_cast<QToolButton *>(form.control(button))->click(); }

// The user's configuration folder of a test, given back as it was afterwards.
class ConfigFolder {
public:
    ConfigFolder() : m_old(qgetenv("XDG_CONFIG_HOME")) { qputenv("XDG_CONFIG_HOME", m_dir.path().toLocal8Bit()); }
    ~ConfigFolder() { qputenv("XDG_CONFIG_HOME", m_old); }
    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    QByteArray m_old;
};

// A main window whose recent files start empty in a folder of the test's own.
class HabitsTest : public AppTest {
protected:
    void SetUp() override
    {
        config = std::make_unique<ConfigFolder>();
        AppTest::SetUp();
    }
    void TearDown() override
    {
        AppTest::TearDown();
        config.reset();
    }
    void openByMenu(const QString &path)
    {
        dialogs.onFile = [path](FileDialogRequest &) { return path; };
        form->FileOpenItemClick();
        dialogs.onFile = nullptr;
        QApplication::processEvents();
    }
    void drop(const QStringList &paths)
    {
        QMimeData mime;
        QList<QUrl> urls;
        for (const QString &p : paths)
            urls << QUrl::fromLocalFile(p);
        mime.setUrls(urls);
        QDragEnterEvent enter(QPoint(300, 200), Qt::CopyAction, &mime, Qt::LeftButton, {});
        QApplication::sendEvent(form.get(), &enter);
        EXPECT_TRUE(enter.isAccepted());
        QDropEvent dropped(QPointF(300, 200), Qt::CopyAction, &mime, Qt::LeftButton, {});
        QApplication::sendEvent(form.get(), &dropped);
        EXPECT_TRUE(dropped.isAccepted());
        QApplication::processEvents();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    std::unique_ptr<ConfigFolder> config;
    QTemporaryDir dir;
};

} // namespace

TEST_F(HabitsTest, CtrlWheelStepsThroughTheZoomKeepingThePointUnderTheMouse)
{
    TMDIChild *c = newPicture(600, 450);
    EXPECT_EQ(form->statusPanel(3), "Zoom : 1x");
    QWidget *viewport = c->viewport();
    const QPoint mouse(150, 100);
    // The picture point under the mouse, from what the window shows and where it scrolled.
    auto underMouse = [&] {
        const QPoint v = c->Image1()->mapFrom(viewport, mouse);
        return QPointF(v.x() * 600.0 / c->doc().viewWidth(), v.y() * 450.0 / c->doc().viewHeight());
    };
    const QPointF before = underMouse();
    wheel(c->Image1(), c->Image1()->mapFrom(viewport, mouse), 120, Qt::ControlModifier);
    EXPECT_EQ(c->doc().zoomLevel(), 2);
    EXPECT_EQ(c->doc().view().size(), QSize(1200, 900));
    EXPECT_EQ(form->statusPanel(3), "Zoom : 2x");
    EXPECT_GT(c->horizontalScrollBar()->value(), 0);
    const QPointF after = underMouse();
    EXPECT_NEAR(after.x(), before.x(), 1.0);
    EXPECT_NEAR(after.y(), before.y(), 1.0);

    // Without Ctrl the wheel scrolls and the zoom stays.
    const int scrolled = c->verticalScrollBar()->value();
    wheel(c->Image1(), QPoint(300, 300), -120, Qt::NoModifier);
    EXPECT_EQ(c->doc().zoomLevel(), 2);
    EXPECT_GT(c->verticalScrollBar()->value(), scrolled);

    // Down twice: actual size, then a half; half a notch alone does nothing yet.
    wheel(c->Image1(), QPoint(10, 10), -120, Qt::ControlModifier);
    EXPECT_EQ(c->doc().zoomLevel(), 0);
    EXPECT_EQ(form->statusPanel(3), "Zoom : 1x");
    wheel(c->Image1(), QPoint(10, 10), -60, Qt::ControlModifier);
    EXPECT_EQ(c->doc().zoomLevel(), 0);
    wheel(c->Image1(), QPoint(10, 10), -60, Qt::ControlModifier);
    EXPECT_EQ(c->doc().zoomLevel(), -2);
    EXPECT_EQ(form->statusPanel(3), "Zoom : 1/2");

    // The menu's steps show in the same panel, and each window shows its own level.
    newPicture(100, 80);
    EXPECT_EQ(form->statusPanel(3), "Zoom : 1x");
    form->action("Zoomavant1")->trigger();
    form->action("Zoomavant1")->trigger();
    EXPECT_EQ(form->statusPanel(3), "Zoom : 3x");
    form->mdiArea()->setActiveSubWindow(c->subWindow());
    EXPECT_EQ(form->statusPanel(3), "Zoom : 1/2");
}

TEST_F(HabitsTest, EscapeDuringADragLeavesThePictureAsItWas)
{
    TMDIChild *c = newPicture(300, 200);
    c->doc().replacePixels(test::noise(300, 200));
    const QImage before = c->doc().image().copy();
    QWidget *view = c->Image1();

    // A rectangle's rubber band: Escape, then the release draws nothing.
    click(*form, "RectangleButton");
    QTest::mousePress(view, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseMove(view, QPoint(60, 40));
    QTest::mouseMove(view, QPoint(120, 90));
    EXPECT_NE(shown(c), before); // the band shows
    QTest::keyClick(c, Qt::Key_Escape);
    EXPECT_EQ(shown(c), before);
    QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(120, 90));
    EXPECT_EQ(c->doc().image(), before);
    EXPECT_EQ(shown(c), before);

    // A selection being dragged: none is made.
    click(*form, "SpeedButton2");
    QTest::mousePress(view, Qt::LeftButton, {}, QPoint(20, 20));
    QTest::mouseMove(view, QPoint(150, 120));
    QTest::keyClick(c, Qt::Key_Escape);
    QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(150, 120));
    EXPECT_FALSE(c->doc().RectSelected);
    EXPECT_EQ(shown(c), before);

    // A paste being moved: Escape drops nothing, wherever the mouse goes next.
    form->action("Toutslectionner1")->trigger();
    form->action("CopyItem")->trigger();
    click(*form, "LineButton");
    form->action("Collagespcial1")->trigger();
    ASSERT_TRUE(c->doc().FloatingPaste);
    QTest::mouseMove(view, QPoint(200, 150));
    EXPECT_NE(shown(c), before); // the ghost shows
    QTest::keyClick(c, Qt::Key_Escape);
    EXPECT_FALSE(c->doc().FloatingPaste);
    QTest::mouseMove(view, QPoint(100, 100));
    QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(100, 100));
    EXPECT_EQ(c->doc().image(), before);
    EXPECT_EQ(shown(c), before);
}

TEST_F(HabitsTest, DroppedFilesOpenAsOuvrirOpensThemWithTheSameMessages)
{
    const QString a = writePicture(dir.path(), "rouge.bmp", qRgb(200, 0, 0));
    const QString b = writePicture(dir.path(), "vert.pcx", qRgb(0, 200, 0));
    const QString bad = dir.filePath("abime.bmp");
    QFile f(bad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("BM\x10\x00 pas une image");
    f.close();

    // "Ouvrir" on the bad file gives the message a drop must give.
    openByMenu(bad);
    ASSERT_EQ(dialogs.asked.size(), 1u);
    const QString ouvrirMessage = dialogs.asked.back();
    dialogs.asked.clear();

    drop({a, bad, b});
    ASSERT_EQ(form->childCount(), 2);
    EXPECT_EQ(form->children()[0]->windowTitle(), "rouge.bmp");
    EXPECT_EQ(form->children()[1]->windowTitle(), "vert.pcx");
    EXPECT_EQ(form->children()[1]->doc().image().pixel(3, 3), qRgb(0, 200, 0));
    EXPECT_FALSE(form->children()[0]->Modified());
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(dialogs.asked.back(), ouvrirMessage);

    // Something that is no file (a web link) is refused at the door.
    QMimeData web;
    web.setUrls({QUrl(QStringLiteral("https://example.org/a.png"))});
    QDragEnterEvent enter(QPoint(300, 200), Qt::CopyAction, &web, Qt::LeftButton, {});
    QApplication::sendEvent(form.get(), &enter);
    EXPECT_FALSE(enter.isAccepted());
}

TEST_F(HabitsTest, RecentFilesKeepTheLastTenOpenedOrSavedAcrossRuns)
{
    EXPECT_FALSE(form->recentMenu()->isEnabled()); // nothing yet
    QStringList paths;
    for (int i = 0; i < 11; ++i)
        paths << writePicture(dir.path(), QStringLiteral("f%1.bmp").arg(i), qRgb(i * 20, 0, 0));
    for (const QString &p : paths)
        openByMenu(p);
    QStringList expected;
    for (int i = 10; i >= 1; --i)
        expected << QFileInfo(paths[i]).canonicalFilePath();
    EXPECT_EQ(recentNames(form->recentMenu()), expected);
    EXPECT_EQ(form->recentMenu()->actions().first()->text(), "&1 f10.bmp");
    EXPECT_TRUE(QFile::exists(config->path() + "/vermeo/fichiers-recents"));

    // A picture saved for the first time goes to the top.
    newPicture(40, 30);
    const QString saved = dir.filePath("neuf.bmp");
    dialogs.onFile = [&](FileDialogRequest &) { return saved; };
    form->FileSaveAsItemClick();
    dialogs.onFile = nullptr;
    ASSERT_TRUE(QFile::exists(saved));
    EXPECT_EQ(recentNames(form->recentMenu()).first(), QFileInfo(saved).canonicalFilePath());
    EXPECT_EQ(recentNames(form->recentMenu()).size(), 10);

    // The next run finds the same list, and opens from it.
    for (auto *c : form->children())
        c->doc().setModified(false);
    form->mdiArea()->closeAllSubWindows();
    QApplication::processEvents();
    form.reset();
    form = std::make_unique<TMainForm>();
    form->show();
    QApplication::processEvents();
    const QStringList kept = recentNames(form->recentMenu());
    ASSERT_EQ(kept.size(), 10);
    EXPECT_EQ(kept.first(), QFileInfo(saved).canonicalFilePath());
    form->recentMenu()->actions()[1]->trigger();
    ASSERT_EQ(form->childCount(), 1);
    EXPECT_EQ(form->activeChild()->windowTitle(), "f10.bmp");
    EXPECT_EQ(recentNames(form->recentMenu()).first(), QFileInfo(paths[10]).canonicalFilePath());

    // A file gone since is taken off the list with a message, and nothing opens.
    const QString gone = kept[2];
    ASSERT_TRUE(QFile::remove(gone));
    QAction *goneItem = nullptr;
    for (QAction *a : form->recentMenu()->actions())
        if (a->data().toString() == gone)
            goneItem = a;
    ASSERT_NE(goneItem, nullptr);
    goneItem->trigger();
    EXPECT_EQ(form->childCount(), 1);
    ASSERT_FALSE(dialogs.asked.empty());
    EXPECT_EQ(dialogs.asked.back(),
              QStringLiteral("Le fichier « %1 » n'existe plus ; il est retiré des fichiers récents.").arg(gone));
    EXPECT_FALSE(recentNames(form->recentMenu()).contains(gone));
    EXPECT_FALSE(RecentFiles().names().contains(gone));
}

TEST_F(HabitsTest, TheTitleShowsAStarWhileThePictureIsModified)
{
    TMDIChild *c = newPicture(200, 150);
    EXPECT_EQ(c->subWindow()->windowTitle(), "Image1");
    click(*form, "LineButton");
    QTest::mousePress(c->Image1(), Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseMove(c->Image1(), QPoint(80, 60));
    QTest::mouseRelease(c->Image1(), Qt::LeftButton, {}, QPoint(80, 60));
    EXPECT_EQ(c->subWindow()->windowTitle(), "Image1*");
    EXPECT_EQ(c->windowTitle(), "Image1"); // the caption itself, as the print job and journal name it

    const QString path = dir.filePath("trait.bmp");
    dialogs.onFile = [&](FileDialogRequest &) { return path; };
    form->FileSaveItemClick();
    EXPECT_EQ(c->subWindow()->windowTitle(), "trait.bmp");
    form->action("Inverser1")->trigger();
    EXPECT_EQ(c->subWindow()->windowTitle(), "trait.bmp*");
}

TEST_F(HabitsTest, AFileAlreadyShownComesToTheFrontInsteadOfASecondWindow)
{
    const QString a = writePicture(dir.path(), "a.bmp", qRgb(10, 20, 30));
    const QString b = writePicture(dir.path(), "b.bmp", qRgb(30, 20, 10));
    ASSERT_TRUE(QFile::link(a, dir.filePath("lien.bmp")));
    openByMenu(a);
    TMDIChild *first = form->activeChild();
    openByMenu(b);
    ASSERT_EQ(form->childCount(), 2);

    auto backToB = [&] { form->mdiArea()->setActiveSubWindow(form->children()[1]->subWindow()); };
    // By "Ouvrir" under another name of the same file (a link, a "..").
    openByMenu(dir.filePath("lien.bmp"));
    EXPECT_EQ(form->childCount(), 2);
    EXPECT_EQ(form->activeChild(), first);
    backToB();
    openByMenu(dir.path() + "/../" + QFileInfo(dir.path()).fileName() + "/a.bmp");
    EXPECT_EQ(form->activeChild(), first);
    // By a drop, the recent files and the command line.
    backToB();
    drop({a});
    EXPECT_EQ(form->childCount(), 2);
    EXPECT_EQ(form->activeChild(), first);
    backToB();
    for (QAction *item : form->recentMenu()->actions())
        if (item->data().toString() == QFileInfo(a).canonicalFilePath())
            item->trigger();
    EXPECT_EQ(form->activeChild(), first);
    backToB();
    first->subWindow()->showMinimized();
    form->openFiles({a});
    EXPECT_EQ(form->childCount(), 2);
    EXPECT_EQ(form->activeChild(), first);
    EXPECT_FALSE(first->subWindow()->isMinimized());
}

TEST_F(HabitsTest, EachKindOfToolHasItsCursorAndTheStampShowsItsSource)
{
    TMDIChild *c = newPicture(200, 150);
    QWidget *view = c->Image1();
    struct Case {
        const char *button;
        Qt::CursorShape shape;
    };
    for (const Case &k : {Case{"LineButton", Qt::CrossCursor}, Case{"RectangleButton", Qt::CrossCursor},
                          Case{"EllipseButton", Qt::CrossCursor}, Case{"PolyButton", Qt::CrossCursor},
                          Case{"SpeedButton2", Qt::CrossCursor}, Case{"SpeedButton11", Qt::CrossCursor},
                          Case{"TextButton", Qt::IBeamCursor}}) {
        click(*form, k.button);
        EXPECT_EQ(view->cursor().shape(), k.shape) << k.button;
    }
    // The drawn ones: each its own picture, not the arrow.
    QSet<qint64> pictures;
    for (const char *button : {"PenButton", "FillButton", "SpeedButton9", "PipButton"}) {
        click(*form, button);
        EXPECT_EQ(view->cursor().shape(), Qt::BitmapCursor) << button;
        EXPECT_FALSE(view->cursor().pixmap().isNull()) << button;
        pictures.insert(view->cursor().pixmap().cacheKey());
    }
    EXPECT_EQ(pictures.size(), 4);
    // A new window starts with its tool's cursor too.
    click(*form, "FillButton");
    EXPECT_EQ(newPicture(50, 50)->Image1()->cursor().shape(), Qt::BitmapCursor);
    form->mdiArea()->setActiveSubWindow(c->subWindow());

    // The stamp: Ctrl+click sets the source, which shows as a mark over the view only.
    c->doc().replacePixels(test::noise(200, 150));
    const QImage picture = c->doc().image().copy();
    click(*form, "SpeedButton12");
    QTest::mouseClick(view, Qt::LeftButton, Qt::ControlModifier, QPoint(60, 50));
    EXPECT_EQ(c->doc().image(), picture);
    const QImage marked = shown(c);
    EXPECT_EQ(marked.pixel(60 + 4, 50), ~picture.pixel(60 + 4, 50) | 0xFF000000u);
    EXPECT_EQ(marked.pixel(60, 50 - 5), ~picture.pixel(60, 50 - 5) | 0xFF000000u);
    EXPECT_EQ(marked.pixel(60, 50), picture.pixel(60, 50)); // the source pixel stays in sight
    EXPECT_EQ(marked.pixel(64, 54), picture.pixel(64, 54));
    click(*form, "PenButton");
    EXPECT_EQ(shown(c), picture);
}

// A zoom step out on a large picture makes at once only what the window shows; what it
// shows, wherever it scrolls, what a stroke drawn at once carries to the picture, and
// the whole view made once the window has painted, are those of the whole reduced view.
TEST_F(HabitsTest, AZoomStepOutShowsTheWholeReducedViewWhereverTheWindowScrolls)
{
    TMDIChild *c = newPicture(2400, 1600);
    const QImage picture = test::noise(2400, 1600, 9);
    c->doc().replacePixels(picture);
    c->subWindow()->resize(500, 400);
    QApplication::processEvents();
    const QImage reduced = scaledView(picture, 1200, 800);

    wheel(c->Image1(), QPoint(20, 20), -120, Qt::ControlModifier);
    ASSERT_EQ(c->doc().zoomLevel(), -2);
    EXPECT_FALSE(c->doc().viewComplete()) << "only what the window shows is made at once";
    // A stroke before anything was painted, far from what the window showed.
    click(*form, "PenButton");
    c->horizontalScrollBar()->setValue(c->horizontalScrollBar()->maximum());
    c->verticalScrollBar()->setValue(c->verticalScrollBar()->maximum());
    QWidget *view = c->Image1();
    QTest::mousePress(view, Qt::LeftButton, {}, QPoint(1100, 700));
    QTest::mouseMove(view, QPoint(1150, 700));
    QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(1150, 700));
    QApplication::processEvents();
    EXPECT_TRUE(c->doc().viewComplete());
    const QImage drawn = c->doc().image();
    int changed = 0;
    for (int y = 0; y < 1600; ++y)
        for (int x = 0; x < 2400; ++x)
            if (drawn.pixel(x, y) != picture.pixel(x, y)) {
                ++changed;
                ASSERT_TRUE(x >= 2200 && x <= 2301 && y >= 1400 && y <= 1401) << x << "," << y;
            }
    EXPECT_GT(changed, 0);
    EXPECT_EQ(c->doc().view(), scaledView(drawn, 1200, 800));

    // Undone, zoomed in and out again and scrolled: the window shows the view's pixels
    // there, and all of them once it has painted.
    c->Annule();
    wheel(c->Image1(), QPoint(20, 20), 120, Qt::ControlModifier);
    wheel(c->Image1(), QPoint(20, 20), -120, Qt::ControlModifier);
    ASSERT_EQ(c->doc().zoomLevel(), -2);
    EXPECT_FALSE(c->doc().viewComplete());
    c->horizontalScrollBar()->setValue(300);
    c->verticalScrollBar()->setValue(200);
    const QRect seen(c->Image1()->mapFrom(c->viewport(), QPoint(0, 0)), c->viewport()->size());
    const QImage inWindow = c->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(inWindow, reduced.copy(seen));
    EXPECT_TRUE(QTest::qWaitFor([&] { return c->doc().viewComplete(); }, 5000)) << "made whole once the window painted";
    EXPECT_EQ(shown(c), reduced);
}

TEST_F(HabitsTest, QuittingBringsEachModifiedPictureForwardAndNamesItsWindow)
{
    TMDIChild *one = newPicture(100, 80);
    newPicture(100, 80); // Image2 stays unmodified
    TMDIChild *three = newPicture(100, 80);
    one->Modif();
    three->Modif();
    ASSERT_EQ(form->activeChild(), three);
    QStringList questions, inFront;
    DialogRunner::setAskScript([&](const QString &text) {
        questions << text;
        inFront << form->activeChild()->windowTitle();
        return QMessageBox::No;
    });
    form->FileExitItemClick();
    QApplication::processEvents();
    EXPECT_EQ(questions,
              QStringList({"Enregistrer modifications dans Image1 ?", "Enregistrer modifications dans Image3 ?"}));
    EXPECT_EQ(inFront, QStringList({"Image1", "Image3"}));
    EXPECT_TRUE(form->children().isEmpty());
}

namespace {
// Copies a 200 x 100 area of the view with the selection tool, pastes it with "Collage
// spécial" and drops it, then returns to actual size.
void copyAndDropAt(TMainForm &form, TMDIChild *c, QRect viewArea, QPoint dropAt)
{
    QWidget *view = c->Image1();
    click(form, "SpeedButton2");
    QTest::mousePress(view, Qt::LeftButton, {}, viewArea.topLeft());
    QTest::mouseMove(view, viewArea.center());
    QTest::mouseMove(view, viewArea.topLeft() + QPoint(viewArea.width(), viewArea.height()));
    QTest::mouseRelease(view, Qt::LeftButton, {}, viewArea.topLeft() + QPoint(viewArea.width(), viewArea.height()));
    form.action("CopyItem")->trigger();
    form.action("Collagespcial1")->trigger();
    QTest::mouseMove(view, dropAt + QPoint(7, 3));
    QTest::mouseMove(view, dropAt);
    QTest::mouseClick(view, Qt::LeftButton, {}, dropAt);
    form.action("Taillerelle1")->trigger();
}
} // namespace

TEST_F(HabitsTest, CopyAndPasteKeepPicturePixelsAtEveryZoom)
{
    struct Case {
        const char *zoomItem;
        QRect viewArea;  // what is selected on the view
        QRect copied;    // the picture pixels it stands for
        QPoint dropAt;   // where the paste is dropped on the view (its centre)
        QPoint pastedAt; // the picture point its top-left lands on
    };
    // At x2 a 200 x 100 view area is 100 x 50 picture pixels; at 1/2 it is 400 x 200.
    for (const Case &k :
         {Case{"Zoomavant1", QRect(20, 30, 200, 100), QRect(10, 15, 100, 50), QPoint(500, 400), QPoint(200, 175)},
          Case{"Zoomarrire1", QRect(20, 30, 100, 50), QRect(40, 60, 200, 100), QPoint(200, 150), QPoint(300, 250)}}) {
        TMDIChild *c = newPicture(600, 400);
        c->doc().replacePixels(test::noise(600, 400));
        const QImage before = c->doc().image().copy();
        form->action(k.zoomItem)->trigger();
        copyAndDropAt(*form, c, k.viewArea, k.dropAt);
        ASSERT_EQ(c->doc().zoomLevel(), 0);
        const QImage after = c->doc().image();
        // The paste is what was copied, pixel for pixel, edges included ...
        EXPECT_EQ(after.copy(QRect(k.pastedAt, k.copied.size())), before.copy(k.copied)) << k.zoomItem;
        // ... and nothing beyond it changed.
        QImage outside = after.copy();
        QImage expected = before.copy();
        for (QImage *img : {&outside, &expected})
            for (int y = k.pastedAt.y(); y < k.pastedAt.y() + k.copied.height(); ++y)
                for (int x = k.pastedAt.x(); x < k.pastedAt.x() + k.copied.width(); ++x)
                    img->setPixel(x, y, 0);
        EXPECT_EQ(outside, expected) << k.zoomItem;

        // "Coller" makes a window of the copied size in picture pixels.
        form->action("PasteItem")->trigger();
        EXPECT_EQ(form->activeChild()->doc().image(), before.copy(k.copied)) << k.zoomItem;
    }
}

TEST_F(HabitsTest, ANumberTypedPastTheLimitAppliesTheLimitItShows)
{
    // Luminosité takes -100..100: "150" typed must show and apply 100, never 15.
    auto lighten = [&](const std::function<void(QSpinBox *)> &set, QString *shownText) {
        TMDIChild *c = newPicture(60, 40);
        c->doc().replacePixels(test::noise(60, 40));
        dialogs.onDialog = [&](QDialog &d) {
            auto *spin = d.findChild<QSpinBox *>("SpinEdit1");
            set(spin);
            if (shownText)
                *shownText = spin->findChild<QLineEdit *>()->text();
            d.findChild<QPushButton *>("Button2")->click();
        };
        form->action("Luminosit1")->trigger();
        dialogs.onDialog = nullptr;
        return c->doc().image().copy();
    };
    QString typedShows;
    const QImage typed = lighten(
        [](QSpinBox *spin) {
            spin->selectAll();
            QTest::keyClicks(spin, "150");
        },
        &typedShows);
    const QImage atLimit = lighten([](QSpinBox *spin) { spin->setValue(100); }, nullptr);
    const QImage fifteen = lighten([](QSpinBox *spin) { spin->setValue(15); }, nullptr);
    EXPECT_EQ(typedShows, "100");
    EXPECT_EQ(typed, atLimit);
    EXPECT_NE(typed, fifteen);

    // Past the lowest value, the same: "-250" shows -100.
    QString lowShows;
    lighten(
        [](QSpinBox *spin) {
            spin->selectAll();
            QTest::keyClicks(spin, "-250");
        },
        &lowShows);
    EXPECT_EQ(lowShows, "-100");

    // Short of the lowest value, Enter takes that value (the font size goes from 4 up),
    // rather than the field going back to a number the user did not type.
    QSpinBox *size = form->SpinEdit2;
    ASSERT_TRUE(size->isEnabled());
    size->selectAll();
    QTest::keyClicks(size, "2");
    QTest::keyClick(size, Qt::Key_Return);
    EXPECT_EQ(size->value(), 4);
    EXPECT_EQ(size->findChild<QLineEdit *>()->text(), "4");
}

TEST(RecentFilesList, ADamagedListKeepsOnlyTenDistinctFullNames)
{
    ConfigFolder config;
    QDir().mkpath(config.path() + "/vermeo");
    QFile f(RecentFiles::storePath());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("relatif.bmp\n/a/un.bmp\n/a/un.bmp\n\n\xff\xfe\n");
    for (int i = 0; i < 15; ++i)
        f.write(QStringLiteral("/b/%1.png\n").arg(i).toUtf8());
    f.close();
    QStringList names = RecentFiles().names();
    ASSERT_EQ(names.size(), RecentFiles::kKept);
    EXPECT_EQ(names.first(), "/a/un.bmp");
    EXPECT_EQ(names.last(), "/b/8.png");
    EXPECT_EQ(names.removeDuplicates(), 0);
}
