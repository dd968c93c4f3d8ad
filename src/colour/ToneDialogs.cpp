#include "ToneDialogs.h"
#include "ToneKernels.h"

#include <QSpinBox>

namespace vermeo::colour {

TLumin::TLumin(QWidget *parent)
    : AdjustDialog(parent, QStringLiteral("Réglage de la luminosité"), QStringLiteral("Luminosité en %"),
                   QStringLiteral("Luminosité"))
{
}
int TLumin::parameter() const { return percentToOffset(SpinEdit1->value()); }
QImage TLumin::computePreview(const QImage &reference) { return brightness(reference, parameter(), silentProgress()); }

TClart::TClart(QWidget *parent)
    : AdjustDialog(parent, QStringLiteral("Réglage de la clarté"), QStringLiteral("Clarté en %"),
                   QStringLiteral("Clarté"))
{
}
int TClart::parameter() const { return percentToOffset(SpinEdit1->value()); }
// The preview applies what the command will apply: S x 255 div 100, not S.
QImage TClart::computePreview(const QImage &reference) { return clarity(reference, parameter(), silentProgress()); }

TContrast::TContrast(QWidget *parent)
    : AdjustDialog(parent, QStringLiteral("Réglage du contraste"), QStringLiteral("Contraste en %"),
                   QStringLiteral("Contraste"))
{
}
int TContrast::parameter() const { return percentToOffset(SpinEdit1->value()); }
QImage TContrast::computePreview(const QImage &reference) { return contrast(reference, parameter(), silentProgress()); }

TSatur::TSatur(QWidget *parent)
    : AdjustDialog(parent, QStringLiteral("Réglage de la saturation"), QStringLiteral("Saturation en %"),
                   QStringLiteral("Saturation"))
{
}
int TSatur::parameter() const { return SpinEdit1->value(); }
QImage TSatur::computePreview(const QImage &reference) { return saturation(reference, parameter(), silentProgress()); }

int TTeint::s_dominant = 0;

TTeint::TTeint(QWidget *parent)
    : AdjustDialog(parent, QStringLiteral("Réglage de la teinte"), QStringLiteral("Teinte en %"),
                   QStringLiteral("Teinte"))
{
}
int TTeint::parameter() const { return percentToOffset(SpinEdit1->value()); }
void TTeint::Result(int &code, int &offset) const
{
    code = s_dominant;
    offset = AdjustDialog::Result();
}
void TTeint::Dominante() { s_dominant = dominantChannel(referencePreview()); }
QImage TTeint::computePreview(const QImage &reference)
{
    return tint(reference, s_dominant, parameter(), silentProgress());
}
// The dominant channel is found once, as soon as the dialog is on the screen and
// before any preview can be asked for.
void TTeint::showEvent(QShowEvent *event)
{
    AdjustDialog::showEvent(event);
    Dominante();
}

TSolar::TSolar(QWidget *parent)
    : AdjustDialog(parent, QStringLiteral("Solariser"), QStringLiteral("Seuil"), QStringLiteral("Seuil"),
                   Ranges{int(kSolariseThreshold.low), int(kSolariseThreshold.high), int(kSolariseThreshold.start), 50})
{
}
int TSolar::parameter() const { return SpinEdit1->value(); }
QImage TSolar::computePreview(const QImage &reference) { return solarise(reference, parameter(), silentProgress()); }

} // namespace vermeo::colour
