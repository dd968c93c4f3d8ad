#include "MouseTools.h"

#include "Figures.h"
#include "Selection.h"
#include "TextTool.h"

namespace vermeo {

namespace {

constexpr int kLastPolyIndex = 100; // PolyPts holds indices 0..100

// Tools whose figure runs between the press point and the current point.
bool isTwoPointShape(int tool) { return tool <= tcRoundRect || isSelectionTool(tool); }

void showPosition(DocumentHost &host, int x, int y)
{
    host.setStatusText(0, QStringLiteral("Position : (%1,%2)").arg(x).arg(y));
}

// Pencil and eraser: a line from the pen position, which moves on; always plain copy.
void freehandTo(ImageDocument &doc, int x, int y)
{
    Canvas &c = doc.canvas();
    c.setPenMode(PenMode::Copy);
    c.LineTo(x, y);
}

void eraseTo(ImageDocument &doc, int x, int y)
{
    Canvas &c = doc.canvas();
    const TColour colour = c.penColour();
    const int width = c.penWidth();
    c.setPenColour(c.brushColour());
    c.setPenWidth(doc.EraserWidth);
    freehandTo(doc, x, y);
    c.setPenColour(colour);
    c.setPenWidth(width);
}

// --- click tools -------------------------------------------------------------------

void addPolygonVertex(ImageDocument &doc)
{
    if (doc.PolyOpen) {
        // Further vertices than the array holds are ignored.
        if (doc.PolyCount >= kLastPolyIndex)
            return;
        ++doc.PolyCount;
        doc.PolyPts[doc.PolyCount] = doc.CurPt;
    } else {
        doc.PolyCount = 0;
        doc.PolyPts[0] = doc.StartPt;
        doc.PolyOpen = true;
    }
    doc.Modif();
}

void floodFill(ImageDocument &doc)
{
    Canvas &c = doc.canvas();
    const TColour brush = c.brushColour();
    c.setBrushColour(c.penColour()); // a clear brush becomes solid, and stays so
    c.FloodFill(doc.StartPt.x(), doc.StartPt.y());
    c.setBrushColour(brush);
    doc.Modif();
}

void spray(ImageDocument &doc, TAirBrush &airBrush)
{
    Canvas &c = doc.canvas();
    const TColour brush = c.brushColour();
    c.setBrushColour(c.penColour());
    airBrush.setColor(c.penColour());
    airBrush.Spray(c, doc.StartPt.x(), doc.StartPt.y());
    c.setBrushColour(brush);
    doc.Modif();
}

void stamp(ImageDocument &doc)
{
    // The first click after the source was set is the click of that press.
    if (!doc.StampArmed) {
        doc.StampArmed = true;
        return;
    }
    Canvas &c = doc.canvas();
    const TColour colour = c.penColour();
    const int width = c.penWidth();
    const PenMode mode = c.penMode();
    c.setPenMode(PenMode::Copy);
    c.setPenColour(c.Pixel(doc.StampSource.x(), doc.StampSource.y()));
    c.setPenWidth(3);
    c.Ellipse(doc.StartPt.x(), doc.StartPt.y(), doc.StartPt.x() + 4, doc.StartPt.y() + 4);
    c.setPenColour(colour);
    c.setPenWidth(width);
    c.setPenMode(mode);
    doc.Modif();
}

} // namespace

ShiftState ShiftState::from(Qt::KeyboardModifiers mods, Qt::MouseButtons buttons)
{
    ShiftState s;
    s.shift = mods.testFlag(Qt::ShiftModifier);
    s.alt = mods.testFlag(Qt::AltModifier);
    s.ctrl = mods.testFlag(Qt::ControlModifier);
    s.left = buttons.testFlag(Qt::LeftButton);
    s.right = buttons.testFlag(Qt::RightButton);
    s.middle = buttons.testFlag(Qt::MiddleButton);
    return s;
}

void FormMouseDown(ImageDocument &doc, DocumentHost &host, Qt::MouseButton button, ShiftState shift, int x, int y)
{
    (void)button; // any button draws
    if (doc.FloatingPaste) {
        // The click drops the paste where its ghost is; the press keeps that place.
        doc.CurPt = QPoint(x, y);
        showPosition(host, x, y);
        return;
    }
    if (!doc.TextPlacing)
        doc.SauveUndo();
    doc.ButtonDown = true;
    doc.BandShown = false;
    doc.canvas().MoveTo(x, y);
    doc.StartPt = doc.CurPt = QPoint(x, y);
    // A selection returns to the tool chosen before it; the drawing styles stay as they are.
    if (isSelectionTool(doc.Tool))
        doc.PrevTool = doc.Tool;
    if (doc.Tool == tcStamp && shift.setsStampSource()) {
        changeMarks(doc, [&] { doc.StampSource = QPoint(x, y); });
        doc.StampArmed = false;
    }
    showPosition(host, x, y);
}

void FormMouseMove(ImageDocument &doc, DocumentHost &host, ShiftState shift, int x, int y)
{
    (void)shift;
    if (doc.FloatingPaste) {
        selection::floatMove(doc, x, y);
        return;
    }
    if (doc.TextPlacing)
        return;
    if (doc.ButtonDown && doc.Tool == tcPencil) {
        freehandTo(doc, x, y);
        doc.flush();
        return;
    }
    if (doc.ButtonDown && doc.Tool == tcEraser) {
        eraseTo(doc, x, y);
        doc.flush();
        return;
    }
    if (doc.ButtonDown)
        changeMarks(doc, [&] {
            doc.CurPt = QPoint(x, y);
            doc.BandShown = true;
        });
    showPosition(host, x, y);
}

void FormMouseUp(ImageDocument &doc, DocumentHost &host, Qt::MouseButton button, ShiftState shift, int x, int y)
{
    (void)host;
    (void)button;
    (void)shift;
    // A release with no press of ours (the press went to another window) does nothing.
    if (!doc.ButtonDown)
        return;
    const bool moved = doc.CurPt != doc.StartPt;
    changeMarks(doc, [&] {
        doc.ButtonDown = false;
        doc.BandShown = false;
        if (isSelectionTool(doc.Tool) && moved) {
            // The band stays as the selection's outline. A click without a drag selects nothing.
            doc.SelRect = QRect(doc.StartPt, doc.CurPt);
            (doc.Tool == tcRectSelection ? doc.RectSelected : doc.OvalSelected) = true;
        }
    });
    if (isSelectionTool(doc.Tool))
        return;
    DrawShape(doc, doc.StartPt, QPoint(x, y), PenMode::Copy);
    doc.Modif();
    doc.flush();
}

void Image1Click(ImageDocument &doc, DocumentHost &host, TAirBrush &airBrush)
{
    if (doc.FloatingPaste) {
        selection::dropPaste(doc, host);
        return;
    }
    if (doc.TextPlacing) {
        doc.TextPlacing = false;
        host.setCursorShape(Qt::ArrowCursor);
        return;
    }
    if (doc.Tool == tcPolygon)
        addPolygonVertex(doc);
    if (doc.PipetteMode) {
        host.pickedColour(doc.canvas().Pixel(doc.StartPt.x(), doc.StartPt.y()));
        return;
    }
    selection::endSelection(doc, host);
    switch (doc.Tool) {
    case tcText: placeText(doc, host); break;
    case tcFill: floodFill(doc); break;
    case tcSpray: spray(doc, airBrush); break;
    case tcStamp: stamp(doc); break;
    default: break;
    }
    doc.flush();
}

void Image1DblClick(ImageDocument &doc, DocumentHost &host)
{
    (void)host;
    if (!doc.PolyOpen)
        return;
    doc.PolyOpen = false;
    for (QPoint &p : doc.PolyPts)
        p = QPoint(0, 0);
}

// --- Qt's events in the tools' order ----------------------------------------------------

void MouseSequence::press(Qt::MouseButton button, ShiftState shift, int x, int y)
{
    m_pressed = true;
    m_afterDoubleClick = false;
    m_dropping = m_doc.FloatingPaste;
    FormMouseDown(m_doc, m_host, button, shift, x, y);
}

void MouseSequence::doubleClick(Qt::MouseButton button, ShiftState shift, int x, int y)
{
    Image1DblClick(m_doc, m_host);
    m_pressed = true;
    m_afterDoubleClick = true;
    m_dropping = false;
    FormMouseDown(m_doc, m_host, button, shift, x, y);
}

bool MouseSequence::cancel()
{
    if (m_doc.FloatingPaste) {
        selection::cancelPaste(m_doc, m_host);
        m_dropping = false;
        m_pressed = false;
        return true;
    }
    // Only a figure or a selection being dragged: its band is a mark, the picture is untouched.
    if (!m_pressed || !m_doc.ButtonDown || !isTwoPointShape(m_doc.Tool))
        return false;
    changeMarks(m_doc, [&] {
        m_doc.ButtonDown = false;
        m_doc.BandShown = false;
    });
    // The release that follows is no click and draws nothing.
    m_pressed = false;
    return true;
}

void MouseSequence::move(ShiftState shift, int x, int y) { FormMouseMove(m_doc, m_host, shift, x, y); }

void MouseSequence::release(Qt::MouseButton button, ShiftState shift, int x, int y)
{
    const bool inside = m_doc.viewRect().contains(x, y);
    if (m_pressed && !m_afterDoubleClick && (inside || m_dropping))
        Image1Click(m_doc, m_host, m_air);
    m_pressed = false;
    m_afterDoubleClick = false;
    if (m_dropping) {
        m_dropping = false;
        return;
    }
    FormMouseUp(m_doc, m_host, button, shift, x, y);
}

void MouseSequence::click(int x, int y)
{
    ShiftState held;
    held.left = true;
    press(Qt::LeftButton, held, x, y);
    release(Qt::LeftButton, ShiftState{}, x, y);
}

void MouseSequence::drag(QPoint from, QPoint to, int steps)
{
    ShiftState held;
    held.left = true;
    press(Qt::LeftButton, held, from.x(), from.y());
    steps = std::max(1, steps);
    for (int i = 1; i <= steps; ++i) {
        const QPoint p = from + (to - from) * i / steps;
        move(held, p.x(), p.y());
    }
    release(Qt::LeftButton, ShiftState{}, to.x(), to.y());
}

} // namespace vermeo
