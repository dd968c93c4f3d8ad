#include "Icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace vermeo {

namespace {

void drawGlyph(QPainter &p, const QString &n)
{
    const QColor ink(30, 30, 30);
    QPen pen(ink, 1.4);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    if (n == "new") {
        p.setBrush(Qt::white);
        p.drawPolygon(QPolygonF({{5, 2}, {13, 2}, {17, 6}, {17, 18}, {5, 18}}));
        p.drawPolyline(QPolygonF({{13, 2}, {13, 6}, {17, 6}}));
    } else if (n == "open") {
        p.setBrush(QColor(240, 200, 90));
        p.drawPolygon(QPolygonF({{2, 6}, {7, 6}, {9, 8}, {17, 8}, {17, 17}, {2, 17}}));
    } else if (n == "save") {
        p.setBrush(QColor(70, 110, 190));
        p.drawRect(QRectF(3, 3, 14, 14));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(6, 3, 8, 5));
        p.drawRect(QRectF(6, 11, 8, 6));
    } else if (n == "print" || n == "preview") {
        p.setBrush(Qt::white);
        p.drawRect(QRectF(6, 2, 8, 6));
        p.setBrush(QColor(160, 160, 160));
        p.drawRect(QRectF(2, 8, 16, 7));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(6, 13, 8, 5));
        if (n == "preview") {
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(QColor(20, 80, 200), 2));
            p.drawEllipse(QRectF(9, 9, 7, 7));
            p.drawLine(QPointF(15, 15), QPointF(19, 19));
        }
    } else if (n == "undo") {
        QPainterPath path;
        path.moveTo(16, 15);
        path.cubicTo(16, 6, 9, 5, 5, 9);
        p.setPen(QPen(ink, 2));
        p.drawPath(path);
        p.setBrush(ink);
        p.drawPolygon(QPolygonF({{2, 5}, {8, 12}, {2, 12}}));
    } else if (n == "cut") {
        p.drawEllipse(QRectF(3, 12, 5, 5));
        p.drawEllipse(QRectF(12, 12, 5, 5));
        p.drawLine(QPointF(7, 12), QPointF(14, 2));
        p.drawLine(QPointF(13, 12), QPointF(6, 2));
    } else if (n == "copy") {
        p.setBrush(Qt::white);
        p.drawRect(QRectF(3, 3, 9, 11));
        p.drawRect(QRectF(8, 7, 9, 11));
    } else if (n == "paste") {
        p.setBrush(QColor(200, 160, 100));
        p.drawRect(QRectF(3, 4, 12, 14));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(8, 8, 9, 10));
        p.drawRect(QRectF(6, 2, 6, 3));
    } else if (n == "select" || n == "ovalselect") {
        p.setPen(QPen(ink, 1, Qt::DotLine));
        if (n == "select")
            p.drawRect(QRectF(3, 4, 14, 12));
        else
            p.drawEllipse(QRectF(2, 4, 16, 12));
    } else if (n == "bold" || n == "italic" || n == "underline") {
        QFont f(QStringLiteral("DejaVu Serif"));
        f.setPixelSize(15);
        f.setBold(n == "bold");
        f.setItalic(n == "italic");
        f.setUnderline(n == "underline");
        p.setFont(f);
        p.drawText(QRectF(0, 0, 20, 20), Qt::AlignCenter,
                   n == "bold"     ? QStringLiteral("G")
                   : n == "italic" ? QStringLiteral("I")
                                   : QStringLiteral("S"));
    } else if (n == "zoomin" || n == "zoomout") {
        p.setPen(QPen(ink, 1.6));
        p.drawEllipse(QRectF(3, 3, 10, 10));
        p.drawLine(QPointF(12, 12), QPointF(18, 18));
        p.drawLine(QPointF(5.5, 8), QPointF(10.5, 8));
        if (n == "zoomin")
            p.drawLine(QPointF(8, 5.5), QPointF(8, 10.5));
    } else if (n == "histogram") {
        p.setPen(Qt::NoPen);
        const int h[] = {6, 11, 15, 9, 4};
        const QColor c[] = {Qt::red, QColor(0, 150, 0), Qt::blue, Qt::red, QColor(0, 150, 0)};
        for (int i = 0; i < 5; ++i) {
            p.setBrush(c[i]);
            p.drawRect(QRectF(2 + i * 3.4, 18 - h[i], 2.8, h[i]));
        }
    } else if (n == "pencil") {
        p.setBrush(QColor(240, 190, 60));
        p.drawPolygon(QPolygonF({{4, 16}, {5, 12}, {14, 3}, {17, 6}, {8, 15}}));
    } else if (n == "line") {
        p.setPen(QPen(ink, 1.8));
        p.drawLine(QPointF(3, 17), QPointF(17, 3));
    } else if (n == "rectangle") {
        p.drawRect(QRectF(3, 5, 14, 10));
    } else if (n == "ellipse") {
        p.drawEllipse(QRectF(2, 4, 16, 12));
    } else if (n == "roundrect") {
        p.drawRoundedRect(QRectF(3, 5, 14, 10), 4, 4);
    } else if (n == "fill") {
        p.setBrush(QColor(60, 120, 220));
        p.drawPolygon(QPolygonF({{4, 9}, {10, 3}, {16, 9}, {10, 15}}));
        p.drawEllipse(QRectF(15, 12, 3, 5));
    } else if (n == "eraser") {
        p.setBrush(QColor(240, 140, 160));
        p.drawPolygon(QPolygonF({{3, 13}, {10, 6}, {16, 12}, {11, 17}, {6, 17}}));
    } else if (n == "polygon") {
        p.drawPolygon(QPolygonF({{3, 15}, {6, 4}, {13, 7}, {17, 16}, {10, 12}}));
    } else if (n == "text") {
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setPixelSize(16);
        f.setBold(true);
        p.setFont(f);
        p.drawText(QRectF(0, 0, 20, 20), Qt::AlignCenter, QStringLiteral("A"));
    } else if (n == "spray") {
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        const QPointF dots[] = {{10, 10}, {7, 8}, {13, 7}, {12, 13}, {6, 12}, {9, 5}, {15, 11}, {9, 15}, {4, 9}};
        for (const auto &d : dots)
            p.drawEllipse(d, 1.0, 1.0);
    } else if (n == "stamp") {
        p.setBrush(QColor(150, 90, 60));
        p.drawRect(QRectF(8, 2, 4, 8));
        p.drawRect(QRectF(4, 10, 12, 4));
        p.drawLine(QPointF(3, 17), QPointF(17, 17));
    } else if (n == "pipette") {
        p.setPen(QPen(ink, 2));
        p.drawLine(QPointF(4, 16), QPointF(13, 7));
        p.setBrush(ink);
        p.drawEllipse(QRectF(12, 3, 5, 5));
    } else if (n == "swap") {
        p.drawLine(QPointF(4, 6), QPointF(14, 6));
        p.drawLine(QPointF(6, 14), QPointF(16, 14));
        p.drawPolyline(QPolygonF({{11, 3}, {14, 6}, {11, 9}}));
        p.drawPolyline(QPolygonF({{9, 11}, {6, 14}, {9, 17}}));
    } else if (n.startsWith("pen")) {
        static const Qt::PenStyle styles[] = {Qt::SolidLine,   Qt::DashLine,       Qt::DotLine,
                                              Qt::DashDotLine, Qt::DashDotDotLine, Qt::NoPen};
        const int i = n.mid(3).toInt();
        if (i == 5) {
            p.setPen(QPen(QColor(170, 170, 170), 1, Qt::DotLine));
            p.drawRect(QRectF(3, 6, 14, 8));
        } else {
            p.setPen(QPen(ink, 1, styles[i]));
            p.drawLine(QPointF(2, 10.5), QPointF(18, 10.5));
        }
    } else if (n.startsWith("brush")) {
        static const Qt::BrushStyle styles[] = {Qt::SolidPattern, Qt::NoBrush,         Qt::HorPattern,
                                                Qt::VerPattern,   Qt::BDiagPattern,    Qt::FDiagPattern,
                                                Qt::CrossPattern, Qt::DiagCrossPattern};
        const int i = n.mid(5).toInt();
        p.setBrush(QBrush(ink, styles[i]));
        p.drawRect(QRectF(3, 3, 14, 14));
    }
}

} // namespace

QIcon glyph(const QString &name)
{
    QIcon icon;
    for (int scale : {1, 2}) {
        QPixmap pm(20 * scale, 20 * scale);
        pm.setDevicePixelRatio(scale);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        drawGlyph(p, name);
        icon.addPixmap(pm);
    }
    return icon;
}

} // namespace vermeo
