#include "TPocket.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <cstring>

namespace vermeo::utilities {

namespace {
struct Key {
    const char *caption;
    const char *keys; // the characters that press it
    int column, row;
};
// Indexed by button number; laid out as a pocket calculator, Fermer at the bottom right.
constexpr Key kKeys[20] = {
    {"0", "0", 0, 3},  {"1", "1", 0, 2},    {"2", "2", 1, 2},    {"3", "3", 2, 2},  {"4", "4", 0, 1},
    {"5", "5", 1, 1},  {"6", "6", 2, 1},    {"7", "7", 0, 0},    {"8", "8", 1, 0},  {"9", "9", 2, 0},
    {",", ",.", 1, 3}, {"=", "=", 2, 3},    {"+", "+", 3, 3},    {"-", "-", 3, 2},  {"*", "*", 3, 1},
    {"/", "/", 3, 0},  {"1/x", "xX", 4, 1}, {"sqr", "sS", 4, 2}, {"C", "cC", 4, 0}, {"Fermer", "", 4, 3},
};
constexpr int kEquals = 11, kClose = 19;
constexpr int kLeft = 10, kTop = 50, kWidth = 44, kHeight = 30, kGap = 6;
} // namespace

TPocket::TPocket(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("TPocket"));
    setWindowTitle(QStringLiteral("Calculatrice"));
    const int fermerWidth = 60;
    setFixedSize(kLeft * 2 + 4 * (kWidth + kGap) + fermerWidth, kTop + 4 * (kHeight + kGap) + kGap);
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(kLeft, 10, width() - 2 * kLeft, 30);
    Label1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Label1->setAutoFillBackground(true);
    Label1->setBackgroundRole(QPalette::Base);
    QFont f = Label1->font();
    f.setPointSize(f.pointSize() + 3);
    Label1->setFont(f);
    for (int i = 0; i < 20; ++i) {
        auto *b = new QPushButton(QString::fromLatin1(kKeys[i].caption), this);
        b->setObjectName(QStringLiteral("Button%1").arg(i));
        b->setGeometry(kLeft + kKeys[i].column * (kWidth + kGap), kTop + kKeys[i].row * (kHeight + kGap),
                       kKeys[i].column == 4 ? fermerWidth : kWidth, kHeight);
        b->setAutoDefault(false);
        b->installEventFilter(this);
        connect(b, &QPushButton::clicked, this, [this, i] { ButtonClick(i); });
        Button[i] = b;
    }
    // Enter is "=" wherever the focus is.
    Button[kEquals]->setDefault(true);
}

void TPocket::FormActivate()
{
    m_calc.clear();
    Label1->setText(m_calc.display());
    Button[kEquals]->setFocus();
}

void TPocket::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormActivate();
}

void TPocket::ButtonClick(int index)
{
    switch (index) {
    case 10: m_calc.comma(); break;
    case kEquals: m_calc.equals(); break;
    case 12:
    case 13:
    case 14:
    case 15: m_calc.setOperator(QLatin1Char(kKeys[index].caption[0])); break;
    case 16: m_calc.reciprocal(); break;
    case 17: m_calc.squareRoot(); break;
    case 18: FormActivate(); break;
    case kClose: reject(); return;
    default: m_calc.digit(QLatin1Char(kKeys[index].caption[0])); break;
    }
    Label1->setText(m_calc.display());
}

bool TPocket::FormKeyPress(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        Button[kEquals]->click();
        return true;
    }
    const QString text = event->text();
    if (text.size() != 1 || event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
        return false;
    if (text[0].unicode() == 0 || text[0].unicode() > 127)
        return false;
    for (int i = 0; i < 20; ++i)
        if (std::strchr(kKeys[i].keys, text[0].toLatin1())) {
            Button[i]->click();
            return true;
        }
    return false;
}

void TPocket::keyPressEvent(QKeyEvent *event)
{
    if (!FormKeyPress(event))
        QDialog::keyPressEvent(event); // Escape closes
}

bool TPocket::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && FormKeyPress(static_cast<QKeyEvent *>(event)))
        return true;
    return QDialog::eventFilter(watched, event);
}

} // namespace vermeo::utilities
