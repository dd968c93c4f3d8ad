#include "TRecup.h"
#include "DialogRunner.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

namespace vermeo {

QString recoveryLine(const JournalEntry &entry)
{
    const JournalInfo &info = entry.info;
    const QLocale french(QLocale::French, QLocale::France);
    const QString when = french.toString(info.lastChange.toLocalTime(), QStringLiteral("d MMMM yyyy 'à' HH:mm"));
    if (!entry.readable)
        return QStringLiteral("%1 : illisible, %2").arg(QFileInfo(entry.path).fileName(), entry.problem);
    const QString name = info.title.isEmpty() ? QStringLiteral("Sans nom") : info.title;
    return QStringLiteral("%1 : %2 x %3, %4 bits, modifiée le %5")
        .arg(name)
        .arg(info.width)
        .arg(info.height)
        .arg(info.depth)
        .arg(when);
}

TRecup::TRecup(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TRecup"));
    setWindowTitle(QStringLiteral("Récupération des images"));
    auto *top = new QVBoxLayout(this);
    Label1 = new QLabel(QStringLiteral("Vermeo s'est arrêté avant que ces images soient enregistrées.\n"
                                       "Cochez celles à rouvrir :"),
                        this);
    Label1->setObjectName(QStringLiteral("Label1"));
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setMinimumWidth(520);
    top->addWidget(Label1);
    top->addWidget(ListBox1);
    auto *row = new QHBoxLayout;
    Button1 = new QPushButton(QStringLiteral("Récupérer"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2 = new QPushButton(QStringLiteral("Ignorer"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button3 = new QPushButton(QStringLiteral("Supprimer"), this);
    Button3->setObjectName(QStringLiteral("Button3"));
    // Enter brings the pictures back; Escape and the close box leave them for later.
    Button1->setDefault(true);
    row->addStretch();
    row->addWidget(Button1);
    row->addWidget(Button2);
    row->addWidget(Button3);
    top->addLayout(row);
    connect(Button1, &QPushButton::clicked, this, &TRecup::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TRecup::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TRecup::Button3Click);
}

void TRecup::Init(const std::vector<JournalEntry> &entries)
{
    ListBox1->clear();
    for (const JournalEntry &e : entries) {
        auto *item = new QListWidgetItem(recoveryLine(e), ListBox1);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
        // What cannot be read is only there to be thrown away, if the user wants.
        item->setCheckState(e.readable ? Qt::Checked : Qt::Unchecked);
        if (!e.readable)
            item->setForeground(palette().brush(QPalette::Disabled, QPalette::Text));
        item->setToolTip(e.info.fileName.isEmpty() ? e.path : e.info.fileName);
    }
    if (ListBox1->count() > 0)
        ListBox1->setCurrentRow(0);
    Button1->setFocus();
}

TRecup::Choice TRecup::Result(std::vector<int> &ticked) const
{
    ticked.clear();
    for (int i = 0; i < ListBox1->count(); ++i)
        if (ListBox1->item(i)->checkState() == Qt::Checked)
            ticked.push_back(i);
    return result() == QDialog::Accepted ? m_choice : Ignore;
}

void TRecup::Button1Click()
{
    m_choice = Recover;
    accept();
}

void TRecup::Button2Click()
{
    m_choice = Ignore;
    reject();
}

void TRecup::Button3Click()
{
    const auto answer = DialogRunner::ask(this, QMessageBox::Warning,
                                          QStringLiteral("Supprimer définitivement les images cochées ? "
                                                         "Leurs modifications seront perdues."),
                                          QMessageBox::Yes | QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return;
    m_choice = Remove;
    accept();
}

} // namespace vermeo
