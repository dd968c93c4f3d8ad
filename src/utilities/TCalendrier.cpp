#include "TCalendrier.h"

#include "DeskRules.h"

#include <QAbstractItemView>
#include <QCalendarWidget>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

namespace vermeo::utilities {

namespace {
QPushButton *button(QWidget *parent, const char *name, const QString &text, QStyle::StandardPixmap icon, int x)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    if (icon != QStyle::SP_CustomBase)
        b->setIcon(parent->style()->standardIcon(icon));
    b->setGeometry(x, 262, 84, 28);
    b->setAutoDefault(false);
    return b;
}
} // namespace

TCalendrier::TCalendrier(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("TCalendrier"));
    setWindowTitle(QStringLiteral("Calendrier"));
    setFixedSize(392, 340);
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(10, 8, 372, 28);
    Label1->setAlignment(Qt::AlignCenter);
    QFont f = Label1->font();
    f.setPointSize(f.pointSize() + 4);
    f.setBold(true);
    Label1->setFont(f);
    Calendar1 = new QCalendarWidget(this);
    Calendar1->setObjectName(QStringLiteral("Calendar1"));
    Calendar1->setGeometry(10, 42, 372, 212);
    Calendar1->setLocale(QLocale(QLocale::French, QLocale::France));
    Calendar1->setFirstDayOfWeek(Qt::Sunday);
    Calendar1->setNavigationBarVisible(false); // the caption and the buttons take its place
    Calendar1->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    // Page Up and Page Down wherever the focus is, before the calendar moves by its own rules.
    installEventFilter(this);
    Calendar1->installEventFilter(this);
    if (auto *view = Calendar1->findChild<QAbstractItemView *>())
        view->installEventFilter(this);
    BitBtn3 = button(this, "BitBtn3", QStringLiteral("Année"), QStyle::SP_MediaSeekBackward, 10);
    BitBtn1 = button(this, "BitBtn1", QStringLiteral("Mois"), QStyle::SP_ArrowLeft, 104);
    BitBtn2 = button(this, "BitBtn2", QStringLiteral("Mois"), QStyle::SP_ArrowRight, 204);
    BitBtn4 = button(this, "BitBtn4", QStringLiteral("Année"), QStyle::SP_MediaSeekForward, 298);
    // The forward buttons show their arrow after the word.
    BitBtn2->setLayoutDirection(Qt::RightToLeft);
    BitBtn4->setLayoutDirection(Qt::RightToLeft);
    Button1 = new QPushButton(QStringLiteral("Fermer"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(154, 302, 84, 28);
    Button1->setDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, &TCalendrier::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TCalendrier::BitBtn2Click);
    connect(BitBtn3, &QPushButton::clicked, this, &TCalendrier::BitBtn3Click);
    connect(BitBtn4, &QPushButton::clicked, this, &TCalendrier::BitBtn4Click);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Calendar1, &QCalendarWidget::selectionChanged, this, &TCalendrier::Calendar1Change);
    Calendar1->setSelectedDate(QDate::currentDate());
    Calendar1Change();
    Calendar1->setFocus();
}

void TCalendrier::Calendar1Change()
{
    const QDate d = Calendar1->selectedDate();
    Label1->setText(calendarCaption(d));
    Calendar1->setCurrentPage(d.year(), d.month());
}

void TCalendrier::moveMonths(int months) { Calendar1->setSelectedDate(Calendar1->selectedDate().addMonths(months)); }

bool TCalendrier::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto *k = static_cast<QKeyEvent *>(event);
        const int step = k->modifiers() & Qt::ControlModifier ? 12 : 1;
        if (k->key() == Qt::Key_PageUp || k->key() == Qt::Key_PageDown) {
            moveMonths(k->key() == Qt::Key_PageUp ? -step : step);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace vermeo::utilities
