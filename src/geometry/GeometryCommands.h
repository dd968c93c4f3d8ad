#pragma once
// The "&Image" menu's whole-picture geometry: resize, canvas enlargement, crop,
// frame and the two mirrors. Dialogs go through DialogRunner; a bad size throws
// VermeoError with the picture left as it was.
#include "DocumentHost.h"
#include "ImageDocument.h"

namespace vermeo::geometry {

void Redimensionne(ImageDocument &doc, DocumentHost &host); // "&Redimensionner..."
void Agrandir(ImageDocument &doc, DocumentHost &host);      // "&Agrandir le support..."
void Recadrer(ImageDocument &doc, DocumentHost &host);      // "Re&cadrer"
void Encadre(ImageDocument &doc, DocumentHost &host);       // "&Encadrer"
void MiroirH(ImageDocument &doc, DocumentHost &host);       // "Miroir &horizontal"
void MiroirV(ImageDocument &doc, DocumentHost &host);       // "Miroir &vertical"

// For the commands that change the size (here and in the resampling):
// The size asked in "Redimensiooner", the undo record opened before the dialog (it
// stands also when the user cancels); false when no change was asked.
bool askNewSize(ImageDocument &doc, DocumentHost &host, int &w, int &h);
// A picture of a new size, shown at actual size with its size in the status bar; the
// depth and palette stay (keepDepth) or the picture becomes true colour.
void showResized(ImageDocument &doc, DocumentHost &host, const QImage &img, bool keepDepth);

} // namespace vermeo::geometry
