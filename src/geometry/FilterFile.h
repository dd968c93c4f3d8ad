#pragma once
// The filter file "Vermeo.flt": one line per filter, the nine values of the grid
// (Edit1 .. Edit9) separated by single spaces, a TAB, the filter's name; lines end
// with CR LF. Values are written with the user's decimal separator and read with
// either, so a file written under one locale reads under another.
#include <QLocale>
#include <QString>
#include <QStringList>
#include <optional>

namespace vermeo::geometry {

// The list of the file, one line per filter; a missing file gives an empty list.
// A file that cannot be read, or is no text, throws VermeoError (French).
QStringList readFilterFile(const QString &fileName);
// Writes the list whole through a temporary file renamed over the target, so a failed
// save leaves the file that was there.
void writeFilterFile(const QString &fileName, const QStringList &lines);

// What the list shows: the text after the first TAB (at most 255 characters), or the
// whole line when it has none.
QString filterName(const QString &line);
// The nine value texts before the first TAB, split at single spaces (missing pieces
// are empty); nine empty texts when the line has no TAB.
QStringList filterFields(const QString &line);
// Whether the line holds a whole filter: a TAB, and before it nine values and nothing
// more. A damaged line still reads by the rule above, but gives no filter to apply.
bool filterLineReadable(const QString &line);
// A line of the file from the nine value texts and the name (a TAB or line break in
// the name would cut the entry in two: they become spaces).
QString filterLine(const QStringList &fields, const QString &name);

// A value as typed or as read from the file, with "," or "." as decimal separator.
std::optional<double> parseFilterValue(const QString &text);
// A value as the grid shows it once stored: clamped to the coefficient range, in
// hundredths, two decimals with the locale's separator ("0,50" in French).
QString formatFilterValue(double value, const QLocale &locale = QLocale());

} // namespace vermeo::geometry
