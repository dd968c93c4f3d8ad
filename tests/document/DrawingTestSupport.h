#pragma once
// A document ready to draw on, with the main window's start-up drawing state.
#include "AirBrush.h"
#include "Attributes.h"
#include "MouseTools.h"
#include "RecordingHost.h"

#include <QImage>

namespace vermeo::test {

// A document of w x h on white, with the main window's start-up drawing state and
// the given window tool code.
struct Board {
    ImageDocument doc;
    RecordingHost host;
    TAirBrush air;
    MouseSequence mouse{doc, host, air};

    Board(int w, int h, int tool)
    {
        doc.Init(w, h, clWhite);
        SetIni(doc, host, 1, 1, bsClear, clWhite, clBlack, psSolid);
        SetFrame(doc, host, tool);
    }
    TColour at(int x, int y) const { return fromQRgb(doc.image().pixel(x, y)); }
};

inline ShiftState leftHeld(bool alt = false)
{
    ShiftState s;
    s.left = true;
    s.alt = alt;
    return s;
}

} // namespace vermeo::test
