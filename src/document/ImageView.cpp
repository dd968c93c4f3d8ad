#include "ImageView.h"
#include "Figures.h"
#include "ImageDocument.h"
#include "MouseTools.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

namespace vermeo {

ImageView::ImageView(ImageDocument &doc, MouseSequence &mouse, QWidget *parent)
    : QWidget(parent),
      m_doc(doc),
      m_mouse(mouse)
{
    setObjectName(QStringLiteral("Image1"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    viewReplaced();
}

void ImageView::viewReplaced()
{
    const QSize s = m_doc.viewSize().isEmpty() ? QSize(200, 200) : m_doc.viewSize();
    setFixedSize(s);
    update();
}

QSize ImageView::sizeHint() const { return m_doc.viewSize(); }

void ImageView::paintEvent(QPaintEvent *e)
{
    {
        QPainter p(this);
        paintView(p, m_doc, e->region());
    }
    // The parts of a remade view not shown yet are made once this paint is on the screen.
    if (!m_doc.viewComplete())
        QTimer::singleShot(0, this, [this] { m_doc.completeView(); });
}

namespace {
ShiftState held(const QMouseEvent *e, Qt::MouseButtons buttons) { return ShiftState::from(e->modifiers(), buttons); }
} // namespace

void ImageView::mousePressEvent(QMouseEvent *e)
{
    const QPoint p = e->position().toPoint();
    run([&] { m_mouse.press(e->button(), held(e, e->buttons() | e->button()), p.x(), p.y()); });
}

void ImageView::mouseMoveEvent(QMouseEvent *e)
{
    const QPoint p = e->position().toPoint();
    run([&] { m_mouse.move(held(e, e->buttons()), p.x(), p.y()); });
}

void ImageView::mouseReleaseEvent(QMouseEvent *e)
{
    const QPoint p = e->position().toPoint();
    run([&] { m_mouse.release(e->button(), held(e, e->buttons()), p.x(), p.y()); });
}

void ImageView::mouseDoubleClickEvent(QMouseEvent *e)
{
    const QPoint p = e->position().toPoint();
    run([&] { m_mouse.doubleClick(e->button(), held(e, e->buttons() | e->button()), p.x(), p.y()); });
}

} // namespace vermeo
