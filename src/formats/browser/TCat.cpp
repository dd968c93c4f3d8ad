#include "TCat.h"
#include "DialogRunner.h"
#include "FolderTree.h"

#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace vermeo::formats {

const QStringList &browserMasks()
{
    // Photos from phones and the web are pictures too: the first mask takes them.
    static const QStringList masks = {
        QStringLiteral("*.bmp;*.jpg;*.jpeg;*.gif;*.pcx;*.wmf;*.emf;*.webp;*.heic;*.heif;*.avif"),
        QStringLiteral("*.bmp"),
        QStringLiteral("*.ico"),
        QStringLiteral("*.jpg"),
        QStringLiteral("*.gif"),
        QStringLiteral("*.pcx"),
        QStringLiteral("*.wmf"),
        QStringLiteral("*.emf"),
        QStringLiteral("*.webp"),
        QStringLiteral("*.heic;*.heif"),
        QStringLiteral("*.avif")};
    return masks;
}

TCat::TCat(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TCat"));
    setWindowTitle(QStringLiteral("Parcourir"));
    auto *grid = new QGridLayout(this);
    DirectoryListBox1 = new FolderTree(this);
    DirectoryListBox1->setMinimumSize(260, 320);
    FileListBox1 = new QListWidget(this);
    FileListBox1->setObjectName(QStringLiteral("FileListBox1"));
    FileListBox1->setMinimumSize(220, 320);
    FilterComboBox1 = new QComboBox(this);
    FilterComboBox1->setObjectName(QStringLiteral("FilterComboBox1"));
    FilterComboBox1->addItem(QStringLiteral("Images (%1)").arg(browserMasks().first()));
    for (qsizetype i = 1; i < browserMasks().size(); ++i)
        FilterComboBox1->addItem(browserMasks()[i]);
    grid->addWidget(new QLabel(QStringLiteral("Dossiers"), this), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("Fichiers"), this), 0, 1);
    grid->addWidget(DirectoryListBox1, 1, 0, 2, 1);
    grid->addWidget(FileListBox1, 1, 1);
    grid->addWidget(FilterComboBox1, 2, 1);
    grid->addLayout(okCancelColumn(*this, Button2, Button1), 1, 2, 2, 1);
    connect(DirectoryListBox1, &FolderTree::folderChosen, this, &TCat::DirectoryListBox1Change);
    connect(FilterComboBox1, &QComboBox::currentIndexChanged, this, &TCat::FilterComboBox1Change);
    connect(Button2, &QPushButton::clicked, this, [this] {
        m_ok = true;
        accept();
    });
    connect(Button1, &QPushButton::clicked, this, &QDialog::reject);
    DirectoryListBox1->setFolder(QDir::currentPath());
    makeFixedDialog(*this);
    centreOnScreen(*this);
}

void TCat::DirectoryListBox1Change(const QString &folder)
{
    // The chosen folder becomes the current directory, as the linked lists make it.
    m_folder = folder;
    QDir::setCurrent(folder);
    fillFileList();
}

void TCat::FilterComboBox1Change() { fillFileList(); }

void TCat::fillFileList()
{
    FileListBox1->clear();
    if (m_folder.isEmpty())
        return;
    const int i = std::max(0, FilterComboBox1->currentIndex());
    FileListBox1->addItems(filesMatching(m_folder, browserMasks()[i]));
    if (FileListBox1->count() > 0)
        FileListBox1->setCurrentRow(0);
}

QStringList TCat::files() const
{
    QStringList out;
    const QDir dir(m_folder);
    for (int i = 0; i < FileListBox1->count(); ++i)
        out << dir.absoluteFilePath(FileListBox1->item(i)->text());
    return out;
}

} // namespace vermeo::formats
