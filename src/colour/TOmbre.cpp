#include "TOmbre.h"
#include "NumberBox.h"
#include "ShadowGradient.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

namespace vermeo::colour {

TOmbre::TOmbre(QWidget *parent) : PreviewDialog(parent, QStringLiteral("Ombre"), 428, 238, 128, 124)
{
    Label2 = new QLabel(QStringLiteral("Nombre de pixels"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->move(8, 14);
    Label2->adjustSize();
    SpinEdit1 = new NumberBox(this);
    SpinEdit1->setObjectName(QStringLiteral("SpinEdit1"));
    SpinEdit1->setGeometry(122, 10, 71, 26);
    SpinEdit1->setRange(int(kShadowLength.low), int(kShadowLength.high));
    auto *box = new QGroupBox(QStringLiteral("Côté de l'ombre"), this);
    box->setGeometry(8, 44, 300, 70);
    const QString captions[4] = {QStringLiteral("Gauche"), QStringLiteral("Droite"), QStringLiteral("Haut"),
                                 QStringLiteral("Bas")};
    QRadioButton *radios[4];
    for (int i = 0; i < 4; ++i) {
        radios[i] = new QRadioButton(captions[i], box);
        radios[i]->setObjectName(QStringLiteral("RadioButton%1").arg(i + 1));
        radios[i]->setGeometry(12 + 72 * i, 30, 70, 22);
    }
    RadioButton1 = radios[0], RadioButton2 = radios[1], RadioButton3 = radios[2], RadioButton4 = radios[3];
    RadioButton1->setChecked(true);
    SpinEdit1->setValue(int(kShadowLength.start));
}

int TOmbre::checkedSide() const
{
    if (RadioButton2->isChecked())
        return Droite;
    if (RadioButton3->isChecked())
        return Haut;
    if (RadioButton4->isChecked())
        return Bas;
    return Gauche;
}

void TOmbre::Result(int &length, int &side) const
{
    length = 0;
    if (m_accepted) {
        length = SpinEdit1->value();
        side = checkedSide();
    }
}

void TOmbre::resetControls() { SpinEdit1->setValue(int(kShadowLength.start)); }

QImage TOmbre::computePreview(const QImage &reference)
{
    return shadow(reference, SpinEdit1->value(), checkedSide(), silentProgress());
}

} // namespace vermeo::colour
