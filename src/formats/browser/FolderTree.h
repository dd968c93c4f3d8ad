#pragma once
// The folders of this machine as a tree rooted at "/", with a button that goes to the
// home folder: the browser's and the converter's way to choose a folder.
#include <QWidget>

class QFileSystemModel;
class QPushButton;
class QTreeView;

namespace vermeo::formats {

class FolderTree : public QWidget {
    Q_OBJECT
public:
    explicit FolderTree(QWidget *parent = nullptr);
    // Opens the tree down to a folder and selects it (folderChosen follows).
    void setFolder(const QString &path);
    QString folder() const { return m_folder; }

    QTreeView *tree() const { return m_tree; }
    QPushButton *homeButton() const { return m_home; }

signals:
    void folderChosen(const QString &path);

protected:
    void showEvent(QShowEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    void choose(const QString &path);
    void bringIntoView();

    QFileSystemModel *m_model;
    QTreeView *m_tree;
    QPushButton *m_home;
    QString m_folder;
    bool m_scrollPending = false;
};

// The names of the files of a folder that match a mask ("*.bmp;*.jpg"), in the file
// list's order (fileNameLess).
QStringList filesMatching(const QString &folder, const QString &mask);
// The order of file names a file manager shows: case and accents do not count
// ("b" < "Ça" < "D"), and numbers go by their value ("photo9" < "photo10").
bool fileNameLess(const QString &a, const QString &b);

} // namespace vermeo::formats
