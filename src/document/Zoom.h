#pragma once
// The view scale: the picture itself is rescaled (nearest-neighbour) to a multiple
// or fraction of its actual size. The actual-size picture is kept aside while zoomed,
// so a return to actual size gives back every pixel that was not painted over;
// what was painted while zoomed comes back rescaled.
#include "DocumentHost.h"
#include "ImageDocument.h"

#include <QSize>

namespace vermeo::zoom {

void ZInit(ImageDocument &doc, DocumentHost &host);   // "Taille réelle"
void ZAvant(ImageDocument &doc, DocumentHost &host);  // "Zoom a&vant"
void ZArriere(ImageDocument &doc, DocumentHost &host); // "Zoom a&rrière"

// The picture size of a level for the document's base size (never below 1 x 1).
QSize levelSize(const ImageDocument &doc, int level);

// The picture at actual size as ZInit would give it, without changing the view.
QImage actualSizeImage(const ImageDocument &doc);

// Applies a size-keeping whole-picture transform (a mirror) to the picture and,
// while zoomed, to the kept actual-size picture too, so no detail is lost.
void transformKeepingZoom(ImageDocument &doc, QImage (*transform)(const QImage &));

} // namespace vermeo::zoom
