#include "Attributes.h"

namespace vermeo {

void SetColors(ImageDocument &doc, TColour penColour, TColour brushColour)
{
    doc.canvas().setPenColour(penColour);
    doc.canvas().setBrushColour(brushColour); // a clear brush becomes solid
}

void SetPenStyle(ImageDocument &doc, int penStyle) { doc.canvas().setPenStyle(penStyle); }

void SetBrush(ImageDocument &doc, int brushStyle) { doc.canvas().setBrushStyle(brushStyle); }

void PenSize(ImageDocument &doc, int width)
{
    if (doc.Tool == tcEraser)
        doc.EraserWidth = width < 1 ? 1 : width;
    else
        doc.canvas().setPenWidth(width);
}

void SetFrame(ImageDocument &doc, DocumentHost &host, int toolCode)
{
    // The selections return to the tool chosen before them, so they are not remembered.
    if (!isSelectionTool(toolCode))
        doc.PrevTool = toolCode;
    doc.Tool = toolCode;
    doc.PipetteMode = false;
    host.setCursorShape(isSelectionTool(toolCode) ? Qt::CrossCursor : Qt::ArrowCursor);
    host.showPenWidth(toolCode == tcEraser ? doc.EraserWidth : doc.canvas().penWidth());
}

void SetText(ImageDocument &doc, DocumentHost &host)
{
    doc.Tool = tcText;
    // Choosing a tool ends the colour pick, or the text tool would go on picking colours.
    doc.PipetteMode = false;
    host.setCursorShape(Qt::IBeamCursor);
}

void Pipette(ImageDocument &doc, DocumentHost &host)
{
    doc.PipetteMode = true;
    host.setCursorShape(Qt::ArrowCursor);
}

void SetFontName(ImageDocument &doc, const QString &name)
{
    QFont f = doc.canvas().font();
    f.setFamily(name);
    doc.canvas().setFont(f);
}

void SetFontSize(ImageDocument &doc, int points)
{
    if (points < 1)
        return;
    QFont f = doc.canvas().font();
    f.setPointSize(points);
    doc.canvas().setFont(f);
}

namespace {
void changeStyle(ImageDocument &doc, int bit, char sign)
{
    int s = doc.canvas().fontStyle();
    if (sign == '+')
        s |= bit;
    else if (sign == '-')
        s &= ~bit;
    else
        return;
    doc.canvas().setFontStyle(s);
}
} // namespace

void SetStyle1(ImageDocument &doc, char sign) { changeStyle(doc, fsBold, sign); }
void SetStyle2(ImageDocument &doc, char sign) { changeStyle(doc, fsItalic, sign); }
void SetStyle3(ImageDocument &doc, char sign) { changeStyle(doc, fsUnderline, sign); }

int toolCodeForNumber(int toolNumber)
{
    static const int codes[] = {-1,     tcPencil, tcLine,    tcRectangle, tcEllipse, tcRoundRect,
                                tcFill, tcEraser, tcPolygon, tcText,      tcSpray,   tcStamp};
    if (toolNumber < 1 || toolNumber > 11)
        return -1;
    return codes[toolNumber];
}

void SetIni(ImageDocument &doc, DocumentHost &host, int toolNumber, int penWidth, int brushStyle, TColour fillColour,
            TColour penColour, int penStyle)
{
    Canvas &c = doc.canvas();
    // Colour before style, so the window ends with the style it is given.
    c.setBrushColour(fillColour);
    c.setBrushStyle(brushStyle);
    c.setPenColour(penColour);
    if (toolNumber == 9)
        SetText(doc, host);
    else if (const int code = toolCodeForNumber(toolNumber); code >= 0)
        doc.Tool = code;
    if (doc.Tool == tcEraser)
        doc.EraserWidth = penWidth < 1 ? 1 : penWidth;
    else
        c.setPenWidth(penWidth);
    doc.PrevTool = doc.Tool;
    c.setPenStyle(penStyle);
    doc.RectSelected = false;
    doc.OvalSelected = false;
    doc.PipetteMode = false;
}

} // namespace vermeo
