#include "TDeformer.h"
#include "DialogRunner.h"
#include "NumberBox.h"
#include "Skew.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

namespace vermeo {

TDeformer::TDeformer(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Deformer"));
    setWindowTitle(QStringLiteral("Déformations"));
    auto *outer = new QVBoxLayout(this);
    auto *angleRow = new QHBoxLayout;
    SpinEdit1 = new NumberBox(this);
    SpinEdit1->setObjectName(QStringLiteral("SpinEdit1"));
    SpinEdit1->setRange(int(geometry::kSkewAngle.low), int(geometry::kSkewAngle.high));
    SpinEdit1->setValue(int(geometry::kSkewAngle.start));
    auto *label = new QLabel(QStringLiteral("Inclinaison"), this);
    label->setBuddy(SpinEdit1);
    angleRow->addWidget(label);
    angleRow->addWidget(SpinEdit1);
    angleRow->addWidget(new QLabel(QStringLiteral("degrés"), this));
    angleRow->addStretch();
    outer->addLayout(angleRow);

    auto *group = new QGroupBox(QStringLiteral("Déformer"), this);
    auto *grid = new QGridLayout(group);
    // Grouped speed buttons: exactly one is down.
    auto *exclusive = new QButtonGroup(this);
    auto speed = [&](const char *name, const QString &caption) {
        auto *b = new QToolButton(group);
        b->setObjectName(QLatin1String(name));
        b->setText(caption);
        b->setCheckable(true);
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        b->setMinimumWidth(80);
        exclusive->addButton(b);
        return b;
    };
    SpeedButton1 = speed("SpeedButton1", QStringLiteral("A gauche"));
    SpeedButton2 = speed("SpeedButton2", QStringLiteral("A droite"));
    SpeedButton3 = speed("SpeedButton3", QStringLiteral("En haut"));
    SpeedButton4 = speed("SpeedButton4", QStringLiteral("En bas"));
    SpeedButton1->setChecked(true);
    grid->addWidget(SpeedButton1, 0, 0);
    grid->addWidget(SpeedButton2, 0, 1);
    grid->addWidget(SpeedButton3, 1, 0);
    grid->addWidget(SpeedButton4, 1, 1);
    outer->addWidget(group);

    outer->addLayout(okCancelRow(*this, Button2, Button1, true));
    setFixedSize(sizeHint());
    connect(Button1, &QPushButton::clicked, this, &TDeformer::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TDeformer::Button2Click);
}

void TDeformer::Result(int &angle, int &direction) const
{
    angle = SpinEdit1->value();
    direction = 0;
    if (!m_accepted)
        return;
    const QToolButton *buttons[] = {SpeedButton1, SpeedButton2, SpeedButton3, SpeedButton4};
    for (int i = 0; i < 4; ++i)
        if (buttons[i]->isChecked())
            direction = i + 1;
}

void TDeformer::Button1Click()
{
    m_accepted = false;
    reject();
}

void TDeformer::Button2Click()
{
    SpinEdit1->interpretText();
    m_accepted = true;
    accept();
}

} // namespace vermeo
