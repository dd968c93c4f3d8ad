#include "FormatsLog.h"

namespace vermeo::formats {
Q_LOGGING_CATEGORY(lcFormats, "vermeo.formats", QtWarningMsg)
}
