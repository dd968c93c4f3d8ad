#pragma once
// "Déformations": the skew's angle (0..45 degrees) and the side it leans to.
#include <QDialog>

class QPushButton;
class QSpinBox;
class QToolButton;

namespace vermeo {

class TDeformer : public QDialog {
    Q_OBJECT
public:
    explicit TDeformer(QWidget *parent = nullptr);

    // direction 0 unless accepted; otherwise 1 "A gauche", 2 "A droite", 3 "En haut",
    // 4 "En bas"; angle is the spin value.
    void Result(int &angle, int &direction) const;
    void Button1Click(); // Annuler
    void Button2Click(); // OK

    QSpinBox *SpinEdit1;
    QToolButton *SpeedButton1;
    QToolButton *SpeedButton2;
    QToolButton *SpeedButton3;
    QToolButton *SpeedButton4;
    QPushButton *Button1;
    QPushButton *Button2;

private:
    bool m_accepted = false;
};

} // namespace vermeo
