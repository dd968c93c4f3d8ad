#include "MouseTools.h"

#include "Selection.h"
#include "TextTool.h"

#include <QPolygon>

namespace vermeo {

namespace {

constexpr int kLastPolyIndex = 100; // PolyPts holds indices 0..100

bool isSelectionTool(int tool) { return tool == 5 || tool == 11; }

// Tools whose figure runs between the press point and the current point.
bool isTwoPointShape(int tool) { return tool <= 3 || isSelectionTool(tool); }

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
    // The first click after the source was set is the click of that Alt+press.
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

void DrawShape(ImageDocument &doc, QPoint from, QPoint to, PenMode mode)
{
    Canvas &c = doc.canvas();
    c.setPenMode(mode);
    switch (doc.Tool) {
    case 0:
        c.MoveTo(from.x(), from.y());
        c.LineTo(to.x(), to.y());
        break;
    case 1:
    case 5: c.Rectangle(from.x(), from.y(), to.x(), to.y()); break;
    case 2:
    case 11: c.Ellipse(from.x(), from.y(), to.x(), to.y()); break;
    case 3:
        // The corners are as large as half the figure.
        c.RoundRect(from.x(), from.y(), to.x(), to.y(), (from.x() - to.x()) / 2, (from.y() - to.y()) / 2);
        break;
    case 9: {
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

void FormMouseDown(ImageDocument &doc, DocumentHost &host, Qt::MouseButton button, ShiftState shift, int x, int y)
{
    (void)button; // any button draws
    if (!doc.FloatingPaste && !doc.TextPlacing)
        doc.SauveUndo();
    doc.ButtonDown = true;
    doc.canvas().MoveTo(x, y);
    doc.StartPt = doc.CurPt = QPoint(x, y);
    if (isSelectionTool(doc.Tool)) {
        doc.SaveStyles();
        Canvas &c = doc.canvas();
        c.setPenWidth(1);
        c.setPenStyle(psDot);
        c.setBrushStyle(bsClear);
    }
    if (doc.Tool == 12 && shift.onlyAltLeft()) {
        doc.StampSource = QPoint(x, y);
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
    if (doc.ButtonDown && doc.Tool == 4) {
        freehandTo(doc, x, y);
        doc.flush();
        return;
    }
    if (doc.ButtonDown && doc.Tool == 8) {
        eraseTo(doc, x, y);
        doc.flush();
        return;
    }
    if (doc.ButtonDown) {
        DrawShape(doc, doc.StartPt, doc.CurPt, PenMode::NotXor); // erases the previous band
        doc.CurPt = QPoint(x, y);
        DrawShape(doc, doc.StartPt, doc.CurPt, PenMode::NotXor);
        doc.flush();
    }
    showPosition(host, x, y);
}

void FormMouseUp(ImageDocument &doc, DocumentHost &host, Qt::MouseButton button, ShiftState shift, int x, int y)
{
    (void)host;
    (void)button;
    (void)shift;
    Canvas &c = doc.canvas();
    // A release with no press of ours (the press went to another window) makes no
    // selection: its styles were never saved.
    if (isSelectionTool(doc.Tool) && doc.ButtonDown) {
        // The last dotted band stays as the selection's outline; the brush stays clear.
        c.setPenWidth(doc.SavedPenWidth);
        c.setPenStyle(doc.SavedPenStyle);
        c.setPenMode(PenMode::Copy);
        doc.SelRect = QRect(doc.StartPt, doc.CurPt);
        (doc.Tool == 5 ? doc.RectSelected : doc.OvalSelected) = true;
        doc.ButtonDown = false;
        return;
    }
    if (!doc.ButtonDown)
        return;
    // A release away from the last move would leave that band behind the figure.
    if (isTwoPointShape(doc.Tool) && QPoint(x, y) != doc.CurPt)
        DrawShape(doc, doc.StartPt, doc.CurPt, PenMode::NotXor);
    DrawShape(doc, doc.StartPt, QPoint(x, y), PenMode::Copy);
    doc.ButtonDown = false;
    doc.Modif();
    doc.flush();
}

void Image1Click(ImageDocument &doc, DocumentHost &host, TAirBrush &airBrush)
{
    if (doc.FloatingPaste)
        selection::dropPaste(doc, host);
    if (doc.TextPlacing) {
        doc.TextPlacing = false;
        host.setCursorShape(Qt::ArrowCursor);
        return;
    }
    if (doc.Tool == 9)
        addPolygonVertex(doc);
    if (doc.PipetteMode) {
        host.pickedColour(doc.canvas().Pixel(doc.StartPt.x(), doc.StartPt.y()));
        return;
    }
    if (doc.RectSelected)
        selection::Deselectionne(doc, host);
    if (doc.OvalSelected)
        selection::Deselectionne2(doc, host);
    switch (doc.Tool) {
    case 6: placeText(doc, host); break;
    case 7: floodFill(doc); break;
    case 10: spray(doc, airBrush); break;
    case 12: stamp(doc); break;
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
    FormMouseDown(m_doc, m_host, button, shift, x, y);
}

void MouseSequence::doubleClick(Qt::MouseButton button, ShiftState shift, int x, int y)
{
    Image1DblClick(m_doc, m_host);
    m_pressed = true;
    m_afterDoubleClick = true;
    FormMouseDown(m_doc, m_host, button, shift, x, y);
}

void MouseSequence::move(ShiftState shift, int x, int y) { FormMouseMove(m_doc, m_host, shift, x, y); }

void MouseSequence::release(Qt::MouseButton button, ShiftState shift, int x, int y)
{
    if (m_pressed && !m_afterDoubleClick)
        Image1Click(m_doc, m_host, m_air);
    m_pressed = false;
    m_afterDoubleClick = false;
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
