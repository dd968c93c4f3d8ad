#pragma once
// "Rotation": a quarter turn either way, a half turn, or any whole number of degrees.
#include <QDialog>

class QPushButton;
class QRadioButton;
class QSpinBox;

namespace vermeo {

class TRot : public QDialog {
    Q_OBJECT
public:
    explicit TRot(QWidget *parent = nullptr);

    // choice 0 unless accepted; otherwise 1 "90° gauche", 2 "90° droite", 3 "180°",
    // 4 "Autre"; angle is the spin value.
    void Result(int &choice, int &angle) const;
    void Button1Click(); // Annuler
    void Button2Click(); // OK

    QRadioButton *RadioButton1;
    QRadioButton *RadioButton2;
    QRadioButton *RadioButton3;
    QRadioButton *RadioButton4;
    QSpinBox *SpinEdit1;
    QPushButton *Button1;
    QPushButton *Button2;

protected:
    void showEvent(QShowEvent *event) override; // FormShow

private:
    bool m_accepted = false;
};

} // namespace vermeo
