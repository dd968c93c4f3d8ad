#pragma once
// What the main window's tool panel, palette bar and swatches are made of, and what
// their clicks do: the main window keeps the drawing state every new image window
// inherits, and applies each change at once to the active window (if any).
#include "ImageDocument.h"

#include <QString>
#include <QStringList>
#include <vector>

class QWidget;

namespace vermeo {

class DocumentHost;

// The 27 palette colours: every mix of 0, 127 and 255, blue changing slowest and red
// fastest, from black to white.
constexpr int kPaletteCount = 27;
TColour paletteColour(int index);

enum class ToolAction { Frame, Text, Pipette };

struct ToolButtonInfo {
    const char *objectName;
    const char *glyph; // the icon drawn on the button
    QString hint;
    ToolAction action;
    int frameCode;      // for ToolAction::Frame
    int mainToolNumber; // stored as the main tool number, 0 = left unchanged
    bool inPanelGroup;  // part of the left panel's exclusive group
};
// The left panel's buttons in order, then the two selection buttons of the upper bar.
const std::vector<ToolButtonInfo> &toolButtons();

struct StyleButtonInfo {
    const char *objectName;
    QString hint;
    int code;
};
const std::vector<StyleButtonInfo> &penStyleButtons();
const std::vector<StyleButtonInfo> &brushStyleButtons();

// The face names of the font box, sorted.
QStringList sortedFontFamilies();

// The main window's drawing state.
struct MainDrawingState {
    int toolNumber = 1;
    int penStyle = psSolid;
    int brushStyle = bsClear;
    TColour foreColour = clBlack; // ForeColor swatch = pen colour
    TColour backColour = clWhite; // Backcolor swatch = fill colour
    int penWidth = 1;             // SpinEdit1
    TColour pickedColour = clBlack;
};

// The active window is optional throughout: with no image window only the main
// state changes.
struct ActiveWindow {
    ImageDocument *doc = nullptr;
    DocumentHost *host = nullptr;
};

void toolButtonClick(MainDrawingState &state, int buttonIndex, ActiveWindow active);
void penStyleButtonClick(MainDrawingState &state, int code, ActiveWindow active);
void brushStyleButtonClick(MainDrawingState &state, int code, ActiveWindow active);
void penWidthChanged(MainDrawingState &state, int width, ActiveWindow active);
// A swatch click: the colour dialog preset to the swatch; then, accepted or not, both
// swatch colours go to the active window. Returns whether the dialog was accepted.
bool swatchClick(MainDrawingState &state, bool foreSwatch, ActiveWindow active, QWidget *parent);
// SpeedButton10: exchanges the two swatches.
void swapSwatches(MainDrawingState &state, ActiveWindow active);
void paletteClick(MainDrawingState &state, int index, ActiveWindow active);
// The pipette's result (TMainForm.SetCol); the pen swatch follows only while the
// pipette button is down.
void SetCol(MainDrawingState &state, TColour colour, bool pipetteButtonDown, ActiveWindow active);
// New windows: SetIni with the main state.
void applyMainState(const MainDrawingState &state, ImageDocument &doc, DocumentHost &host);

} // namespace vermeo
