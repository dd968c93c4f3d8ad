#include "TextTool.h"

#include "DialogRunner.h"
#include "NumberBox.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <climits>

namespace vermeo {

bool TEditext::accepted = false;

TEditext::TEditext(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Editeur de texte"));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setMinimumWidth(260);
    SpinEdit1 = new NumberBox(this);
    SpinEdit1->setObjectName(QStringLiteral("SpinEdit1"));
    SpinEdit1->setRange(INT_MIN, INT_MAX); // the angle has no limits
    SpinEdit1->setValue(0);
    auto *angleLabel = new QLabel(QStringLiteral("Angle"), this);
    angleLabel->setBuddy(SpinEdit1);
    Button1 = new QPushButton(QStringLiteral("Annuler"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2 = new QPushButton(QStringLiteral("OK"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    // Enter and Escape are handled by key, so neither button is the default one.
    Button1->setAutoDefault(false);
    Button2->setAutoDefault(false);

    auto *angleRow = new QHBoxLayout;
    angleRow->addWidget(angleLabel);
    angleRow->addWidget(SpinEdit1);
    angleRow->addStretch();
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Edit1);
    layout->addLayout(angleRow);
    layout->addLayout(buttons);
    makeFixedDialog(*this);

    connect(Button1, &QPushButton::clicked, this, &TEditext::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TEditext::Button2Click);
    Edit1->installEventFilter(this);
    SpinEdit1->installEventFilter(this);
}

void TEditext::Button1Click()
{
    accepted = false;
    reject();
}

void TEditext::Button2Click()
{
    accepted = true;
    accept();
}

void TEditext::Result(QString &text, int &angle) const
{
    text.clear();
    if (!accepted)
        return;
    text = Edit1->text();
    angle = SpinEdit1->value();
}

void TEditext::showEvent(QShowEvent *event)
{
    // A dialog closed by its close box must not take over an earlier "OK".
    accepted = false;
    Edit1->clear();
    Edit1->setFocus();
    QDialog::showEvent(event);
}

bool TEditext::handleKey(int key)
{
    if (key == Qt::Key_Escape) {
        Button1Click();
        return true;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        Button2Click();
        return true;
    }
    return false;
}

void TEditext::keyPressEvent(QKeyEvent *event)
{
    if (handleKey(event->key()))
        event->accept();
    else
        QDialog::keyPressEvent(event);
}

bool TEditext::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && handleKey(static_cast<QKeyEvent *>(event)->key()))
        return true;
    return QDialog::eventFilter(watched, event);
}

void RotTextOut(ImageDocument &doc, DocumentHost &host, int x, int y, const QString &text, int angle)
{
    if (text.isEmpty())
        return;
    // Bold, italic and underline of the window do not apply to rotated text.
    QFont font(host.fontBoxName());
    font.setPixelSize(std::max(1, host.fontBoxSize()));
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    // Whole turns change nothing on the picture; folding them keeps any typed angle in range.
    doc.canvas().TextOutRotated(x, y, text, (angle % 360) * 10, font);
    doc.flush();
}

void placeText(ImageDocument &doc, DocumentHost &host)
{
    int angle = 0;
    {
        TEditext dialog(host.dialogParent());
        DialogRunner::exec(dialog);
        dialog.Result(doc.Text, angle);
    }
    if (angle != 0) {
        RotTextOut(doc, host, doc.StartPt.x(), doc.StartPt.y(), doc.Text, angle);
    } else {
        Canvas &c = doc.canvas();
        c.setFontColour(c.penColour());
        c.TextOut(doc.StartPt.x(), doc.StartPt.y(), doc.Text);
        doc.flush();
    }
    doc.Text.clear();
    host.setCursorShape(Qt::PointingHandCursor);
    doc.TextPlacing = true;
}

} // namespace vermeo
