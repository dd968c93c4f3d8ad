#include "ImageView.h"
#include "ImageDocument.h"

#include <QMouseEvent>
#include <QPainter>

namespace vermeo {

ImageView::ImageView(ImageDocument &doc, QWidget *parent) : QWidget(parent), m_doc(doc)
{
    setObjectName(QStringLiteral("Image1"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    pictureReplaced();
}

void ImageView::pictureReplaced()
{
    const QSize s = m_doc.image().isNull() ? QSize(200, 200) : m_doc.image().size();
    setFixedSize(s);
    update();
}

QSize ImageView::sizeHint() const { return m_doc.image().size(); }

void ImageView::paintEvent(QPaintEvent *e)
{
    // Only the exposed area is copied, so small changes cost little on big pictures.
    QPainter p(this);
    const QRect r = e->rect();
    if (!m_doc.image().isNull())
        p.drawImage(r.topLeft(), m_doc.image(), r);
}

// Events go out as they come; the mouse sequence of the window turns a press and a
// release into a click and knows the order after a double-click.
void ImageView::mousePressEvent(QMouseEvent *e)
{
    emit pressed(e->button(), e->modifiers(), e->buttons() | e->button(), e->position().toPoint());
}

void ImageView::mouseMoveEvent(QMouseEvent *e)
{
    emit moved(e->modifiers(), e->buttons(), e->position().toPoint());
}

void ImageView::mouseReleaseEvent(QMouseEvent *e)
{
    emit released(e->button(), e->modifiers(), e->buttons(), e->position().toPoint());
}

void ImageView::mouseDoubleClickEvent(QMouseEvent *e)
{
    emit doubleClicked(e->button(), e->modifiers(), e->buttons() | e->button(), e->position().toPoint());
}

} // namespace vermeo
