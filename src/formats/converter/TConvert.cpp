#include "TConvert.h"
#include "BatchConversion.h"
#include "DialogRunner.h"
#include "FolderTree.h"

#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace vermeo::formats {

// ".png", ".webp", ".heic", ".heif" and ".avif" are read by the converter as by the
// windows, so they are offered too.
const QString kConvertMask =
    QStringLiteral("*.jpg;*.jpeg;*.gif;*.bmp;*.wmf;*.emf;*.pcx;*.png;*.webp;*.heic;*.heif;*.avif");

TConvert::TConvert(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TConvert"));
    setWindowTitle(QStringLiteral("Conversions multiples"));
    auto *grid = new QGridLayout(this);
    DirectoryOutline1 = new FolderTree(this);
    DirectoryOutline1->setObjectName(QStringLiteral("DirectoryOutline1"));
    DirectoryOutline1->setMinimumSize(260, 320);
    FileListBox1 = new QListWidget(this);
    FileListBox1->setObjectName(QStringLiteral("FileListBox1"));
    FileListBox1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    FileListBox1->setMinimumSize(220, 320);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->addItems(conversionFormats());
    ComboBox1->setCurrentIndex(0);
    // Typed keys choose nothing: only a listed item, with the mouse or the arrows.
    ComboBox1->installEventFilter(this);

    grid->addWidget(new QLabel(QStringLiteral("Dossiers"), this), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("Fichiers"), this), 0, 1);
    grid->addWidget(DirectoryOutline1, 1, 0);
    grid->addWidget(FileListBox1, 1, 1);
    auto *fields = new QGridLayout;
    fields->addWidget(new QLabel(QStringLiteral("Destination"), this), 0, 0);
    fields->addWidget(Edit1, 0, 1);
    fields->addWidget(new QLabel(QStringLiteral("Format"), this), 1, 0);
    fields->addWidget(ComboBox1, 1, 1, Qt::AlignLeft);
    grid->addLayout(fields, 2, 0, 1, 2);
    grid->addLayout(okCancelColumn(*this, Button2, Button1), 1, 2, 2, 1);

    connect(DirectoryOutline1, &FolderTree::folderChosen, this, &TConvert::DirectoryOutline1Change);
    connect(Button2, &QPushButton::clicked, this, [this] {
        m_ok = true;
        accept();
    });
    connect(Button1, &QPushButton::clicked, this, &QDialog::reject);
    // The destination and the file list start at the current directory.
    Edit1->setText(QDir::currentPath());
    DirectoryOutline1->setFolder(QDir::currentPath());
    makeFixedDialog(*this);
    centreOnScreen(*this);
}

void TConvert::DirectoryOutline1Change(const QString &folder)
{
    m_folder = folder;
    FileListBox1->clear();
    FileListBox1->addItems(filesMatching(folder, kConvertMask));
}

bool TConvert::eventFilter(QObject *watched, QEvent *e)
{
    if (watched == ComboBox1 && e->type() == QEvent::KeyPress) {
        const auto *k = static_cast<QKeyEvent *>(e);
        // Enter still reaches the dialog's "OK".
        if (!k->text().isEmpty() && k->text().at(0).isPrint())
            return true;
    }
    return QDialog::eventFilter(watched, e);
}

void TConvert::Result(QStringList &files, QString &destination, QString &format) const
{
    if (!m_ok || result() != QDialog::Accepted)
        return;
    QString folder = m_folder;
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    files.clear();
    for (int i = 0; i < FileListBox1->count(); ++i)
        if (FileListBox1->item(i)->isSelected())
            files << folder + FileListBox1->item(i)->text();
    destination = Edit1->text();
    if (!destination.isEmpty() && !destination.endsWith(QLatin1Char('/')))
        destination += QLatin1Char('/');
    format = ComboBox1->currentText();
}

} // namespace vermeo::formats
