#include "TRot.h"
#include "DialogRunner.h"
#include "NumberBox.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <limits>

namespace vermeo {

TRot::TRot(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Rot"));
    setWindowTitle(QStringLiteral("Rotation"));
    auto *outer = new QVBoxLayout(this);
    auto *group = new QGroupBox(QStringLiteral("Rotation de"), this);
    auto *grid = new QGridLayout(group);
    auto radio = [&](const char *name, const QString &caption) {
        auto *r = new QRadioButton(caption, group);
        r->setObjectName(QLatin1String(name));
        return r;
    };
    RadioButton1 = radio("RadioButton1", QStringLiteral("90° gauche"));
    RadioButton2 = radio("RadioButton2", QStringLiteral("90° droite"));
    RadioButton3 = radio("RadioButton3", QStringLiteral("180°"));
    RadioButton4 = radio("RadioButton4", QStringLiteral("Autre"));
    RadioButton1->setChecked(true);
    SpinEdit1 = new NumberBox(group);
    SpinEdit1->setObjectName(QStringLiteral("SpinEdit1"));
    // Any whole number: "Autre" brings it into [0, 360) itself.
    SpinEdit1->setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    SpinEdit1->setValue(0);
    grid->addWidget(RadioButton1, 0, 0);
    grid->addWidget(RadioButton2, 1, 0);
    grid->addWidget(RadioButton3, 2, 0);
    grid->addWidget(RadioButton4, 3, 0);
    auto *degrees = new QLabel(QStringLiteral("Degrés"), group);
    degrees->setBuddy(SpinEdit1);
    grid->addWidget(degrees, 3, 1);
    grid->addWidget(SpinEdit1, 3, 2);
    outer->addWidget(group);
    outer->addLayout(okCancelRow(*this, Button2, Button1, true));
    setFixedSize(sizeHint());
    connect(Button1, &QPushButton::clicked, this, &TRot::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TRot::Button2Click);
}

void TRot::Result(int &choice, int &angle) const
{
    choice = 0;
    angle = SpinEdit1->value();
    if (!m_accepted)
        return;
    const QRadioButton *buttons[] = {RadioButton1, RadioButton2, RadioButton3, RadioButton4};
    for (int i = 0; i < 4; ++i)
        if (buttons[i]->isChecked())
            choice = i + 1;
}

void TRot::Button1Click()
{
    m_accepted = false;
    reject();
}

void TRot::Button2Click()
{
    SpinEdit1->interpretText();
    m_accepted = true;
    accept();
}

void TRot::showEvent(QShowEvent *event)
{
    m_accepted = false;
    QDialog::showEvent(event);
}

} // namespace vermeo
