#pragma once
// The "&Image" menu's commands that bring in another picture: merging, tiling and the
// fractal generator.
#include "DocumentHost.h"
#include "ImageDocument.h"

namespace vermeo::geometry {

void Fusionner(ImageDocument &doc, DocumentHost &host); // "&Fusionner..."
void Mosaique(ImageDocument &doc, DocumentHost &host);  // "&Mosaïque..."
void Fractales(ImageDocument &doc, DocumentHost &host); // "Frac&tales..."

} // namespace vermeo::geometry
