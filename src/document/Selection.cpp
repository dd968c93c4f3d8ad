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
    return pictureAreaOf(v, doc.viewSize(), doc.image().size());
}

namespace {
// floor(a * num / den) for a of either sign.
int scaledDown(int a, int num, int den)
{
    const long long p = (long long)a * num;
    return int(p >= 0 ? p / den : -((-p + den - 1) / den));
}
} // namespace

void drawIntoPicture(ImageDocument &doc, QPoint at, const QImage &bitmap)
{
    Canvas c = doc.pictureCanvas();
    c.setCopyMode(CopyMode::SrcCopy);
    c.Draw(at.x(), at.y(), bitmap);
    doc.pixelsChanged(c.takeDirty());
}

QSize ghostSize(const ImageDocument &doc)
{
    const QSize p = doc.PasteBitmap.size();
    if (doc.zoomLevel() == 0 || p.isEmpty())
        return p;
    return QSize(std::max(1, int((long long)p.width() * doc.viewWidth() / doc.width())),
                 std::max(1, int((long long)p.height() * doc.viewHeight() / doc.height())));
}

QPoint picturePointOf(const ImageDocument &doc, QPoint v)
{
    if (doc.zoomLevel() == 0)
        return v;
    return QPoint(scaledDown(v.x(), doc.width(), doc.viewWidth()), scaledDown(v.y(), doc.height(), doc.viewHeight()));
}

void floatMove(ImageDocument &doc, int x, int y)
{
    const QSize g = ghostSize(doc);
    changeMarks(doc, [&] {
        doc.StartPt = QPoint(x - g.width() / 2, y - g.height() / 2);
        doc.FirstFloatMove = false;
    });
}

void cancelPaste(ImageDocument &doc, DocumentHost &host)
{
    changeMarks(doc, [&] { doc.FloatingPaste = false; });
    host.setCursorShape(Qt::ArrowCursor);
}

void dropPaste(ImageDocument &doc, DocumentHost &host)
{
    // Where the ghost was last shown; with no move since the paste, centred on the click.
    const QSize g = ghostSize(doc);
    const QPoint at = doc.FirstFloatMove ? doc.CurPt - QPoint(g.width() / 2, g.height() / 2) : doc.StartPt;
    changeMarks(doc, [&] { doc.FloatingPaste = false; });
    doc.StartPt = at;
    // Drawn at actual size: the paste keeps every picture pixel that was copied.
    drawIntoPicture(doc, picturePointOf(doc, at), doc.PasteBitmap);
    host.setCursorShape(Qt::ArrowCursor);
}

} // namespace vermeo::selection
