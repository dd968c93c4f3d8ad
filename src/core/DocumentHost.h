#pragma once
// What a document's tools and commands ask of the window around it: the status bar,
// the cursor, the progress bar, the main window's controls. The image window
// implements it; tests use the default (silent) host or a recording one.
#include "ColourValue.h"
#include "Progress.h"

#include <QPoint>
#include <QString>
#include <Qt>

class QWidget;

namespace vermeo {

class DocumentHost {
public:
    virtual ~DocumentHost() = default;
    // Status bar panel 0 (hints, "Position : (x,y)"), 1 (picture size) and 3 (zoom level).
    virtual void setStatusText(int panel, const QString &text)
    {
        (void)panel;
        (void)text;
    }
    virtual void setCursorShape(Qt::CursorShape shape) { (void)shape; }
    // The progress bar of the main window (shown in place of the status bar).
    virtual Progress &progress() { return silentProgress(); }
    // Parent for the dialogs a command opens.
    virtual QWidget *dialogParent() { return nullptr; }
    // Fits the window to the picture (RedimForm).
    virtual void fitWindow() {}
    // Sets the window's outer size directly (used after enlarging the canvas).
    virtual void resizeWindow(int w, int h)
    {
        (void)w;
        (void)h;
    }
    // The size of the window's client area, and moving the mouse pointer in it.
    virtual QPoint windowSize() const { return {}; }
    virtual void moveMouseTo(const QPoint &p) { (void)p; }
    virtual void takeFocus() {}
    // The main window's controls.
    virtual void pickedColour(TColour c) { (void)c; }      // SetCol
    virtual void showPenWidth(int w) { (void)w; }          // SpinEdit1
    virtual TColour foreColour() const { return clBlack; } // ForeColor swatch
    virtual void setForeColour(TColour c) { (void)c; }
    virtual QString fontBoxName() const { return QStringLiteral("Arial"); } // FontName
    virtual int fontBoxSize() const { return 12; }                          // SpinEdit2
    // After copy and cut: the paste commands follow the clipboard.
    virtual void clipboardChanged() {}
};

} // namespace vermeo
