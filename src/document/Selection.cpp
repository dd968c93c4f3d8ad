#include "Selection.h"
#include "Figures.h"
#include "ViewScaling.h"

namespace vermeo::selection {

namespace {
void end(ImageDocument &doc, DocumentHost &host, bool oval)
{
    changeMarks(doc, [&] { (oval ? doc.OvalSelected : doc.RectSelected) = false; });
    doc.Tool = doc.PrevTool;
    host.setCursorShape(Qt::ArrowCursor);
}
} // namespace

void Deselectionne(ImageDocument &doc, DocumentHost &host) { end(doc, host, false); }
void Deselectionne2(ImageDocument &doc, DocumentHost &host) { end(doc, host, true); }

void endSelection(ImageDocument &doc, DocumentHost &host)
{
    if (doc.RectSelected)
        Deselectionne(doc, host);
    if (doc.OvalSelected)
        Deselectionne2(doc, host);
}

QRect viewArea(const ImageDocument &doc)
{
    const QRect &r = doc.SelRect;
    return gdiRect(r.left(), r.top(), r.right(), r.bottom());
}

QRect pictureArea(const ImageDocument &doc)
{
    const QRect v = viewArea(doc);
    if (doc.zoomLevel() == 0 || v.isEmpty())
        return v;
    return pictureAreaOf(v, doc.view().size(), doc.image().size());
}

void floatMove(ImageDocument &doc, int x, int y)
{
    changeMarks(doc, [&] {
        doc.StartPt = QPoint(x - doc.PasteBitmap.width() / 2, y - doc.PasteBitmap.height() / 2);
        doc.FirstFloatMove = false;
    });
}

void dropPaste(ImageDocument &doc, DocumentHost &host)
{
    // Where the ghost was last shown; with no move since the paste, centred on the click.
    const QPoint at = doc.FirstFloatMove
                          ? doc.CurPt - QPoint(doc.PasteBitmap.width() / 2, doc.PasteBitmap.height() / 2)
                          : doc.StartPt;
    changeMarks(doc, [&] { doc.FloatingPaste = false; });
    doc.StartPt = at;
    Canvas &c = doc.canvas();
    const CopyMode keep = c.copyMode();
    c.setCopyMode(CopyMode::SrcCopy);
    c.Draw(at.x(), at.y(), doc.PasteBitmap);
    c.setCopyMode(keep);
    host.setCursorShape(Qt::ArrowCursor);
    doc.flush();
}

} // namespace vermeo::selection
