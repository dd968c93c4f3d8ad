#include "Selection.h"

namespace vermeo::selection {

void drawMarker(ImageDocument &doc, bool oval)
{
    Canvas &c = doc.canvas();
    const PenMode mode = c.penMode();
    const int width = c.penWidth(), style = c.penStyle(), brush = c.brushStyle();
    c.setPenMode(PenMode::NotXor);
    c.setPenWidth(1);
    c.setPenStyle(psDot);
    c.setBrushStyle(bsClear);
    const QRect &r = doc.SelRect;
    if (oval)
        c.Ellipse(r.left(), r.top(), r.right(), r.bottom());
    else
        c.Rectangle(r.left(), r.top(), r.right(), r.bottom());
    c.setPenMode(mode);
    c.setPenWidth(width);
    c.setPenStyle(style);
    c.setBrushStyle(brush);
    doc.flush();
}

namespace {
void endSelection(ImageDocument &doc, DocumentHost &host, bool oval)
{
    // The marker pen: brush clear while it is drawn, then the saved styles return.
    drawMarker(doc, oval);
    doc.RestoreStyles();
    doc.canvas().setPenMode(PenMode::Copy);
    (oval ? doc.OvalSelected : doc.RectSelected) = false;
    host.setCursorShape(Qt::ArrowCursor);
}
} // namespace

void Deselectionne(ImageDocument &doc, DocumentHost &host) { endSelection(doc, host, false); }
void Deselectionne2(ImageDocument &doc, DocumentHost &host) { endSelection(doc, host, true); }

void floatMove(ImageDocument &doc, int x, int y)
{
    Canvas &c = doc.canvas();
    const CopyMode keep = c.copyMode();
    c.setCopyMode(CopyMode::SrcInvert);
    if (!doc.FirstFloatMove)
        c.Draw(doc.StartPt.x(), doc.StartPt.y(), doc.PasteBitmap); // removes the previous ghost
    doc.StartPt = QPoint(x - doc.PasteBitmap.width() / 2, y - doc.PasteBitmap.height() / 2);
    c.Draw(doc.StartPt.x(), doc.StartPt.y(), doc.PasteBitmap);
    doc.FirstFloatMove = false;
    c.setCopyMode(keep);
    doc.flush();
}

void dropPaste(ImageDocument &doc, DocumentHost &host)
{
    Canvas &c = doc.canvas();
    // The ghost is taken away first, so that the plain bitmap is all that remains
    // even where the bitmap has pixels that inverting twice would not give back.
    if (!doc.FirstFloatMove) {
        c.setCopyMode(CopyMode::SrcInvert);
        c.Draw(doc.StartPt.x(), doc.StartPt.y(), doc.PasteBitmap);
    }
    doc.StartPt = doc.CurPt - QPoint(doc.PasteBitmap.width() / 2, doc.PasteBitmap.height() / 2);
    c.setCopyMode(CopyMode::SrcCopy);
    c.Draw(doc.StartPt.x(), doc.StartPt.y(), doc.PasteBitmap);
    doc.FloatingPaste = false;
    host.setCursorShape(Qt::ArrowCursor);
    doc.flush();
}

} // namespace vermeo::selection
