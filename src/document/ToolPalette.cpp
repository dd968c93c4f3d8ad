#include "ToolPalette.h"

#include "Attributes.h"
#include "DialogRunner.h"
#include "DocumentHost.h"

#include <QFontDatabase>

namespace vermeo {

TColour paletteColour(int index)
{
    static const int levels[3] = {0, 127, 255};
    if (index < 0 || index >= kPaletteCount)
        return clBlack;
    return ComposeCouleur(levels[index % 3], levels[(index / 3) % 3], levels[index / 9]);
}

const std::vector<ToolButtonInfo> &toolButtons()
{
    static const std::vector<ToolButtonInfo> buttons{
        {"PenButton", "pencil", QStringLiteral("Crayon"), ToolAction::Frame, tcPencil, 1, true},
        {"LineButton", "line", QStringLiteral("Trait"), ToolAction::Frame, tcLine, 2, true},
        {"RectangleButton", "rectangle", QStringLiteral("Rectangle"), ToolAction::Frame, tcRectangle, 3, true},
        {"EllipseButton", "ellipse", QStringLiteral("Ellipse"), ToolAction::Frame, tcEllipse, 4, true},
        {"RoundRectButton", "roundrect", QStringLiteral("Rectangle arrondi"), ToolAction::Frame, tcRoundRect, 5, true},
        {"FillButton", "fill", QStringLiteral("Remplir avec une couleur"), ToolAction::Frame, tcFill, 6, true},
        {"BrushButton", "eraser", QStringLiteral("Gomme"), ToolAction::Frame, tcEraser, 7, true},
        {"PolyButton", "polygon", QStringLiteral("Polygône"), ToolAction::Frame, tcPolygon, 8, true},
        {"TextButton", "text", QStringLiteral("Texte"), ToolAction::Text, tcText, 9, true},
        {"SpeedButton9", "spray", QStringLiteral("Remplir avec Spray"), ToolAction::Frame, tcSpray, 10, true},
        {"SpeedButton12", "stamp", QStringLiteral("Tampon : Ctrl+clic (ou Alt+clic) choisit le point source"),
         ToolAction::Frame, tcStamp, 11, true},
        {"PipButton", "pipette", QStringLiteral("Pipette"), ToolAction::Pipette, 0, 0, true},
        {"SpeedButton2", "select", QStringLiteral("Sélection"), ToolAction::Frame, tcRectSelection, 0, false},
        {"SpeedButton11", "ovalselect", QStringLiteral("Sélection Ovale"), ToolAction::Frame, tcOvalSelection, 0,
         false},
    };
    return buttons;
}

const std::vector<StyleButtonInfo> &penStyleButtons()
{
    static const QString hint = QStringLiteral("Style de trait");
    static const std::vector<StyleButtonInfo> buttons{
        {"SolidPen", hint, psSolid},
        {"DashPen", hint, psDash},
        {"DotPen", hint, psDot},
        {"DashDotPen", hint, psDashDot},
        {"DashDotDotPen", hint, psDashDotDot},
        {"ClearPen", hint, psClear},
    };
    return buttons;
}

const std::vector<StyleButtonInfo> &brushStyleButtons()
{
    static const QString hint = QStringLiteral("Motif de remplissage");
    static const std::vector<StyleButtonInfo> buttons{
        {"SolidBrush", QStringLiteral("Moti de remplissage"), bsSolid},
        {"ClearBrush", hint, bsClear},
        {"HorizontalBrush", hint, bsHorizontal},
        {"VerticalBrush", hint, bsVertical},
        {"FDiagonalBrush", hint, bsFDiagonal},
        {"BDiagonalBrush", hint, bsBDiagonal},
        {"CrossBrush", hint, bsCross},
        {"DiagCrossBrush", hint, bsDiagCross},
    };
    return buttons;
}

QStringList sortedFontFamilies()
{
    QStringList families = QFontDatabase::families();
    families.sort(Qt::CaseInsensitive);
    return families;
}

void toolButtonClick(MainDrawingState &state, int buttonIndex, ActiveWindow active)
{
    const auto &buttons = toolButtons();
    if (buttonIndex < 0 || buttonIndex >= int(buttons.size()))
        return;
    const ToolButtonInfo &b = buttons[size_t(buttonIndex)];
    if (b.mainToolNumber != 0)
        state.toolNumber = b.mainToolNumber;
    if (!active.doc || !active.host)
        return;
    switch (b.action) {
    case ToolAction::Frame: SetFrame(*active.doc, *active.host, b.frameCode); break;
    case ToolAction::Text: SetText(*active.doc, *active.host); break;
    case ToolAction::Pipette: Pipette(*active.doc, *active.host); break;
    }
}

void penStyleButtonClick(MainDrawingState &state, int code, ActiveWindow active)
{
    state.penStyle = code;
    if (active.doc)
        SetPenStyle(*active.doc, code);
}

void brushStyleButtonClick(MainDrawingState &state, int code, ActiveWindow active)
{
    state.brushStyle = code;
    if (active.doc)
        SetBrush(*active.doc, code);
}

void penWidthChanged(MainDrawingState &state, int width, ActiveWindow active)
{
    state.penWidth = width;
    if (active.doc)
        PenSize(*active.doc, width);
}

namespace {
void applySwatches(const MainDrawingState &state, ActiveWindow active)
{
    if (active.doc)
        SetColors(*active.doc, state.foreColour, state.backColour);
}
} // namespace

bool swatchClick(MainDrawingState &state, bool foreSwatch, ActiveWindow active, QWidget *parent)
{
    TColour &swatch = foreSwatch ? state.foreColour : state.backColour;
    QColor c = toQColor(swatch);
    const bool accepted = DialogRunner::colour(parent, c);
    if (accepted && c.isValid())
        swatch = fromQColor(c);
    applySwatches(state, active);
    return accepted;
}

void swapSwatches(MainDrawingState &state, ActiveWindow active)
{
    std::swap(state.foreColour, state.backColour);
    applySwatches(state, active);
}

void paletteClick(MainDrawingState &state, int index, ActiveWindow active)
{
    if (index < 0 || index >= kPaletteCount)
        return;
    state.foreColour = paletteColour(index);
    applySwatches(state, active);
}

void SetCol(MainDrawingState &state, TColour colour, bool pipetteButtonDown, ActiveWindow active)
{
    state.pickedColour = colour;
    if (!pipetteButtonDown)
        return;
    state.foreColour = colour;
    applySwatches(state, active);
}

void applyMainState(const MainDrawingState &state, ImageDocument &doc, DocumentHost &host)
{
    SetIni(doc, host, state.toolNumber, state.penWidth, state.brushStyle, state.backColour, state.foreColour,
           state.penStyle);
}

} // namespace vermeo
