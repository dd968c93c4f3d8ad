#pragma once
// The libraries' own texts (libjpeg, giflib, Qt's readers) are logged here, in English,
// for whoever debugs; the user reads the French reason. Off unless enabled
// (vermeo-cli --verbose).
#include <QLoggingCategory>

namespace vermeo::formats {
Q_DECLARE_LOGGING_CATEGORY(lcFormats)
}
