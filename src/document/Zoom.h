#pragma once
// The view scale: the window shows the picture enlarged or reduced by whole steps; the
// picture itself stays at actual size. Each step is made from the actual-size picture.
#include "DocumentHost.h"
#include "ImageDocument.h"

namespace vermeo::zoom {

void ZInit(ImageDocument &doc, DocumentHost &host);    // "Taille réelle"
void ZAvant(ImageDocument &doc, DocumentHost &host);   // "Zoom a&vant"
void ZArriere(ImageDocument &doc, DocumentHost &host); // "Zoom a&rrière"

// The level as the status bar shows it: "Zoom : 1x", "Zoom : 3x", "Zoom : 1/2".
QString zoomCaption(int level);

} // namespace vermeo::zoom
