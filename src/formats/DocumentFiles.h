#pragma once
// Loading into and saving from an open document: "&Ouvrir...", "&Enregistrer" and
// "Enregistrer &sous...", with their dialogs.
#include "DocumentHost.h"
#include "ImageDocument.h"

#include <QString>
#include <functional>

class QWidget;

namespace vermeo::formats {

// The dialogs' filter strings, as pairs of description and patterns separated by "|".
extern const QString kOpenPictureFilter;
extern const QString kSavePictureFilter;
// The extension given by each save filter (in order) to a name typed without a ".".
extern const QStringList kSaveFilterExtensions;

// "Desc|*.a;*.b|Desc2|*.c" -> "Desc (*.a *.b);;Desc2 (*.c)". Each description stays as
// it stands (with hideFilterPatterns the dialog shows it alone); patterns written
// without their dot ("*wmf") are read as the extension they mean.
QString delphiFilterToQt(const QString &filter);

// Loads fileName into the document. On failure throws VermeoError (French, naming the
// file) and leaves the document exactly as it was.
void Charge(ImageDocument &doc, DocumentHost &host, const QString &fileName);

// Shows the save dialog; false when cancelled (nothing changed). Otherwise sets
// FileName (adding the chosen filter's extension to a name without ".") and Modif.
bool SaveAs(ImageDocument &doc, DocumentHost &host);

// "&Enregistrer" (saveAs false) and "Enregistrer &sous..." (true). Returns true when a
// file was written; the caller then sets the caption to the file-name part of
// doc.FileName. zInit returns the view to actual size. Throws VermeoError when the
// file cannot be written; the document then keeps its name and modified flag.
bool Sauve(ImageDocument &doc, DocumentHost &host, bool saveAs, const std::function<void()> &zInit);

// The main window's open dialog with a preview; an empty string when cancelled.
QString askOpenPictureName(QWidget *parent);

} // namespace vermeo::formats
