#include "ToolCursors.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>

namespace vermeo {

namespace {

constexpr int kSide = 32;

// A cursor picture: black strokes outlined in white, so it shows on any picture.
QCursor drawnCursor(QPoint hotSpot, const std::function<void(QPainter &)> &draw)
{
    QPixmap pix(kSide, kSide);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::white, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::white);
    draw(p);
    p.setPen(QPen(Qt::black, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    draw(p);
    p.end();
    return QCursor(pix, hotSpot.x(), hotSpot.y());
}

QCursor penCursor()
{
    // A pencil leaning right, its point at the bottom left where it draws.
    return drawnCursor({1, 30}, [](QPainter &p) {
        p.drawPolygon(QPolygonF({QPointF(1, 30), QPointF(4, 21), QPointF(22, 3), QPointF(28, 9), QPointF(10, 27)}));
        p.drawLine(QPointF(4, 21), QPointF(10, 27));
        p.drawLine(QPointF(19, 6), QPointF(25, 12));
    });
}

QCursor eraserCursor()
{
    return drawnCursor({4, 26}, [](QPainter &p) {
        p.drawPolygon(QPolygonF({QPointF(4, 26), QPointF(18, 12), QPointF(28, 22), QPointF(20, 30), QPointF(8, 30)}));
        p.drawLine(QPointF(11, 19), QPointF(21, 29));
    });
}

QCursor bucketCursor()
{
    // A tipped pail with paint running from its mouth; the drop is the point filled from.
    return drawnCursor({3, 29}, [](QPainter &p) {
        p.drawPolygon(QPolygonF({QPointF(8, 12), QPointF(18, 2), QPointF(30, 14), QPointF(20, 24)}));
        p.drawLine(QPointF(13, 7), QPointF(25, 19));
        QPainterPath drip;
        drip.moveTo(8, 12);
        drip.cubicTo(3, 16, 2, 22, 3, 29);
        p.drawPath(drip);
    });
}

QCursor pipetteCursor()
{
    return drawnCursor({1, 30}, [](QPainter &p) {
        p.drawLine(QPointF(1, 30), QPointF(16, 15));
        p.drawPolygon(QPolygonF({QPointF(14, 13), QPointF(19, 18), QPointF(23, 14), QPointF(18, 9)}));
        p.drawEllipse(QPointF(24, 7), 5, 5);
    });
}

QCursor sprayCursor()
{
    // A can with its nozzle at the top left, and a few dots of paint where it sprays.
    return drawnCursor({2, 2}, [](QPainter &p) {
        p.drawRect(QRectF(14, 12, 12, 18));
        p.drawRect(QRectF(17, 7, 6, 5));
        p.drawLine(QPointF(17, 9), QPointF(11, 9));
        for (QPointF dot : {QPointF(2, 2), QPointF(7, 3), QPointF(3, 7), QPointF(8, 8), QPointF(5, 12)})
            p.drawEllipse(dot, 0.8, 0.8);
    });
}

} // namespace

CursorKind cursorKindOf(const ImageDocument &doc)
{
    if (doc.PipetteMode)
        return CursorKind::Pipette;
    switch (doc.Tool) {
    case tcPencil: return CursorKind::Pen;
    case tcEraser: return CursorKind::Eraser;
    case tcFill: return CursorKind::Bucket;
    case tcText: return CursorKind::Text;
    case tcSpray: return CursorKind::Spray;
    default: return CursorKind::Cross; // shapes, polygon, selections, stamp: a precise point
    }
}

QCursor toolCursor(CursorKind kind)
{
    switch (kind) {
    case CursorKind::Pen: {
        static const QCursor c = penCursor();
        return c;
    }
    case CursorKind::Eraser: {
        static const QCursor c = eraserCursor();
        return c;
    }
    case CursorKind::Bucket: {
        static const QCursor c = bucketCursor();
        return c;
    }
    case CursorKind::Pipette: {
        static const QCursor c = pipetteCursor();
        return c;
    }
    case CursorKind::Spray: {
        static const QCursor c = sprayCursor();
        return c;
    }
    case CursorKind::Text: return QCursor(Qt::IBeamCursor);
    case CursorKind::Cross: break;
    }
    return QCursor(Qt::CrossCursor);
}

} // namespace vermeo
