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

} // namespace vermeo::geometry
