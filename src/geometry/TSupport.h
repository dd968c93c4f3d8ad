#pragma once
// "Agrandir le support": the new canvas size (never smaller than the picture) and
// whether the picture is centred on it.
#include <QDialog>

class QCheckBox;
class QPushButton;
class QSpinBox;

namespace vermeo {

class TSupport : public QDialog {
    Q_OBJECT
public:
    explicit TSupport(QWidget *parent = nullptr);

    void Init(int width, int height);
    // Width 0 unless accepted; the values are clamped into the spin edits' ranges.
    void Result(int &width, int &height, bool &centre) const;
    void Button1Click(); // Annuler
    void Button2Click(); // OK

    static constexpr int kMaxSize = 2000;

    QSpinBox *SpinEdit1;
    QSpinBox *SpinEdit2;
    QCheckBox *CheckBox1;
    QPushButton *Button1;
    QPushButton *Button2;

private:
    bool m_accepted = false;
};

} // namespace vermeo
