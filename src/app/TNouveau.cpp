#include "TNouveau.h"
#include "ColourSwatch.h"
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
// "OK" is the only way to confirm; shared by every use of the dialog, reset when shown.
bool nouveauAccepted = false;
} // namespace

TNouveau::TNouveau(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TNouveau"));
    setWindowTitle(QStringLiteral("Nouveau"));
    auto *top = new QHBoxLayout(this);
    auto *group = new QGroupBox(QStringLiteral("Propriétés de l'image"), this);
    auto *grid = new QGridLayout(group);
    SpinEdit1 = new NumberBox(group);
    SpinEdit1->setObjectName(QStringLiteral("SpinEdit1"));
    SpinEdit1->setRange(200, 1600);
    SpinEdit1->setValue(400);
    SpinEdit2 = new NumberBox(group);
    SpinEdit2->setObjectName(QStringLiteral("SpinEdit2"));
    SpinEdit2->setRange(100, 1200);
    SpinEdit2->setValue(300);
    // A typed value outside the range is clamped when it is read.
    SpinEdit1->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    SpinEdit2->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    Panel1 = new ColourSwatch(clWhite, group);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedSize(40, 25);
    grid->addWidget(new QLabel(QStringLiteral("Largeur"), group), 0, 0);
    grid->addWidget(SpinEdit1, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Hauteur"), group), 1, 0);
    grid->addWidget(SpinEdit2, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Fond"), group), 2, 0);
    grid->addWidget(Panel1, 2, 1, Qt::AlignLeft);
    top->addWidget(group);
    top->addLayout(okCancelColumn(*this, Button2, Button1));
    connect(Button2, &QPushButton::clicked, this, &TNouveau::Button2Click);
    connect(Button1, &QPushButton::clicked, this, &TNouveau::Button1Click);
    connect(Panel1, &ColourSwatch::clicked, this, &TNouveau::Panel1Click);
}

void TNouveau::showEvent(QShowEvent *e)
{
    nouveauAccepted = false;
    Button2->setFocus();
    QDialog::showEvent(e);
}

void TNouveau::Button2Click()
{
    SpinEdit1->interpretText();
    SpinEdit2->interpretText();
    nouveauAccepted = true;
    accept();
}

void TNouveau::Button1Click()
{
    nouveauAccepted = false;
    reject();
}

void TNouveau::Panel1Click()
{
    QColor c = toQColor(Panel1->colour());
    if (DialogRunner::colour(this, c))
        Panel1->setColour(fromQColor(c));
}

void TNouveau::Result(int &width, int &height, TColour &colour) const
{
    width = 0;
    if (!nouveauAccepted || result() != QDialog::Accepted)
        return;
    width = std::clamp(SpinEdit1->value(), SpinEdit1->minimum(), SpinEdit1->maximum());
    height = std::clamp(SpinEdit2->value(), SpinEdit2->minimum(), SpinEdit2->maximum());
    colour = Panel1->colour();
}

} // namespace vermeo
