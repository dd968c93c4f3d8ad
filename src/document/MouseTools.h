#pragma once
// The image window's mouse handlers: what a press, a drag, a release, a click and a
// double-click do with the current tool. Figures show as a rubber band over the view
// while dragged and are drawn into the picture on the release; click tools act on the click.
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
    // Alt or Ctrl with the left button and nothing else: the stamp's source is being set
    // (most window managers keep Alt+click for moving windows, so Ctrl does it too).
    bool setsStampSource() const { return (alt != ctrl) && left && !shift && !right && !middle; }
};

void FormMouseDown(ImageDocument &doc, DocumentHost &host, Qt::MouseButton button, ShiftState shift, int x, int y);
void FormMouseMove(ImageDocument &doc, DocumentHost &host, ShiftState shift, int x, int y);
void FormMouseUp(ImageDocument &doc, DocumentHost &host, Qt::MouseButton button, ShiftState shift, int x, int y);
void Image1Click(ImageDocument &doc, DocumentHost &host, TAirBrush &airBrush);
void Image1DblClick(ImageDocument &doc, DocumentHost &host);

// Qt reports press, moves, release, and replaces the second press of a double-click
// by a double-click event. The tools expect press, moves, click, release, and for a
// double-click: double-click, press, release without a click. This puts Qt's events
// in that order; a release outside the picture ends the press but is no click.
class MouseSequence {
public:
    MouseSequence(ImageDocument &doc, DocumentHost &host, TAirBrush &airBrush)
        : m_doc(doc),
          m_host(host),
          m_air(airBrush)
    {
    }

    void press(Qt::MouseButton button, ShiftState shift, int x, int y);
    void doubleClick(Qt::MouseButton button, ShiftState shift, int x, int y);
    void move(ShiftState shift, int x, int y);
    void release(Qt::MouseButton button, ShiftState shift, int x, int y);
    // Escape: the figure or selection being dragged, or the floating paste, goes and the
    // picture stays as it was. False when there was nothing to cancel.
    bool cancel();

    // Shortcuts for a plain left-button gesture.
    void click(int x, int y);
    void drag(QPoint from, QPoint to, int steps);

private:
    ImageDocument &m_doc;
    DocumentHost &m_host;
    TAirBrush &m_air;
    bool m_pressed = false;
    bool m_afterDoubleClick = false;
    // The press, click and release that drop a floating paste do nothing else.
    bool m_dropping = false;
};

} // namespace vermeo
