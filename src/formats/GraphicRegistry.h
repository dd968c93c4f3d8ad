#pragma once
// The general picture reader's table of decoders by file extension. Graphic classes
// register themselves here (TPCX under "PCX").
#include "Picture.h"

#include <QByteArray>
#include <QString>
#include <functional>

namespace vermeo::formats {

using GraphicDecoder = std::function<Picture(const QByteArray &bytes)>;

// The extension is given without the dot, in any case. Returns true, for use in a
// static initialiser.
bool registerGraphicFormat(const QString &extension, GraphicDecoder decoder);
// Null when no decoder is registered for the extension.
GraphicDecoder findGraphicFormat(const QString &extension);

} // namespace vermeo::formats
