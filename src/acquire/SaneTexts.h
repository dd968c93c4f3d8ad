#pragma once
// SANE's option values in French: the backends' texts ("Flatbed", "Gray", "Color") are
// English, their translations are the "sane-backends" message catalogue that Debian
// ships. The catalogue is read directly, so the French does not depend on the session's
// locale (nor on a French locale being installed).
#include <QHash>
#include <QString>

namespace vermeo::acquire {

// The French of a SANE text; the text itself when the catalogue has none.
QString saneFrench(const QString &text);

// The entries of a GNU message catalogue (.mo), original to translation; empty when the
// file cannot be read or is no catalogue. Entries with a context or plural forms are left out.
QHash<QString, QString> readMessageCatalogue(const QString &fileName);

} // namespace vermeo::acquire
