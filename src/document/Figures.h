#pragma once
// The figures of the shape tools, and the marks the window draws over the view: the
// rubber band of a figure being dragged, the dotted outline of the selection, the
// ghost of a floating paste. The marks never get into the picture; they invert what
// is under them, so they show whatever the pen colour.
#include "ImageDocument.h"

#include <QImage>
#include <QRegion>

class QPainter;

namespace vermeo {

// The tool's figure between two points on a surface, in the surface's pen and brush:
// line, rectangle, ellipse, rounded rectangle, or the document's polygon; nothing for
// the other tools. The selection tools draw their rectangle and ellipse.
void drawFigure(Canvas &c, const ImageDocument &doc, int tool, QPoint from, QPoint to);

// The current tool's figure on the document's surface, in the given pen mode.
void DrawShape(ImageDocument &doc, QPoint from, QPoint to, PenMode mode);

// The mark of the stamp's source point, shown while the stamp is the tool.
QRect stampMarkArea(const ImageDocument &doc);

// The view area the marks cover now (small strips along outlines, so that a band over
// the whole picture repaints no more than its outline).
QRegion marksRegion(const ImageDocument &doc);
// The area r of the view with the marks over it.
QImage viewWithMarks(const ImageDocument &doc, const QRect &r);
// Paints the region of the view, marks included, with p (at the view's own coordinates):
// only what is exposed is converted and drawn.
void paintView(QPainter &p, const ImageDocument &doc, const QRegion &region);

// Changes the marks through change() and repaints where they were and where they are.
template <class Change>
void changeMarks(ImageDocument &doc, Change change)
{
    const QRegion before = marksRegion(doc);
    change();
    doc.repaint(before + marksRegion(doc));
}

} // namespace vermeo
