#pragma once
// What an image window needs from the main window around it. The main window
// implements it; the image window never includes the main window itself.
#include "ColourValue.h"
#include "Progress.h"

#include <QSize>
#include <QString>

class QMdiArea;

namespace vermeo {

class MainFrame {
public:
    virtual ~MainFrame() = default;
    virtual void setStatusPanel(int panel, const QString &text) = 0;
    virtual Progress &progressBar() = 0;
    // The main window's client area, tool panels included (for fitting image windows).
    virtual QSize mainClientSize() const = 0;
    virtual QMdiArea *mdiArea() const = 0;
    virtual TColour foreColour() const = 0;
    virtual void setForeColour(TColour c) = 0;
    virtual void pickedColour(TColour c) = 0;  // SetCol
    virtual void showPenWidth(int w) = 0;     // SpinEdit1
    virtual QString fontBoxName() const = 0;  // FontName
    virtual int fontBoxSize() const = 0;      // SpinEdit2
    virtual void clipboardChanged() = 0;      // paste items follow the clipboard
};

} // namespace vermeo
