#include "TMep.h"
#include "DialogRunner.h"
#include "NumberBox.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace vermeo {

namespace {
// One accepted flag for every use of the dialog: "OK" sets it, "Annuler" clears it.
bool mepAccepted = false;

// Margins may be negative (down to the printable area's edge and beyond); the bound
// only keeps the arithmetic sane.
constexpr int kMarginLimit = 9999;

QSpinBox *box(QWidget *parent, const char *name, int min, int max, int value)
{
    auto *s = new NumberBox(parent);
    s->setObjectName(QLatin1String(name));
    s->setRange(min, max);
    s->setValue(value);
    s->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    return s;
}
} // namespace

TMep::TMep(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TMep"));
    setWindowTitle(QStringLiteral("Mise en page"));
    auto *top = new QHBoxLayout(this);
    auto *left = new QVBoxLayout;
    auto *group = new QGroupBox(QStringLiteral("Marges en mm"), this);
    auto *grid = new QGridLayout(group);
    SpinEdit1 = box(group, "SpinEdit1", -kMarginLimit, kMarginLimit, 20);
    SpinEdit2 = box(group, "SpinEdit2", -kMarginLimit, kMarginLimit, 20);
    SpinEdit3 = box(group, "SpinEdit3", -kMarginLimit, kMarginLimit, 20);
    SpinEdit4 = box(group, "SpinEdit4", -kMarginLimit, kMarginLimit, 20);
    grid->addWidget(new QLabel(QStringLiteral("Marge gauche"), group), 0, 0);
    grid->addWidget(SpinEdit1, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Marge haute"), group), 1, 0);
    grid->addWidget(SpinEdit2, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Marge droite"), group), 2, 0);
    grid->addWidget(SpinEdit3, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("Marge basse"), group), 3, 0);
    grid->addWidget(SpinEdit4, 3, 1);
    left->addWidget(group);
    auto *scaleRow = new QHBoxLayout;
    SpinEdit5 = box(this, "SpinEdit5", 10, 1000, 100);
    scaleRow->addWidget(new QLabel(QStringLiteral("Agrandissement"), this));
    scaleRow->addWidget(SpinEdit5);
    scaleRow->addWidget(new QLabel(QStringLiteral("%"), this));
    left->addLayout(scaleRow);
    top->addLayout(left);
    top->addLayout(okCancelColumn(*this, Button2, Button1));
    connect(Button2, &QPushButton::clicked, this, &TMep::Button2Click);
    connect(Button1, &QPushButton::clicked, this, &TMep::Button1Click);
    makeFixedDialog(*this);
    centreOnScreen(*this);
}

void TMep::Init(int left, int top, int right, int bottom, int scale)
{
    SpinEdit1->setValue(left);
    SpinEdit2->setValue(top);
    SpinEdit3->setValue(right);
    SpinEdit4->setValue(bottom);
    SpinEdit5->setValue(scale);
}

void TMep::Button2Click()
{
    for (QSpinBox *s : {SpinEdit1, SpinEdit2, SpinEdit3, SpinEdit4, SpinEdit5})
        s->interpretText();
    mepAccepted = true;
    accept();
}

void TMep::Button1Click()
{
    mepAccepted = false;
    QDialog::reject();
}

void TMep::reject()
{
    // Escape and the close box cancel as "Annuler" does: changed boxes are not taken.
    Button1Click();
}

void TMep::Result(int &left, int &top, int &right, int &bottom, int &scale) const
{
    if (!mepAccepted)
        return;
    left = SpinEdit1->value();
    top = SpinEdit2->value();
    right = SpinEdit3->value();
    bottom = SpinEdit4->value();
    scale = SpinEdit5->value();
}

} // namespace vermeo
