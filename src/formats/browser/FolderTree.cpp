#include "FolderTree.h"

#include <QDir>
#include <QEvent>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>

namespace vermeo::formats {

FolderTree::FolderTree(QWidget *parent) : QWidget(parent)
{
    m_model = new QFileSystemModel(this);
    m_model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    m_model->setRootPath(QStringLiteral("/"));
    m_tree = new QTreeView(this);
    m_tree->setObjectName(QStringLiteral("DirectoryListBox1"));
    m_tree->setModel(m_model);
    m_tree->setRootIndex(m_model->index(QStringLiteral("/")));
    m_tree->setHeaderHidden(true);
    for (int c = 1; c < m_model->columnCount(); ++c)
        m_tree->hideColumn(c);
    m_home = new QPushButton(QStringLiteral("Dossier personnel"), this);
    m_home->setObjectName(QStringLiteral("HomeButton"));
    m_home->setAutoDefault(false);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(m_tree, 1);
    column->addWidget(m_home);
    connect(m_tree->selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex &current) {
        if (current.isValid())
            choose(m_model->filePath(current));
    });
    connect(m_home, &QPushButton::clicked, this, [this] { setFolder(QDir::homePath()); });
    // The folders load and sort in the background: the chosen one is kept in view as
    // they arrive, until the user moves the tree.
    connect(m_model, &QFileSystemModel::directoryLoaded, this, &FolderTree::bringIntoView);
    connect(m_model, &QAbstractItemModel::layoutChanged, this, &FolderTree::bringIntoView);
    m_tree->viewport()->installEventFilter(this);
    m_tree->verticalScrollBar()->installEventFilter(this);
}

void FolderTree::setFolder(const QString &path)
{
    const QModelIndex index = m_model->index(QDir(path).absolutePath());
    if (!index.isValid())
        return;
    // Already current: tell again, the files may have changed.
    if (m_tree->currentIndex() == index)
        choose(m_model->filePath(index));
    else
        m_tree->setCurrentIndex(index);
    m_tree->scrollTo(index, QAbstractItemView::PositionAtCenter);
    m_scrollPending = true;
}

void FolderTree::showEvent(QShowEvent *e)
{
    QWidget::showEvent(e);
    // Chosen before the tree had a size: bring it into view once it is laid out.
    QTimer::singleShot(0, this, &FolderTree::bringIntoView);
}

void FolderTree::bringIntoView()
{
    if (m_scrollPending && m_tree->currentIndex().isValid())
        m_tree->scrollTo(m_tree->currentIndex(), QAbstractItemView::PositionAtCenter);
}

bool FolderTree::eventFilter(QObject *watched, QEvent *e)
{
    if (e->type() == QEvent::MouseButtonPress || e->type() == QEvent::Wheel)
        m_scrollPending = false;
    return QWidget::eventFilter(watched, e);
}

void FolderTree::choose(const QString &path)
{
    m_folder = path;
    emit folderChosen(path);
}

QStringList filesMatching(const QString &folder, const QString &mask)
{
    const QStringList patterns = mask.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    QDir dir(folder);
    dir.setNameFilters(patterns);
    dir.setFilter(QDir::Files | QDir::Hidden);
    dir.setSorting(QDir::Unsorted);
    QStringList names = dir.entryList();
    std::sort(names.begin(), names.end(), fileNameLess);
    return names;
}

namespace {
// Lower case without accents: what the order compares first.
QString foldedName(const QString &name)
{
    QString out;
    for (const QChar c : name.normalized(QString::NormalizationForm_D))
        if (c.category() != QChar::Mark_NonSpacing)
            out += c.toCaseFolded();
    return out;
}

// Compares folded names, digit runs by their value (leading zeros do not count).
int compareFolded(const QString &a, const QString &b)
{
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i].isDigit() && b[j].isDigit()) {
            qsizetype ie = i, je = j;
            while (ie < a.size() && a[ie].isDigit())
                ++ie;
            while (je < b.size() && b[je].isDigit())
                ++je;
            // Without leading zeros, the longer run is the larger number.
            QStringView x = QStringView(a).mid(i, ie - i), y = QStringView(b).mid(j, je - j);
            while (x.size() > 1 && x.front() == QLatin1Char('0'))
                x = x.mid(1);
            while (y.size() > 1 && y.front() == QLatin1Char('0'))
                y = y.mid(1);
            if (x.size() != y.size())
                return x.size() < y.size() ? -1 : 1;
            if (const int c = x.compare(y); c != 0)
                return c;
            i = ie, j = je;
            continue;
        }
        if (a[i] != b[j])
            return a[i] < b[j] ? -1 : 1;
        ++i, ++j;
    }
    return i < a.size() ? 1 : j < b.size() ? -1 : 0;
}
} // namespace

bool fileNameLess(const QString &a, const QString &b)
{
    if (const int c = compareFolded(foldedName(a), foldedName(b)); c != 0)
        return c < 0;
    // Names that differ only in case or accents still keep one order.
    return a < b;
}

} // namespace vermeo::formats
