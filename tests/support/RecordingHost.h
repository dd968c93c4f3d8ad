#pragma once
// A window stand-in that records what the commands and tools ask of it, and a
// document ready to draw on with the main window's start-up drawing state.
#include "DocumentHost.h"
#include "ImageDocument.h"
#include "TestPictures.h"

#include <vector>

namespace vermeo::test {

struct RecordingHost : DocumentHost {
    QString panel[3];
    Qt::CursorShape cursor = Qt::ArrowCursor;
    std::vector<TColour> picked;
    int shownWidth = -1;
    QString fontName = QStringLiteral("DejaVu Sans");
    int fontSize = 12;
    int fits = 0;
    int clipboardChanges = 0;
    QPoint resizedTo{-1, -1};
    QPoint mouseAt{-1, -1};
    QPoint client{400, 300};
    TColour fore = clBlack;
    ProgressRecorder progressRecorder;

    void setStatusText(int p, const QString &t) override
    {
        if (p >= 0 && p < 3)
            panel[p] = t;
    }
    void setCursorShape(Qt::CursorShape s) override { cursor = s; }
    Progress &progress() override { return progressRecorder; }
    void pickedColour(TColour c) override { picked.push_back(c); }
    void showPenWidth(int w) override { shownWidth = w; }
    QString fontBoxName() const override { return fontName; }
    int fontBoxSize() const override { return fontSize; }
    void fitWindow() override { ++fits; }
    void resizeWindow(int w, int h) override { resizedTo = QPoint(w, h); }
    QPoint windowSize() const override { return client; }
    void moveMouseTo(const QPoint &p) override { mouseAt = p; }
    void clipboardChanged() override { ++clipboardChanges; }
    TColour foreColour() const override { return fore; }
    void setForeColour(TColour c) override { fore = c; }
};

// A document holding the given picture, with a black pen as the main window sets it.
inline void loadPicture(ImageDocument &doc, const QImage &img)
{
    doc.Init(img.width(), img.height(), clWhite);
    doc.replacePixels(img);
    doc.SauveUndo();
    doc.canvas().setPenColour(clBlack);
}

inline void loadNoise(ImageDocument &doc, int w, int h, quint32 seed = 11) { loadPicture(doc, noise(w, h, seed)); }

} // namespace vermeo::test
