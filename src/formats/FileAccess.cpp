#include "FileAccess.h"
#include "Error.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace vermeo::formats {

QByteArray readWholeFile(const QString &fileName)
{
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly))
        throw VermeoError(f.exists() ? QStringLiteral("ouverture impossible (%1)").arg(f.errorString())
                                     : QStringLiteral("fichier introuvable"));
    if (QFileInfo(fileName).isDir())
        throw VermeoError(QStringLiteral("c'est un dossier"));
    if (f.size() > kMaxFileBytes)
        throw VermeoError(QStringLiteral("fichier trop grand"));
    QByteArray data = f.readAll();
    if (f.error() != QFileDevice::NoError)
        throw VermeoError(QStringLiteral("erreur de lecture (%1)").arg(f.errorString()));
    return data;
}

void writeFileAtomically(const QString &fileName, const QByteArray &bytes)
{
    // QSaveFile writes a temporary file beside the target and renames it on commit.
    QSaveFile f(fileName);
    f.setDirectWriteFallback(false);
    if (!f.open(QIODevice::WriteOnly))
        throw VermeoError(QStringLiteral("création impossible (%1)").arg(f.errorString()));
    if (f.write(bytes) != bytes.size()) {
        const QString why = f.errorString();
        f.cancelWriting();
        throw VermeoError(QStringLiteral("erreur d'écriture (%1)").arg(why));
    }
    if (!f.commit())
        throw VermeoError(QStringLiteral("enregistrement impossible (%1)").arg(f.errorString()));
}

QString fileNamePart(const QString &fileName) { return QFileInfo(fileName).fileName(); }

} // namespace vermeo::formats
