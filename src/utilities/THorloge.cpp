#include "THorloge.h"

#include "DialogRunner.h"
#include "Error.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>

namespace vermeo::utilities {

namespace {
constexpr const char *kFieldNames[5] = {"Hr", "Mn", "Jo", "Mo", "An"};

QLabel *bigLabel(QWidget *parent, const char *name, int y, int points)
{
    auto *l = new QLabel(parent);
    l->setObjectName(QLatin1String(name));
    l->setGeometry(10, y, 280, points * 2);
    l->setAlignment(Qt::AlignCenter);
    QFont f(QStringLiteral("DejaVu Sans Mono"));
    f.setStyleHint(QFont::Monospace);
    f.setPointSize(points);
    f.setBold(true);
    l->setFont(f);
    return l;
}
} // namespace

THorloge::THorloge(QWidget *parent, SystemClock &clock)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      m_clock(clock)
{
    setObjectName(QStringLiteral("THorloge"));
    setWindowTitle(QStringLiteral("Horloge"));
    setFixedSize(390, 170);
    Label1 = bigLabel(this, "Label1", 8, 22);
    Label2 = bigLabel(this, "Label2", 56, 14);
    RadioGroup1 = new QGroupBox(this);
    RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    RadioGroup1->setGeometry(10, 96, 280, 34);
    auto *row = new QHBoxLayout(RadioGroup1);
    row->setContentsMargins(6, 2, 6, 2);
    m_fields = new QButtonGroup(this);
    for (int i = 0; i < 5; ++i) {
        RadioButton[i] = new QRadioButton(QString::fromLatin1(kFieldNames[i]), RadioGroup1);
        row->addWidget(RadioButton[i]);
        m_fields->addButton(RadioButton[i], i);
    }
    RadioButton[0]->setChecked(true);
    SpinButton1Up = new QToolButton(this);
    SpinButton1Up->setObjectName(QStringLiteral("SpinButton1Up"));
    SpinButton1Up->setArrowType(Qt::UpArrow);
    SpinButton1Up->setGeometry(296, 96, 24, 17);
    SpinButton1Up->setAutoRepeat(true);
    SpinButton1Down = new QToolButton(this);
    SpinButton1Down->setObjectName(QStringLiteral("SpinButton1Down"));
    SpinButton1Down->setArrowType(Qt::DownArrow);
    SpinButton1Down->setGeometry(296, 113, 24, 17);
    SpinButton1Down->setAutoRepeat(true);
    Button2 = new QPushButton(QStringLiteral("Set"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(304, 20, 76, 28);
    Button2->setCheckable(true); // pressed while the clock is being set
    Button2->setAutoDefault(false);
    Button1 = new QPushButton(QStringLiteral("Fermer"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(304, 134, 76, 28);
    Button1->setDefault(true);
    Timer1 = new QTimer(this);
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &THorloge::Timer1Timer);
    connect(Button2, &QPushButton::clicked, this, &THorloge::Button2Click);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(SpinButton1Up, &QToolButton::clicked, this, &THorloge::SpinButton1UpClick);
    connect(SpinButton1Down, &QToolButton::clicked, this, &THorloge::SpinButton1DownClick);
}

void THorloge::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormActivate();
}

void THorloge::hideEvent(QHideEvent *event)
{
    FormDeactivate();
    QDialog::hideEvent(event);
}

void THorloge::FormActivate()
{
    m_edit = false;
    Button2->setChecked(false);
    Timer1Timer();
    Timer1->start();
}

void THorloge::FormDeactivate() { Timer1->stop(); }

void THorloge::Timer1Timer()
{
    const QDateTime local = m_clock.nowUtc().toTimeZone(m_clock.timeZone());
    Label1->setText(timeLabel(local));
    Label2->setText(dateLabel(local));
}

void THorloge::Button2Click()
{
    m_edit = !m_edit;
    Button2->setChecked(m_edit);
    if (m_edit) {
        Timer1->stop();
        return;
    }
    Modifie();
    Timer1Timer();
    Timer1->start();
}

void THorloge::Modifie()
{
    try {
        m_clock.setUtc(labelsToUtc(Label1->text(), Label2->text(), m_clock.timeZone()));
    } catch (const VermeoError &e) {
        DialogRunner::tell(this, QMessageBox::Warning, e.message());
    }
}

void THorloge::spin(int step)
{
    QString time = Label1->text(), date = Label2->text();
    spinField(time, date, ClockField(std::max(0, m_fields->checkedId())), step);
    Label1->setText(time);
    Label2->setText(date);
}

} // namespace vermeo::utilities
