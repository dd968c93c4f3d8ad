#pragma once
// "Cadre": thickness and colour of the frame drawn round the picture.
#include "ColourValue.h"

#include <QDialog>

class QFrame;
class QPushButton;
class QSpinBox;

namespace vermeo {

class TCadre : public QDialog {
    Q_OBJECT
public:
    explicit TCadre(QWidget *parent = nullptr);

    void Init(TColour colour);
    // Thickness 0 unless accepted.
    void Result(int &thickness, TColour &colour) const;
    void Panel1Click();  // opens the colour dialog on the swatch colour
    void Button1Click(); // Annuler
    void Button2Click(); // OK
    TColour swatchColour() const { return m_colour; }

    QSpinBox *SpinEdit1;
    QFrame *Panel1;
    QPushButton *Button1;
    QPushButton *Button2;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void paintSwatch();
    TColour m_colour = clBlack;
    bool m_accepted = false;
};

} // namespace vermeo
