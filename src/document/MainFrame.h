#pragma once
// What an image window needs from the main window around it. The main window
// implements it; the image window never includes the main window itself. A window
// made without one (in tests) gets the silent frame, which keeps the defaults.
#include "ColourValue.h"
#include "Progress.h"

#include <QSize>
#include <QString>

class QMdiArea;

namespace vermeo {

class MainFrame {
public:
    virtual ~MainFrame() = default;
    virtual void setStatusPanel(int panel, const QString &text) { (void)panel, (void)text; }
    virtual Progress &progressBar() { return silentProgress(); }
    // The main window's client area, tool panels included (for fitting image windows);
    // empty when there is none.
    virtual QSize mainClientSize() const { return {}; }
    virtual TColour foreColour() const { return clBlack; }
    virtual void setForeColour(TColour c) { (void)c; }
    virtual void pickedColour(TColour c) { (void)c; }                       // SetCol
    virtual void showPenWidth(int w) { (void)w; }                           // SpinEdit1
    virtual QString fontBoxName() const { return QStringLiteral("Arial"); } // FontName
    virtual int fontBoxSize() const { return 12; }                          // SpinEdit2
    virtual void clipboardChanged() {}                                      // paste items follow the clipboard
    // A picture file was opened or saved under that name (the recent files).
    virtual void pictureFileUsed(const QString &fileName) { (void)fileName; }
    virtual void historyChanged() {} // "Rétablir" follows the history

    // The frame of windows made without a main window.
    static MainFrame &silent()
    {
        static MainFrame frame;
        return frame;
    }
};

} // namespace vermeo
