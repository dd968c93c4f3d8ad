#pragma once
// Whole-file reading with a size bound, and saving through a temporary file that is
// renamed over the target, so a failed save never damages the file that was there.
#include <QByteArray>
#include <QString>
#include <functional>

namespace vermeo::formats {

// Files above this are refused before reading (no picture we hold needs more).
constexpr qint64 kMaxFileBytes = 2'000'000'000LL;

// The whole file; throws VermeoError with a French reason.
QByteArray readWholeFile(const QString &fileName);

// Writes bytes to fileName through a temporary file in the same folder.
void writeFileAtomically(const QString &fileName, const QByteArray &bytes);

// The file-name part, as shown in captions and messages.
QString fileNamePart(const QString &fileName);

} // namespace vermeo::formats
