#pragma once
// A document host that records what the commands ask of the window.
#include "DocumentHost.h"
#include "ImageDocument.h"

#include <QRandomGenerator>

struct RecordingHost : vermeo::DocumentHost {
    int fits = 0;
    int clipboardChanges = 0;
    QPoint resizedTo{-1, -1};
    QPoint mouseAt{-1, -1};
    Qt::CursorShape cursor = Qt::ArrowCursor;
    QPoint client{400, 300};
    void fitWindow() override { ++fits; }
    void resizeWindow(int w, int h) override { resizedTo = QPoint(w, h); }
    QPoint windowSize() const override { return client; }
    void moveMouseTo(const QPoint &p) override { mouseAt = p; }
    void setCursorShape(Qt::CursorShape s) override { cursor = s; }
    void clipboardChanged() override { ++clipboardChanges; }
};

inline QImage noiseImage(int w, int h, quint32 seed = 11)
{
    QImage img(w, h, QImage::Format_RGB32);
    QRandomGenerator rng(seed);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, 0xFF000000u | (rng.generate() & 0xFFFFFFu));
    return img;
}

inline void loadNoise(vermeo::ImageDocument &doc, int w, int h, quint32 seed = 11)
{
    doc.Init(w, h, vermeo::clWhite);
    doc.assignImage(noiseImage(w, h, seed));
    doc.canvas().setPenColour(vermeo::clBlack); // as the main window's drawing state sets it
}
