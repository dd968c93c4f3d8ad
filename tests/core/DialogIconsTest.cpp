// Every "Ouvrir" once made new icons for the file dialog's buttons and files, and Qt's
// pixmap cache kept the names of their pixmaps for ever: the program grew at each dialog.
#include "DialogRunner.h"
#include "SharedIcons.h"

#include <QApplication>
#include <QFileDialog>
#include <QProxyStyle>
#include <QStyle>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <gtest/gtest.h>

using namespace vermeo;

namespace {

struct SeenDialog {
    qint64 backIcon = 0, newFolderIcon = 0;
};

// Opens the real file dialog as "Ouvrir" does, notes its icons and cancels it.
SeenDialog openAndCancel(const QString &folder)
{
    SeenDialog seen;
    std::function<void()> answer = [&] {
        auto *dlg = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dlg) {
            QTimer::singleShot(10, answer);
            return;
        }
        if (auto *b = dlg->findChild<QToolButton *>(QStringLiteral("backButton")))
            seen.backIcon = b->icon().cacheKey();
        if (auto *b = dlg->findChild<QToolButton *>(QStringLiteral("newFolderButton")))
            seen.newFolderIcon = b->icon().cacheKey();
        dlg->reject();
    };
    QTimer::singleShot(0, answer);
    FileDialogRequest r;
    r.caption = QStringLiteral("Ouvrir");
    r.directory = folder;
    r.filter = QStringLiteral("Images (*.bmp *.png)");
    r.preview = [](const QString &) { return QImage(); };
    EXPECT_TRUE(DialogRunner::fileName(r).isEmpty());
    return seen;
}

} // namespace

TEST(DialogIcons, FileDialogsShareTheirIconsAndTheStyleStaysTheChosenOne)
{
    const QString style = QApplication::style()->name();
    shareStandardIcons();
    shareStandardIcons(); // a second call changes nothing
    auto *proxy = qobject_cast<QProxyStyle *>(QApplication::style());
    ASSERT_NE(proxy, nullptr);
    EXPECT_EQ(proxy->baseStyle()->name(), style);

    const QIcon a = QApplication::style()->standardIcon(QStyle::SP_ArrowBack);
    const QIcon b = QApplication::style()->standardIcon(QStyle::SP_ArrowBack);
    EXPECT_FALSE(a.isNull());
    EXPECT_EQ(a.cacheKey(), b.cacheKey());
    EXPECT_NE(a.cacheKey(), QApplication::style()->standardIcon(QStyle::SP_ArrowForward).cacheKey());

    QTemporaryDir folder;
    const SeenDialog first = openAndCancel(folder.path());
    const SeenDialog second = openAndCancel(folder.path());
    ASSERT_NE(first.backIcon, 0);
    EXPECT_EQ(first.backIcon, second.backIcon);
    EXPECT_EQ(first.newFolderIcon, second.newFolderIcon);
}
