#pragma once
// A clickable colour panel (the pen and fill swatches, the palette bar, dialog swatches).
#include "ColorValue.h"

#include <QFrame>

namespace vermeo {

class ColourSwatch : public QFrame {
    Q_OBJECT
public:
    explicit ColourSwatch(TColor colour = clWhite, QWidget *parent = nullptr);
    TColor colour() const { return m_colour; }
    void setColour(TColor c);

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;

private:
    TColor m_colour;
};

} // namespace vermeo
