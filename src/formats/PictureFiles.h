#pragma once
// Picture files chosen by name: the tests on the upper-cased full name, in their
// fixed orders, for the image window, the batch converter and vermeo-cli.
#include "Picture.h"

#include <QString>

namespace vermeo::formats {

// Reads as "&Ouvrir..." does: ".JPG", ".GIF", ".WMF", ".EMF", ".PCX" in the name,
// else the general picture reader by extension. Throws VermeoError naming the file.
Picture readPictureFile(const QString &fileName);
// Writes as "Enregistrer" does: ".JPG", ".GIF", ".WMF", ".EMF", ".PCX", ".TIF" in
// the name, else BMP. Through a temporary file renamed over the target.
void writePictureFile(const Picture &pic, const QString &fileName);

// The general picture reader: decoder by the file's extension (BMP, ICO, JPEG, WMF,
// EMF, GIF, PCX, and PNG and TIFF through Qt).
Picture readByExtension(const QString &fileName);

// What each table picks for a name, for the callers that need to know.
enum class FileKind { Jpeg, Gif, Wmf, Emf, Pcx, Tiff, Bmp, General };
FileKind readingKind(const QString &fileName);  // the window's reading column
FileKind batchReadingKind(const QString &fileName);
FileKind writingKind(const QString &fileName);

// Decodes bytes as the given kind (General picks by the name's extension).
Picture decodeAs(FileKind kind, const QByteArray &bytes, const QString &fileName);
QByteArray encodeAs(FileKind kind, const Picture &pic);

} // namespace vermeo::formats

namespace vermeo {
// The batch converter's window-less pair: reading takes any other name as a
// Windows bitmap.
void LitFichier(Picture &bitmap, const QString &fileName);
void EcritFichier(const Picture &bitmap, const QString &fileName);
} // namespace vermeo
