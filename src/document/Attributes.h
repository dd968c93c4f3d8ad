#pragma once
// The drawing attributes of an image window and the choice of its tool, as the main
// window's tool panel, palette bar and text controls set them.
#include "DocumentHost.h"
#include "ImageDocument.h"

#include <QString>

namespace vermeo {

void SetColors(ImageDocument &doc, TColour penColour, TColour brushColour);
void SetPenStyle(ImageDocument &doc, int penStyle);
void SetBrush(ImageDocument &doc, int brushStyle);
// The eraser keeps its own width: while it is the tool the width goes to EraserWidth.
void PenSize(ImageDocument &doc, int width);

void SetFrame(ImageDocument &doc, DocumentHost &host, int toolCode);
void SetText(ImageDocument &doc, DocumentHost &host);
void Pipette(ImageDocument &doc, DocumentHost &host);

void SetFontName(ImageDocument &doc, const QString &name);
void SetFontSize(ImageDocument &doc, int points);
// sign '+' adds bold (1), italic (2) or underline (3); '-' removes it.
void SetStyle1(ImageDocument &doc, char sign);
void SetStyle2(ImageDocument &doc, char sign);
void SetStyle3(ImageDocument &doc, char sign);

// A new window takes the main window's drawing state. toolNumber is the main
// window's numbering (1 pencil .. 11 stamp), see toolCodeForNumber.
void SetIni(ImageDocument &doc, DocumentHost &host, int toolNumber, int penWidth, int brushStyle, TColour fillColour,
            TColour penColour, int penStyle);

// The window tool code of a main tool number, or -1 for numbers that leave the tool
// alone; 9 (text) gives 6.
int toolCodeForNumber(int toolNumber);

} // namespace vermeo
