// Files the desktop way: the recent files, files dropped from a file manager, and one
// window per file.
#include "TMainForm.h"
#include "DialogRunner.h"
#include "FileAccess.h"
#include "TMDIChild.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

namespace vermeo {

void TMainForm::rebuildRecentMenu()
{
    m_recentMenu->clear();
    int i = 1;
    for (const QString &name : m_recent.names()) {
        // "&1 photo.jpg", the folder in the hint.
        QAction *a = m_recentMenu->addAction(QStringLiteral("&%1 %2").arg(i++ % 10).arg(fileNamePart(name)));
        a->setStatusTip(name);
        a->setData(name);
        connect(a, &QAction::triggered, this, [this, name] { openRecentFile(name); });
    }
    m_recentMenu->setEnabled(!m_recent.names().isEmpty());
}

void TMainForm::openRecentFile(const QString &fileName)
{
    if (!QFileInfo(fileName).isFile()) {
        m_recent.remove(fileName);
        rebuildRecentMenu();
        DialogRunner::tell(this, QMessageBox::Warning,
                           QStringLiteral("Le fichier « %1 » n'existe plus ; il est retiré des fichiers récents.")
                               .arg(QDir::toNativeSeparators(fileName)));
        return;
    }
    openPictureFile(fileName);
}

void TMainForm::pictureFileUsed(const QString &fileName)
{
    m_recent.add(fileName);
    rebuildRecentMenu();
}

void TMainForm::dragEnterEvent(QDragEnterEvent *e)
{
    const QMimeData *data = e->mimeData();
    if (data && data->hasUrls())
        for (const QUrl &url : data->urls())
            if (url.isLocalFile()) {
                e->acceptProposedAction();
                return;
            }
    e->ignore();
}

void TMainForm::dropEvent(QDropEvent *e)
{
    const QMimeData *data = e->mimeData();
    QStringList names;
    if (data && data->hasUrls())
        for (const QUrl &url : data->urls())
            if (url.isLocalFile())
                names << url.toLocalFile();
    if (names.isEmpty()) {
        e->ignore();
        return;
    }
    e->acceptProposedAction();
    // The file manager waits for the drop to end: the files open once it has.
    QTimer::singleShot(0, this, [this, names] { openFiles(names); });
}

void TMainForm::bringToFront(TMDIChild *child)
{
    QMdiSubWindow *sw = child->subWindow();
    if (!sw)
        return;
    if (sw->isMinimized())
        sw->showNormal();
    m_mdi->setActiveSubWindow(sw);
    sw->raise();
}

TMDIChild *TMainForm::childShowing(const QString &fileName) const
{
    const QString wanted = QFileInfo(fileName).canonicalFilePath();
    if (wanted.isEmpty())
        return nullptr;
    for (TMDIChild *c : children())
        if (!c->FileName().isEmpty() && QFileInfo(c->FileName()).canonicalFilePath() == wanted)
            return c;
    return nullptr;
}

} // namespace vermeo
