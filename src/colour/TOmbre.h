#pragma once
// The shadow dialog: length 1..10 and the side the shadow falls on.
#include "AdjustDialog.h"

class QRadioButton;
class QSpinBox;
class QLabel;

namespace vermeo::colour {

class TOmbre : public PreviewDialog {
    Q_OBJECT
public:
    explicit TOmbre(QWidget *parent = nullptr);
    // The length (0 unless accepted); the side code is written only when accepted.
    void Result(int &length, int &side) const;
    int checkedSide() const;

    QSpinBox *SpinEdit1 = nullptr;
    QLabel *Label2 = nullptr;
    QRadioButton *RadioButton1 = nullptr, *RadioButton2 = nullptr, *RadioButton3 = nullptr,
                 *RadioButton4 = nullptr; // Gauche, Droite, Haut, Bas

protected:
    QImage computePreview(const QImage &reference) override;
    void resetControls() override; // the side stays as it is
};

} // namespace vermeo::colour
