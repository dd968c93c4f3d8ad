#pragma once
// A file that ends before its last row. Where the caller asks for it (the window's
// "Ouvrir"), the part read is kept and *truncated is set; everywhere else it is an error.
#include "Error.h"

namespace vermeo::formats {

inline QString truncatedReason() { return QStringLiteral("fichier tronqué"); }

// Called where a reader meets the end too early: throws unless the caller takes partial
// pictures.
inline void endedEarly(bool *truncated)
{
    if (!truncated)
        throw VermeoError(truncatedReason());
    *truncated = true;
}

} // namespace vermeo::formats
