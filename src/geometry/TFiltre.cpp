#include "TFiltre.h"

#include "DialogRunner.h"
#include "FilterFile.h"

#include <QApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QStyle>
#include <algorithm>
#include <cmath>

namespace vermeo::geometry {

FilterCoefficients TFiltre::s_coefficients{};

namespace {
QPushButton *placeButton(QPushButton *b, int x, int y, int w = 75)
{
    b->setGeometry(x, y, w, 25);
    b->setAutoDefault(false);
    return b;
}
} // namespace

namespace {
const QString kDamagedEntry = QStringLiteral("Cette ligne du fichier de filtres est illisible : ce filtre ne peut pas "
                                             "être appliqué. Corrigez-le avec « Modifier » ou supprimez-le.");
} // namespace

TFiltre::TFiltre(QWidget *parent) : PreviewDialog(parent, QStringLiteral("Filtres"), 530, 250, 366, 8)
{
    GroupBox1 = new QGroupBox(this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(8, 4, 178, 108);
    // The values, at most five characters each: "-1,28".
    static const QRegularExpression valueChars(QStringLiteral("[-0-9,.]*"));
    for (int i = 0; i < 9; ++i) {
        auto *e = new QLineEdit(GroupBox1);
        e->setObjectName(QStringLiteral("Edit%1").arg(i + 1));
        e->setGeometry(8 + (i % 3) * 56, 10 + (i / 3) * 32, 50, 24);
        e->setMaxLength(5);
        e->setAlignment(Qt::AlignRight);
        e->setValidator(new QRegularExpressionValidator(valueChars, e));
        e->setText(i == 4 ? QStringLiteral("1") : QStringLiteral("0"));
        m_edits[size_t(i)] = e;
    }
    QLineEdit **named[] = {&Edit1, &Edit2, &Edit3, &Edit4, &Edit5, &Edit6, &Edit7, &Edit8, &Edit9};
    for (int i = 0; i < 9; ++i)
        *named[i] = m_edits[size_t(i)];
    Label1 = new QLabel(QStringLiteral("Nom du filtre"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->move(8, 120);
    Label1->adjustSize();
    Edit10 = new QLineEdit(this);
    Edit10->setObjectName(QStringLiteral("Edit10"));
    Edit10->setGeometry(8, 140, 178, 24);
    m_edits[9] = Edit10;
    for (QLineEdit *e : m_edits) {
        e->setReadOnly(true);
        e->installEventFilter(this);
    }

    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setGeometry(194, 8, 160, 156);
    ListBox1->viewport()->installEventFilter(this);

    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(8, 210, 514, 34);
    Label2->setWordWrap(true);
    Label2->setStyleSheet(QStringLiteral("color: #b00000"));

    Button5 = placeButton(new QPushButton(QStringLiteral("Nouveau"), this), 8, 178, 110);
    Button5->setObjectName(QStringLiteral("Button5"));
    Button6 = placeButton(new QPushButton(QStringLiteral("Modifier"), this), 126, 178, 110);
    Button6->setObjectName(QStringLiteral("Button6"));
    Button7 = placeButton(new QPushButton(QStringLiteral("Supprimer"), this), 244, 178, 110);
    Button7->setObjectName(QStringLiteral("Button7"));
    placeButton(Button2, 366, 116);
    placeButton(Button1, 447, 116);
    placeButton(Button3, 366, 148);
    placeButton(Button4, 447, 148);
    // Enter means "OK", except in the fields, where it stores the entry.
    Button3->setDefault(false);
    Button2->setDefault(true);

    for (int i = 1; i < 10; ++i)
        setTabOrder(m_edits[size_t(i - 1)], m_edits[size_t(i)]);
    setTabOrder(Edit10, ListBox1);
    setTabOrder(ListBox1, Button5);
    setTabOrder(Button5, Button6);
    setTabOrder(Button6, Button7);
    setTabOrder(Button7, Button2);
    setTabOrder(Button2, Button1);
    setTabOrder(Button1, Button3);
    setTabOrder(Button3, Button4);

    connect(Button5, &QPushButton::clicked, this, &TFiltre::Button5Click);
    connect(Button6, &QPushButton::clicked, this, &TFiltre::Button6Click);
    connect(Button7, &QPushButton::clicked, this, &TFiltre::Button7Click);
    // A click on an item, or a selection moved with the keys; a click that also moved
    // the selection is handled once.
    connect(ListBox1, &QListWidget::itemSelectionChanged, this, [this] {
        if (selectedIndex() < 0)
            return;
        m_clickSeen = true;
        ListBox1Click();
    });
    connect(ListBox1, &QListWidget::itemClicked, this, [this] {
        if (!m_clickSeen)
            ListBox1Click();
        m_clickSeen = false;
    });
}

void TFiltre::Charge(const QString &fileName)
{
    m_list = readFilterFile(fileName);
    const QSignalBlocker block(ListBox1);
    ListBox1->clear();
    for (const QString &line : m_list) {
        ListBox1->addItem(filterName(line));
        markItem(ListBox1->count() - 1);
    }
    if (!m_list.isEmpty())
        Edit10->setText(filterName(m_list.first()));
}

void TFiltre::Sauve(const QString &fileName) const { writeFilterFile(fileName, m_list); }

void TFiltre::Result(bool &accepted, FilterCoefficients &coefficients)
{
    accepted = m_accepted;
    if (accepted)
        readValues();
    coefficients = s_coefficients;
}

int TFiltre::selectedIndex() const
{
    const QList<QListWidgetItem *> items = ListBox1->selectedItems();
    return items.isEmpty() ? -1 : ListBox1->row(items.first());
}

void TFiltre::selectRow(int row)
{
    const QSignalBlocker block(ListBox1);
    ListBox1->clearSelection();
    if (row >= 0) {
        ListBox1->setCurrentRow(row);
        ListBox1->item(row)->setSelected(true);
    }
}

void TFiltre::markItem(int row)
{
    QListWidgetItem *item = ListBox1->item(row);
    const bool readable = row < m_list.size() && filterLineReadable(m_list[row]);
    QFont font = item->font();
    font.setItalic(!readable);
    item->setFont(font);
    item->setForeground(readable ? QBrush() : QBrush(QColor(0xb0, 0, 0)));
    item->setIcon(readable ? QIcon() : style()->standardIcon(QStyle::SP_MessageBoxWarning));
    item->setToolTip(readable ? QString() : QStringLiteral("Ligne illisible du fichier de filtres"));
}

void TFiltre::setGridDamaged(bool damaged)
{
    m_gridDamaged = damaged;
    Label2->setText(damaged ? kDamagedEntry : QString());
}

void TFiltre::setEditing(bool on)
{
    for (QLineEdit *e : m_edits)
        e->setReadOnly(!on);
}

void TFiltre::formate(QLineEdit *e)
{
    if (e->text().isEmpty())
        e->setText(QStringLiteral("0"));
    if (const auto v = parseFilterValue(e->text()))
        e->setText(formatFilterValue(*v));
}

void TFiltre::EditExit(int i) { formate(edit(i)); }

void TFiltre::readValues()
{
    for (int i = 0; i < 9; ++i) {
        QLineEdit *e = m_edits[size_t(i)];
        const auto v = parseFilterValue(e->text());
        if (!v)
            return;
        const std::int8_t c = coefficientOf(*v);
        // A value beyond the range is stored clamped, and shown so.
        if (std::nearbyint(*v * 100.0) != double(c))
            e->setText(formatFilterValue(*v));
        s_coefficients[size_t(i / 3)][size_t(i % 3)] = c;
    }
}

void TFiltre::EcritFiche()
{
    QStringList fields;
    for (int i = 0; i < 9; ++i) {
        formate(m_edits[size_t(i)]);
        fields << m_edits[size_t(i)]->text();
    }
    setEditing(false);
    const QString name = Edit10->text();
    const QString line = filterLine(fields, name);
    // The entry selected when "Modifier" was pressed: a list click that stores has
    // already moved the selection to the entry clicked, which must not be overwritten.
    const int i = m_modifyIndex;
    int row = i;
    if (m_modifyMode && i >= 0 && i < ListBox1->count()) {
        ListBox1->item(i)->setText(filterName(line));
        if (i < m_list.size())
            m_list[i] = line;
    } else {
        ListBox1->addItem(filterName(line));
        m_list << line;
        row = ListBox1->count() - 1;
    }
    markItem(row);
    setGridDamaged(!filterLineReadable(line));
    m_newMode = m_modifyMode = false;
}

void TFiltre::LitFiche(int index)
{
    if (index < 0 || index >= m_list.size())
        return;
    const QString &line = m_list[index];
    const QStringList fields = filterFields(line);
    // Either separator reads; the field shows the user's.
    const QString point = QLocale().decimalPoint();
    for (int i = 0; i < 9; ++i) {
        QString t = fields[i];
        if (parseFilterValue(t))
            t.replace(QLatin1Char(','), point).replace(QLatin1Char('.'), point);
        m_edits[size_t(i)]->setText(t);
    }
    ListBox1->item(index)->setText(filterName(line));
    setGridDamaged(!filterLineReadable(line));
}

void TFiltre::storeIfEditing()
{
    if (m_newMode || m_modifyMode)
        EcritFiche();
}

void TFiltre::Button1Click()
{
    storeIfEditing();
    PreviewDialog::Button1Click();
}

void TFiltre::Button2Click()
{
    storeIfEditing();
    // The values of a damaged line are no filter: the dialog stays open to mend it.
    if (m_gridDamaged) {
        DialogRunner::tell(this, QMessageBox::Warning,
                           QStringLiteral("Le filtre « %1 » est illisible dans le fichier de filtres : il n'est pas "
                                          "appliqué.")
                               .arg(Edit10->text()));
        return;
    }
    PreviewDialog::Button2Click();
}

void TFiltre::Button3Click()
{
    storeIfEditing();
    if (m_gridDamaged) {
        Button4Click(); // the picture as it is, not a made-up filter
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    Recalcule();
    QApplication::restoreOverrideCursor();
}

void TFiltre::Button5Click()
{
    setEditing(true);
    m_newMode = true;
    m_modifyMode = false;
    selectRow(-1);
    setGridDamaged(false);
    Edit1->clear();
    Edit10->setFocus();
}

void TFiltre::Button6Click()
{
    m_modifyMode = true;
    m_newMode = false;
    m_modifyIndex = selectedIndex();
    setEditing(true);
    Edit10->setFocus();
}

void TFiltre::Button7Click()
{
    storeIfEditing();
    const int i = selectedIndex();
    if (i < 0)
        return;
    const QSignalBlocker block(ListBox1);
    delete ListBox1->takeItem(i);
    if (i < m_list.size())
        m_list.removeAt(i);
    ListBox1->clearSelection();
}

void TFiltre::ListBox1Click()
{
    storeIfEditing();
    m_newMode = m_modifyMode = false;
    const int i = selectedIndex();
    if (i < 0)
        return;
    LitFiche(i);
    Edit10->setText(ListBox1->item(i)->text());
}

QImage TFiltre::computePreview(const QImage &reference)
{
    return convolve(reference, s_coefficients, silentProgress());
}

void TFiltre::showEvent(QShowEvent *event)
{
    m_newMode = m_modifyMode = false;
    PreviewDialog::showEvent(event);
}

void TFiltre::keyPressEvent(QKeyEvent *event)
{
    // Escape is the "Annuler" button, which stores an entry being edited.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        Button1Click();
        return;
    }
    PreviewDialog::keyPressEvent(event);
}

bool TFiltre::valueKey(QLineEdit *e, QKeyEvent *k)
{
    const QString text = k->text();
    if (text.isEmpty() || k->key() == Qt::Key_Backspace || k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab ||
        k->key() == Qt::Key_Escape || (k->modifiers() & Qt::ControlModifier))
        return false;
    const QChar ch = text.front();
    if (ch == QLatin1Char('.')) {
        // A typed point enters a comma.
        QKeyEvent comma(QEvent::KeyPress, Qt::Key_Comma, Qt::NoModifier, QStringLiteral(","));
        QApplication::sendEvent(e, &comma);
        return true;
    }
    return !QStringLiteral("-0123456789,").contains(ch);
}

bool TFiltre::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ListBox1->viewport() && event->type() == QEvent::MouseButtonPress)
        m_clickSeen = false;
    const auto it = std::find(m_edits.begin(), m_edits.end(), watched);
    if (it != m_edits.end()) {
        const int i = int(it - m_edits.begin()) + 1;
        if (event->type() == QEvent::KeyPress) {
            auto *k = static_cast<QKeyEvent *>(event);
            if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
                EcritFiche();
                return true;
            }
            if (i <= 9 && valueKey(*it, k))
                return true;
        } else if (event->type() == QEvent::FocusOut && i <= 9) {
            EditExit(i);
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace vermeo::geometry
