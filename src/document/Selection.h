#pragma once
// The selection marker and the floating paste of a document.
#include "DocumentHost.h"
#include "ImageDocument.h"

namespace vermeo::selection {

// Draws the marker of the current selection (not-xor, width 1, dotted, clear brush):
// a rectangle outline, or the inscribed ellipse for an oval selection.
void drawMarker(ImageDocument &doc, bool oval);

// Removes the rectangular (Deselectionne) or oval (Deselectionne2) marker and ends
// the selection: the tool and styles saved when it began come back.
void Deselectionne(ImageDocument &doc, DocumentHost &host);
void Deselectionne2(ImageDocument &doc, DocumentHost &host);

// A mouse move while a paste floats: the ghost follows the mouse.
void floatMove(ImageDocument &doc, int x, int y);
// The click while a paste floats: the plain bitmap is dropped where the ghost was.
void dropPaste(ImageDocument &doc, DocumentHost &host);

} // namespace vermeo::selection
