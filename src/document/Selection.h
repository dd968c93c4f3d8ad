#pragma once
// The selection and the floating paste of a document. Their marks (the dotted outline,
// the inverted ghost) are drawn over the view by the window, never into the picture.
#include "DocumentHost.h"
#include "ImageDocument.h"

namespace vermeo::selection {

// Ends the rectangular (Deselectionne) or oval (Deselectionne2) selection: its outline
// goes, and the tool chosen before it comes back. The drawing styles are not touched.
void Deselectionne(ImageDocument &doc, DocumentHost &host);
void Deselectionne2(ImageDocument &doc, DocumentHost &host);
// Ends whichever selection is shown.
void endSelection(ImageDocument &doc, DocumentHost &host);

// The selection's covered area in view coordinates, whichever way it was dragged.
QRect viewArea(const ImageDocument &doc);
// The same area of the picture at actual size.
QRect pictureArea(const ImageDocument &doc);

// A bitmap drawn into the picture at actual size, its top-left at a picture point, so
// that a paste keeps its size in picture pixels whatever the zoom.
void drawIntoPicture(ImageDocument &doc, QPoint at, const QImage &bitmap);
// The floating paste's size on the view: its picture pixels at the view's scale.
QSize ghostSize(const ImageDocument &doc);
// The picture point that a view point stands for (also left of or above the picture).
QPoint picturePointOf(const ImageDocument &doc, QPoint viewPoint);

// A mouse move while a paste floats: the ghost follows the mouse.
void floatMove(ImageDocument &doc, int x, int y);
// Escape while a paste floats: its ghost goes and nothing is drawn.
void cancelPaste(ImageDocument &doc, DocumentHost &host);
// The click while a paste floats: the paste is drawn once where its ghost was.
void dropPaste(ImageDocument &doc, DocumentHost &host);

} // namespace vermeo::selection
