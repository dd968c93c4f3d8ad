#pragma once
// Selecting the whole picture, copy, cut, delete and the three pastes, through the
// system clipboard (bitmaps only), so other programs exchange pictures with us.
#include "DocumentHost.h"
#include "ImageDocument.h"

#include <QImage>

namespace vermeo::clipboard {

// "&Tout sélectionner": a rectangular selection of the whole picture.
void SelectImg(ImageDocument &doc, DocumentHost &host);
// "Co&pier": the selected area of the picture (oval: white outside the ellipse) goes to
// the clipboard at actual size and the selection ends. Without a selection nothing happens.
void Copier(ImageDocument &doc, DocumentHost &host);
// "&Couper": a rectangular selection is copied, then painted white.
void Couper(ImageDocument &doc, DocumentHost &host);
// The Delete key (Qt::Key_Delete) with a rectangular selection paints it white and
// ends the selection. Other keys do nothing.
void FormKeyDown(ImageDocument &doc, DocumentHost &host, int key);
void DeleteKey(ImageDocument &doc, DocumentHost &host);
// "C&oller": the clipboard bitmap drawn at (0, 0) (the main window has made a new
// window of the bitmap's size first).
void Coller(ImageDocument &doc, DocumentHost &host);
// "Collage &spécial": the clipboard bitmap floats under the mouse until a click drops it.
void CollerSel(ImageDocument &doc, DocumentHost &host);
// A captured or scanned bitmap drawn at (0, 0); no undo copy.
void CollerEcran(ImageDocument &doc, DocumentHost &host, const QImage &bitmap);

// White outside the ellipse inscribed in the bitmap.
void CopyEllipse(QImage &bitmap);

// Whether the clipboard holds a bitmap, and that bitmap (null when none), in the
// working format.
bool clipboardHasBitmap();
QImage clipboardBitmap();

} // namespace vermeo::clipboard
