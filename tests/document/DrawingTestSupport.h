#pragma once
// A window stand-in that records what the tools ask of it, and a document ready to
// draw on.
#include "AirBrush.h"
#include "Attributes.h"
#include "DocumentHost.h"
#include "ImageDocument.h"
#include "MouseTools.h"

#include <QImage>
#include <vector>

namespace vermeo::test {

struct RecordingHost : DocumentHost {
    QString panel[3];
    Qt::CursorShape cursor = Qt::ArrowCursor;
    std::vector<TColour> picked;
    int shownWidth = -1;
    QString fontName = QStringLiteral("DejaVu Sans");
    int fontSize = 12;

    void setStatusText(int p, const QString &t) override { if (p >= 0 && p < 3) panel[p] = t; }
    void setCursorShape(Qt::CursorShape s) override { cursor = s; }
    void pickedColour(TColour c) override { picked.push_back(c); }
    void showPenWidth(int w) override { shownWidth = w; }
    QString fontBoxName() const override { return fontName; }
    int fontBoxSize() const override { return fontSize; }
};

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

// The pixels that differ from white, as a bounding box.
inline QRect inkBounds(const QImage &img)
{
    QRect r;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if ((img.pixel(x, y) & 0xFFFFFFu) != 0xFFFFFFu)
                r = r.united(QRect(x, y, 1, 1));
    return r;
}

} // namespace vermeo::test
