#pragma once
// The commands of the "Couleurs" menu on one document. The image window calls each
// from its method of the same name; every dialog goes through the dialog runner.
#include "DocumentHost.h"
#include "ImageDocument.h"

namespace vermeo::colour {

// Tone.
void Luminosite(ImageDocument &doc, DocumentHost &host);
void Clarte(ImageDocument &doc, DocumentHost &host);
void Contraste(ImageDocument &doc, DocumentHost &host);
void Saturation(ImageDocument &doc, DocumentHost &host);
void Teinte(ImageDocument &doc, DocumentHost &host);
void Solariser(ImageDocument &doc, DocumentHost &host);

// Channels.
void Balance(ImageDocument &doc, DocumentHost &host);
void Permuter(ImageDocument &doc, DocumentHost &host);
void Remplacer(ImageDocument &doc, DocumentHost &host); // brush colour -> pen colour
void Gris(ImageDocument &doc, DocumentHost &host);
void Inverse(ImageDocument &doc, DocumentHost &host);
void Monochrome(ImageDocument &doc, DocumentHost &host);
void Separation(ImageDocument &doc, DocumentHost &host); // edits the pen colour swatch only

// Looking at the picture.
void Histogramme(ImageDocument &doc, DocumentHost &host);
void Compter(ImageDocument &doc, DocumentHost &host);

// Shadow and gradients (type 1: +5 per band, type 2: -5), from host.foreColour().
void Ombrer(ImageDocument &doc, DocumentHost &host);
void Degrade(ImageDocument &doc, DocumentHost &host, int type);
void Degrade2(ImageDocument &doc, DocumentHost &host, int type);

} // namespace vermeo::colour
