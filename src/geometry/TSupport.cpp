#include "TSupport.h"
#include "DialogRunner.h"
#include "NumberBox.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <algorithm>

namespace vermeo {

TSupport::TSupport(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Support"));
    setWindowTitle(QStringLiteral("Agrandir le support"));
    setMinimumWidth(280);
    auto *grid = new QGridLayout(this);
    SpinEdit1 = new NumberBox(this);
    SpinEdit1->setObjectName(QStringLiteral("SpinEdit1"));
    SpinEdit2 = new NumberBox(this);
    SpinEdit2->setObjectName(QStringLiteral("SpinEdit2"));
    for (QSpinBox *s : {SpinEdit1, SpinEdit2})
        s->setRange(0, kMaxSize);
    CheckBox1 = new QCheckBox(QStringLiteral("Centrer"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    grid->addWidget(new QLabel(QStringLiteral("Largeur"), this), 0, 0);
    grid->addWidget(SpinEdit1, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Hauteur"), this), 1, 0);
    grid->addWidget(SpinEdit2, 1, 1);
    grid->addWidget(CheckBox1, 2, 0, 1, 2);
    grid->addLayout(okCancelRow(*this, Button2, Button1), 3, 0, 1, 2);
    connect(Button1, &QPushButton::clicked, this, &TSupport::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TSupport::Button2Click);
}

void TSupport::Init(int width, int height)
{
    // A picture already wider than the usual maximum can still be given more height.
    SpinEdit1->setRange(width, std::max(width, kMaxSize));
    SpinEdit2->setRange(height, std::max(height, kMaxSize));
    SpinEdit1->setValue(width);
    SpinEdit2->setValue(height);
    m_accepted = false;
}

void TSupport::Result(int &width, int &height, bool &centre) const
{
    width = 0;
    height = 0;
    centre = false;
    if (!m_accepted)
        return;
    width = std::clamp(SpinEdit1->value(), SpinEdit1->minimum(), SpinEdit1->maximum());
    height = std::clamp(SpinEdit2->value(), SpinEdit2->minimum(), SpinEdit2->maximum());
    centre = CheckBox1->isChecked();
}

void TSupport::Button1Click()
{
    m_accepted = false;
    reject();
}

void TSupport::Button2Click()
{
    // A value still being typed counts as entered.
    SpinEdit1->interpretText();
    SpinEdit2->interpretText();
    m_accepted = true;
    accept();
}

} // namespace vermeo
