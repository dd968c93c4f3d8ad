#pragma once
// The image window's mouse handlers: what a press, a drag, a release, a click and a
// double-click do with the current tool. Shapes rubber-band in not-xor and are
// committed in copy mode on the release; click tools act on the click.
#include "AirBrush.h"
#include "DocumentHost.h"
#include "ImageDocument.h"

#include <Qt>

namespace vermeo {

// The keys and mouse buttons held during a mouse event.
struct ShiftState {
    bool shift = false, alt = false, ctrl = false;
    bool left = false, right = false, middle = false;

    static ShiftState from(Qt::KeyboardModifiers mods, Qt::MouseButtons buttons);
    // Alt with the left button and nothing else: the stamp's source is being set.
    bool onlyAltLeft() const { return alt && left && !shift && !ctrl && !right && !middle; }
};

void FormMouseDown(ImageDocument &doc, DocumentHost &host, Qt::MouseButton button, ShiftState shift, int x, int y);
void FormMouseMove(ImageDocument &doc, DocumentHost &host, ShiftState shift, int x, int y);
void FormMouseUp(ImageDocument &doc, DocumentHost &host, Qt::MouseButton button, ShiftState shift, int x, int y);
void Image1Click(ImageDocument &doc, DocumentHost &host, TAirBrush &airBrush);
void Image1DblClick(ImageDocument &doc, DocumentHost &host);

// The current tool's figure between two points, in the given pen mode.
void DrawShape(ImageDocument &doc, QPoint from, QPoint to, PenMode mode);

// Qt reports press, moves, release, and replaces the second press of a double-click
// by a double-click event. The tools expect press, moves, click, release, and for a
// double-click: double-click, press, release without a click. This puts Qt's events
// in that order.
class MouseSequence {
public:
    MouseSequence(ImageDocument &doc, DocumentHost &host, TAirBrush &airBrush)
        : m_doc(doc), m_host(host), m_air(airBrush) {}

    void press(Qt::MouseButton button, ShiftState shift, int x, int y);
    void doubleClick(Qt::MouseButton button, ShiftState shift, int x, int y);
    void move(ShiftState shift, int x, int y);
    void release(Qt::MouseButton button, ShiftState shift, int x, int y);
    // The coming release is no click (it happens outside the picture).
    void cancelClick() { m_afterDoubleClick = true; }

    // Shortcuts for a plain left-button gesture.
    void click(int x, int y);
    void drag(QPoint from, QPoint to, int steps);

private:
    ImageDocument &m_doc;
    DocumentHost &m_host;
    TAirBrush &m_air;
    bool m_pressed = false;
    bool m_afterDoubleClick = false;
};

} // namespace vermeo
