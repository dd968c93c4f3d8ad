#pragma once
// The tool-bar and tool-panel glyphs, drawn in code so the program ships no image files.
#include <QIcon>
#include <QString>

namespace vermeo {
QIcon glyph(const QString &name);
}
