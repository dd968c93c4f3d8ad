#pragma once
// The "&Image" menu's filtered resampling, rotation and skew. Dialogs go through
// DialogRunner; a failure throws VermeoError with the picture left as it was.
#include "DocumentHost.h"
#include "ImageDocument.h"

namespace vermeo::geometry {

void Rechantilloner(ImageDocument &doc, DocumentHost &host); // "Rééchanti&lloner..."
void Rotation(ImageDocument &doc, DocumentHost &host);       // "R&otation..."
void Inclinaison(ImageDocument &doc, DocumentHost &host);    // "&Incliner..."

} // namespace vermeo::geometry
