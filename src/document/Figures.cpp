#include "Figures.h"
#include "PixelRows.h"
#include "Selection.h"
#include "ViewScaling.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygon>
#include <algorithm>
#include <cstdlib>

namespace vermeo {

namespace {

constexpr int kLastPolyIndex = 100; // PolyPts holds indices 0..100

// Tools whose rubber band runs from the press point to the mouse.
bool hasBand(int tool) { return tool <= tcRoundRect || isSelectionTool(tool); }

// The selection marker: one-pixel dotted outline, nothing filled.
void setMarkerPen(Canvas &c)
{
    c.setPenWidth(1);
    c.setPenStyle(psDot);
    c.setBrushStyle(bsClear);
}

// The outline of a figure as polylines in view coordinates.
QList<QPolygonF> outlineOf(int tool, QPoint from, QPoint to)
{
    if (tool == tcLine)
        return {QPolygonF({QPointF(from), QPointF(to)})};
    const QRect r = gdiRect(from.x(), from.y(), to.x(), to.y());
    QPainterPath path;
    const QRectF f(r.left(), r.top(), r.width(), r.height());
    if (tool == tcEllipse || tool == tcOvalSelection)
        path.addEllipse(f);
    else if (tool == tcRoundRect)
        path.addRoundedRect(f, std::abs(from.x() - to.x()) / 4.0, std::abs(from.y() - to.y()) / 4.0);
    else
        path.addRect(f);
    return path.toSubpathPolygons();
}

// Small rectangles along the polylines, each widened by margin; straight runs along an
// axis stay one thin strip.
QRegion stripsAlong(const QList<QPolygonF> &lines, int margin)
{
    constexpr qreal kPiece = 32;
    struct Box {
        qreal l, t, r, b;
        void add(QPointF p)
        {
            l = std::min(l, p.x()), t = std::min(t, p.y()), r = std::max(r, p.x()), b = std::max(b, p.y());
        }
        QRect widened(int m) const
        {
            return QRectF(QPointF(l, t), QPointF(r, b)).toAlignedRect().adjusted(-m, -m, m + 1, m + 1);
        }
    };
    QRegion region;
    for (const QPolygonF &line : lines) {
        if (line.isEmpty())
            continue;
        Box piece{line[0].x(), line[0].y(), line[0].x(), line[0].y()};
        for (int i = 1; i < line.size(); ++i) {
            Box grown = piece;
            grown.add(line[i]);
            if (grown.r - grown.l > kPiece && grown.b - grown.t > kPiece) {
                region += piece.widened(margin);
                piece = Box{line[i - 1].x(), line[i - 1].y(), line[i - 1].x(), line[i - 1].y()};
                piece.add(line[i]);
            } else {
                piece = grown;
            }
        }
        region += piece.widened(margin);
    }
    return region;
}

QRegion figureRegion(int tool, QPoint from, QPoint to, int penWidth, bool filled)
{
    const int margin = penWidth / 2 + 2;
    if (filled && tool != tcLine)
        return QRegion(gdiRect(from.x(), from.y(), to.x(), to.y()).adjusted(-margin, -margin, margin, margin));
    return stripsAlong(outlineOf(tool, from, to), margin);
}

bool bandShown(const ImageDocument &doc) { return doc.ButtonDown && doc.BandShown && hasBand(doc.Tool); }
bool ghostShown(const ImageDocument &doc)
{
    return doc.FloatingPaste && !doc.FirstFloatMove && !doc.PasteBitmap.isNull();
}

constexpr int kStampMarkArm = 6; // the source mark's cross reaches this far from its point

bool stampMarkShown(const ImageDocument &doc) { return doc.Tool == tcStamp && !doc.PipetteMode; }

// A cross with an open centre, inverted, so the source pixel itself stays in sight.
void invertStampMark(QImage &out, QPoint origin, QPoint source)
{
    const QRect area = QRect(QPoint(0, 0), out.size());
    for (int d = -kStampMarkArm; d <= kStampMarkArm; ++d) {
        if (std::abs(d) < 2)
            continue;
        for (const QPoint p : {source + QPoint(d, 0), source + QPoint(0, d)}) {
            const QPoint at = p - origin;
            if (area.contains(at)) {
                QRgb *px = rowOf(out, at.y()) + at.x();
                *px = ~*px | 0xFF000000u;
            }
        }
    }
}

// The floating paste as the view shows it; made once per paste and zoom, not per repaint.
const QImage &ghostImage(const ImageDocument &doc)
{
    static QImage made;
    static qint64 madeFrom = 0;
    const QSize size = selection::ghostSize(doc);
    if (size == doc.PasteBitmap.size())
        return doc.PasteBitmap;
    if (made.size() != size || madeFrom != doc.PasteBitmap.cacheKey()) {
        made = scaledView(doc.PasteBitmap, size.width(), size.height());
        madeFrom = doc.PasteBitmap.cacheKey();
    }
    return made;
}

// Inverts the pixels of out (the view area at origin) that the figure covers.
void invertUnderFigure(QImage &out, QPoint origin, const Canvas &attributes, bool marker, const ImageDocument &doc,
                       int tool, QPoint from, QPoint to)
{
    QImage scratch(out.size(), QImage::Format_ARGB32_Premultiplied);
    scratch.fill(Qt::transparent);
    Canvas c = attributes;
    c.setTarget(&scratch);
    c.setCoverage(nullptr);
    c.setBeforeWrite({});
    c.setPenMode(PenMode::Copy);
    if (marker)
        setMarkerPen(c);
    drawFigure(c, doc, tool, from - origin, to - origin);
    for (int y = 0; y < out.height(); ++y) {
        const QRgb *s = rowOf(scratch, y);
        QRgb *d = rowOf(out, y);
        for (int x = 0; x < out.width(); ++x)
            if (qAlpha(s[x]))
                d[x] = ~d[x] | 0xFF000000u;
    }
}

} // namespace

void drawFigure(Canvas &c, const ImageDocument &doc, int tool, QPoint from, QPoint to)
{
    switch (tool) {
    case tcLine:
        c.MoveTo(from.x(), from.y());
        c.LineTo(to.x(), to.y());
        break;
    case tcRectangle:
    case tcRectSelection: c.Rectangle(from.x(), from.y(), to.x(), to.y()); break;
    case tcEllipse:
    case tcOvalSelection: c.Ellipse(from.x(), from.y(), to.x(), to.y()); break;
    case tcRoundRect:
        // The corners are as large as half the figure.
        c.RoundRect(from.x(), from.y(), to.x(), to.y(), (from.x() - to.x()) / 2, (from.y() - to.y()) / 2);
        break;
    case tcPolygon: {
        const int last = std::clamp(doc.PolyCount, 0, kLastPolyIndex);
        QPolygon pts;
        for (int i = 0; i <= last; ++i)
            pts << doc.PolyPts[i];
        if (c.brushStyle() == bsClear)
            c.Polyline(pts);
        else
            c.Polygon(pts);
        break;
    }
    default: break;
    }
}

void DrawShape(ImageDocument &doc, QPoint from, QPoint to, PenMode mode)
{
    Canvas &c = doc.canvas();
    c.setPenMode(mode);
    drawFigure(c, doc, doc.Tool, from, to);
}

QRect stampMarkArea(const ImageDocument &doc)
{
    const QPoint arm(kStampMarkArm, kStampMarkArm);
    return QRect(doc.StampSource - arm, doc.StampSource + arm);
}

QRegion marksRegion(const ImageDocument &doc)
{
    QRegion region;
    if (stampMarkShown(doc))
        region += stampMarkArea(doc);
    if (bandShown(doc)) {
        const Canvas &c = doc.canvas();
        const bool selecting = isSelectionTool(doc.Tool);
        region += figureRegion(doc.Tool, doc.StartPt, doc.CurPt, selecting ? 1 : c.penWidth(),
                               !selecting && c.brushStyle() != bsClear);
    }
    if (doc.RectSelected || doc.OvalSelected)
        region += figureRegion(doc.OvalSelected ? tcOvalSelection : tcRectSelection, doc.SelRect.topLeft(),
                               doc.SelRect.bottomRight(), 1, false);
    if (ghostShown(doc))
        region += QRect(doc.StartPt, selection::ghostSize(doc));
    return region.intersected(doc.viewRect());
}

QImage viewWithMarks(const ImageDocument &doc, const QRect &r)
{
    QImage out = doc.viewPart(r).copy(r);
    if (out.isNull())
        return out;
    if (ghostShown(doc)) {
        // The paste floats inverted: each pixel is the paste xor the picture.
        const QImage &paste = ghostImage(doc);
        const QRect ghost = QRect(doc.StartPt, paste.size()).intersected(r);
        for (int y = ghost.top(); y <= ghost.bottom(); ++y) {
            const QRgb *s = rowOf(paste, y - doc.StartPt.y()) + (ghost.left() - doc.StartPt.x());
            QRgb *d = rowOf(out, y - r.top()) + (ghost.left() - r.left());
            for (int x = 0; x < ghost.width(); ++x)
                d[x] = (d[x] ^ s[x]) | 0xFF000000u;
        }
    }
    if (bandShown(doc))
        invertUnderFigure(out, r.topLeft(), doc.canvas(), isSelectionTool(doc.Tool), doc, doc.Tool, doc.StartPt,
                          doc.CurPt);
    if (doc.RectSelected || doc.OvalSelected)
        invertUnderFigure(out, r.topLeft(), doc.canvas(), true, doc,
                          doc.OvalSelected ? tcOvalSelection : tcRectSelection, doc.SelRect.topLeft(),
                          doc.SelRect.bottomRight());
    if (stampMarkShown(doc))
        invertStampMark(out, r.topLeft(), doc.StampSource);
    return out;
}

void paintView(QPainter &p, const ImageDocument &doc, const QRegion &region)
{
    const QRect whole = doc.viewRect();
    if (whole.isEmpty())
        return;
    const QRegion marks = marksRegion(doc);
    for (const QRect &r : region) {
        const QRect area = r.intersected(whole);
        if (area.isEmpty())
            continue;
        if (marks.intersects(area))
            p.drawImage(area.topLeft(), viewWithMarks(doc, area));
        else
            p.drawImage(area.topLeft(), doc.viewPart(area), area);
    }
}

} // namespace vermeo
