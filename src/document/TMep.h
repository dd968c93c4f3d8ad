#pragma once
// "Mise en page": the four margins in millimetres and the print scale in percent.
#include <QDialog>

class QPushButton;
class QSpinBox;

namespace vermeo {

class TMep : public QDialog {
    Q_OBJECT
public:
    explicit TMep(QWidget *parent = nullptr);
    void Init(int left, int top, int right, int bottom, int scale);
    // Writes the boxes' values into the arguments when the dialog was accepted.
    void Result(int &left, int &top, int &right, int &bottom, int &scale) const;

    QSpinBox *SpinEdit1;  // left
    QSpinBox *SpinEdit2;  // top
    QSpinBox *SpinEdit3;  // right
    QSpinBox *SpinEdit4;  // bottom
    QSpinBox *SpinEdit5;  // scale
    QPushButton *Button1; // "Annuler"
    QPushButton *Button2; // "OK"

protected:
    void reject() override;

private:
    void Button1Click();
    void Button2Click();
};

} // namespace vermeo
