#pragma once
// How vermeo-cli writes a picture: as "Enregistrer" does, with "--palette" deciding for
// a palette picture whose colours no longer fit its palette (the window asks instead).
#include "PictureFiles.h"

namespace vermeo::cli {

// "--palette 24bits|reduire", anywhere on the line: taken out of args. False, with the
// French message in error, for another value.
bool takePaletteOption(QStringList &args, QString &error);

// Writes pic to fileName; when its palette overflowed, says on one line what was done.
void writePicture(const Picture &pic, const QString &fileName, bool lossless = false);

} // namespace vermeo::cli
