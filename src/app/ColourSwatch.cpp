#include "ColourSwatch.h"

#include <QMouseEvent>
#include <QPainter>

namespace vermeo {

ColourSwatch::ColourSwatch(TColour colour, QWidget *parent) : QFrame(parent), m_colour(colour)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
    setCursor(Qt::PointingHandCursor);
}

void ColourSwatch::setColour(TColour c)
{
    m_colour = c & 0xFFFFFFu;
    update();
}

void ColourSwatch::paintEvent(QPaintEvent *e)
{
    QFrame::paintEvent(e);
    QPainter p(this);
    p.fillRect(contentsRect(), toQColor(m_colour));
}

void ColourSwatch::mouseReleaseEvent(QMouseEvent *e)
{
    if (isEnabled() && rect().contains(e->position().toPoint()))
        emit clicked();
}

} // namespace vermeo
