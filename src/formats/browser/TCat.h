#pragma once
// "Parcourir", first step: the folder whose pictures the thumbnail page shows.
#include <QDialog>

class QComboBox;
class QListWidget;
class QPushButton;

namespace vermeo::formats {

class FolderTree;

// The filter box's masks, in order: all six picture types first.
const QStringList &browserMasks();

class TCat : public QDialog {
    Q_OBJECT
public:
    explicit TCat(QWidget *parent = nullptr);
    // True only when closed with "OK".
    bool Result() const { return m_ok; }
    // Every file the list shows, in its order, as full names.
    QStringList files() const;

    FolderTree *DirectoryListBox1;
    QListWidget *FileListBox1;
    QComboBox *FilterComboBox1;
    QPushButton *Button2; // "OK"
    QPushButton *Button1; // "Annuler"

private:
    void DirectoryListBox1Change(const QString &folder);
    void FilterComboBox1Change();
    void fillFileList();

    QString m_folder;
    bool m_ok = false;
};

} // namespace vermeo::formats
