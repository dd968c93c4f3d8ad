#pragma once
// The mouse cursor over the picture tells which tool a click will use: a cross for the
// shapes, the selections and the stamp, a pen, a bucket, a pipette, a text cursor, a spray.
#include "ImageDocument.h"

#include <QCursor>

namespace vermeo {

enum class CursorKind { Cross, Pen, Eraser, Bucket, Pipette, Text, Spray };

// The kind of cursor the document's current tool (or the colour pick) shows.
CursorKind cursorKindOf(const ImageDocument &doc);
// The cursor of a kind: one of Qt's shapes, or a small picture drawn here.
QCursor toolCursor(CursorKind kind);

} // namespace vermeo
