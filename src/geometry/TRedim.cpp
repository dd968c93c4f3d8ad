#include "TRedim.h"
#include "DialogRunner.h"
#include "PixelRows.h"

#include <QCheckBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <cfenv>
#include <cmath>
#include <limits>

namespace vermeo {

namespace {
constexpr int kMinProportional = 32;

int editNumber(const QString &text)
{
    bool ok = false;
    const int v = text.toInt(&ok);
    return ok ? v : 0;
}

int editValue(const QLineEdit *e) { return editNumber(e->text()); }
} // namespace

int roundHalfEven(long double v)
{
    const int keep = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const long double r = std::nearbyintl(v);
    std::fesetround(keep);
    if (!(r < (long double)std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    return r < 0 ? 0 : int(r);
}

TRedim::TRedim(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Redim"));
    setWindowTitle(QStringLiteral("Redimensiooner"));
    auto *grid = new QGridLayout(this);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit2 = new QLineEdit(this);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    // Pasted text obeys the same rule as typed text: digits only.
    auto *digits = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this);
    for (QLineEdit *e : {Edit1, Edit2}) {
        e->setValidator(digits);
        e->installEventFilter(this);
    }
    CheckBox1 = new QCheckBox(QStringLiteral("Garder les proportions"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setChecked(true);
    grid->addWidget(new QLabel(QStringLiteral("Largeur"), this), 0, 0);
    grid->addWidget(Edit1, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Hauteur"), this), 1, 0);
    grid->addWidget(Edit2, 1, 1);
    grid->addWidget(CheckBox1, 2, 0, 1, 2);
    grid->addLayout(okCancelRow(*this, Button2, Button1), 3, 0, 1, 2);
    // Fixed, but wide enough for the whole caption in the title bar.
    setFixedSize(sizeHint().expandedTo(QSize(fontMetrics().horizontalAdvance(windowTitle()) + 160, 0)));
    connect(Button1, &QPushButton::clicked, this, &TRedim::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TRedim::Button2Click);
}

void TRedim::Init(int width, int height)
{
    Edit1->setText(QString::number(width));
    Edit2->setText(QString::number(height));
    m_ratio = height > 0 ? (long double)width / (long double)height : 1.0L;
    m_accepted = false;
}

void TRedim::Result(int &width, int &height) const
{
    width = m_accepted ? editValue(Edit1) : 0;
    height = m_accepted ? editValue(Edit2) : 0;
}

void TRedim::Edit1Exit()
{
    if (!CheckBox1->isChecked())
        return;
    const int w = editValue(Edit1);
    int h = roundHalfEven((long double)w / m_ratio);
    if (h < kMinProportional) {
        h = kMinProportional;
        Edit1->setText(QString::number(kMinProportional));
    }
    Edit2->setText(QString::number(h));
}

void TRedim::Edit2Exit()
{
    if (!CheckBox1->isChecked())
        return;
    const int h = editValue(Edit2);
    int w = roundHalfEven(m_ratio * (long double)h);
    if (w < kMinProportional) {
        w = kMinProportional;
        Edit2->setText(QString::number(kMinProportional));
    }
    Edit1->setText(QString::number(w));
}

void TRedim::Button1Click()
{
    m_accepted = false;
    reject();
}

void TRedim::Button2Click()
{
    // A size the picture cannot take is refused here, before anything changes; an empty
    // or zero width still means "no change".
    const QString problem = sizeProblem(Edit1->text(), Edit2->text());
    if (!problem.isEmpty()) {
        DialogRunner::tell(this, QMessageBox::Warning, problem);
        return;
    }
    m_accepted = true;
    accept();
}

QString TRedim::sizeProblem(const QString &width, const QString &height)
{
    const auto check = [](const QString &text, const QString &what) -> QString {
        bool ok = false;
        const qlonglong v = text.toLongLong(&ok);
        if (!text.isEmpty() && (!ok || v > kMaxSide))
            return QStringLiteral("%1 doit être comprise entre 1 et %2 pixels, pas « %3 ».")
                .arg(what)
                .arg(kMaxSide)
                .arg(text);
        return {};
    };
    QString problem = check(width, QStringLiteral("La largeur"));
    if (problem.isEmpty())
        problem = check(height, QStringLiteral("La hauteur"));
    if (problem.isEmpty() && editNumber(width) > 0 && editNumber(height) == 0)
        problem = QStringLiteral("La hauteur doit valoir au moins 1.");
    return problem;
}

bool TRedim::eventFilter(QObject *watched, QEvent *event)
{
    auto *edit = qobject_cast<QLineEdit *>(watched);
    if (!edit || (edit != Edit1 && edit != Edit2))
        return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::FocusOut) {
        edit == Edit1 ? Edit1Exit() : Edit2Exit();
    } else if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Backspace)
            return false;
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            // Enter accepts at once; the edit is left first so the proportions
            // also follow the value just typed.
            edit == Edit1 ? Edit1Exit() : Edit2Exit();
            Button2Click();
            return true;
        }
        const QString text = key->text();
        if (!text.isEmpty() && text.at(0).isPrint()) {
            for (QChar ch : text)
                if (ch < QLatin1Char('0') || ch > QLatin1Char('9'))
                    return true; // not a digit: discarded
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace vermeo
