#include "RecentFiles.h"
#include "Error.h"
#include "FileAccess.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace vermeo {

namespace {
// One file under its one name: through links and "..", as the file system knows it.
QString fullName(const QString &fileName)
{
    const QFileInfo info(fileName);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}
} // namespace

RecentFiles::RecentFiles() { load(); }

QString RecentFiles::storePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/vermeo/fichiers-recents");
}

void RecentFiles::load()
{
    m_names.clear();
    QFile f(storePath());
    if (!f.open(QIODevice::ReadOnly))
        return;
    // A damaged list loses its odd lines, never the program's start.
    const QStringList lines = QString::fromUtf8(f.read(64 * 1024)).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString &line : lines)
        if (QDir::isAbsolutePath(line) && !m_names.contains(line) && m_names.size() < kKept)
            m_names << line;
}

void RecentFiles::store()
{
    const QString path = storePath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    try {
        writeFileAtomically(path, (m_names.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
    } catch (const VermeoError &e) {
        // The list is a convenience: a read-only configuration folder costs only the list.
        qWarning("%s", qPrintable(e.message()));
    }
}

void RecentFiles::add(const QString &fileName)
{
    if (fileName.isEmpty())
        return;
    // Another run may have added its own since: theirs stay, below this one.
    load();
    const QString name = fullName(fileName);
    m_names.removeAll(name);
    m_names.prepend(name);
    while (m_names.size() > kKept)
        m_names.removeLast();
    store();
}

void RecentFiles::remove(const QString &fileName)
{
    load();
    m_names.removeAll(fileName);
    store();
}

} // namespace vermeo
