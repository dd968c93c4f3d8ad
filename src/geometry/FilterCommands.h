#pragma once
// "Fi&ltres..." and "Effets &spéciaux..." of the "&Image" menu.
#include "DocumentHost.h"
#include "ImageDocument.h"

#include <QString>

namespace vermeo::geometry {

// The filter dialog on the list of filterFile; the list is saved at every close, and an
// accepted filter is convolved over the whole picture in the apply frame.
void Filtres(ImageDocument &doc, DocumentHost &host, const QString &filterFile);
// The effects dialog; its working picture replaces the picture when accepted. An undo
// step and the modified flag follow the dialog whichever way it closed.
void Speciaux(ImageDocument &doc, DocumentHost &host);

} // namespace vermeo::geometry
