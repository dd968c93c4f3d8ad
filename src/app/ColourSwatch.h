#pragma once
// A clickable colour panel (the pen and fill swatches, the palette bar, dialog swatches).
#include "ColourValue.h"

#include <QFrame>

namespace vermeo {

class ColourSwatch : public QFrame {
    Q_OBJECT
public:
    explicit ColourSwatch(TColour colour = clWhite, QWidget *parent = nullptr);
    TColour colour() const { return m_colour; }
    void setColour(TColour c);

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;

private:
    TColour m_colour;
};

} // namespace vermeo
