#pragma once
// "Nouveau": the size and background colour of a blank picture.
#include "ColourValue.h"

#include <QDialog>

class QSpinBox;
class QPushButton;

namespace vermeo {

class ColourSwatch;

class TNouveau : public QDialog {
    Q_OBJECT
public:
    explicit TNouveau(QWidget *parent = nullptr);
    // Width 0 when the dialog was not closed with "OK".
    void Result(int &width, int &height, TColour &colour) const;

    QSpinBox *SpinEdit1;
    QSpinBox *SpinEdit2;
    ColourSwatch *Panel1;
    QPushButton *Button1;
    QPushButton *Button2;

protected:
    void showEvent(QShowEvent *e) override;

private:
    void Button2Click();
    void Button1Click();
    void Panel1Click();
};

} // namespace vermeo
