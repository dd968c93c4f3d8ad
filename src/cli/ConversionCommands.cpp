// vermeo-cli conversions: the batch converter of "Conversions multiples" on a list of files.
#include "BatchConversion.h"
#include "CliCommand.h"
#include "Error.h"

#include <QTextStream>

namespace {

int conversions(const QStringList &args)
{
    if (args.size() < 3)
        throw vermeo::VermeoError(QStringLiteral("conversions attend FORMAT DESTINATION FICHIER..."));
    const QString format = vermeo::formats::conversionFormat(args[0]);
    if (format.isEmpty())
        throw vermeo::VermeoError(QStringLiteral("format « %1 » inconnu (%2)")
                                      .arg(args[0], vermeo::formats::conversionFormats().join(QStringLiteral(", "))));
    const vermeo::formats::ConversionReport report = vermeo::formats::convertFiles(args.mid(2), args[1], format);
    // One line per failure on stderr, the count on stdout: a script can read both.
    QTextStream err(vermeo::cli::errorOutput());
    for (const auto &f : report.failures)
        err << "vermeo-cli : " << f.reason << "\n";
    QTextStream(stdout) << report.converted << " fichiers convertis\n";
    return report.failures.empty() ? 0 : 1;
}

const vermeo::cli::Registrar conversionsCommand({
    QStringLiteral("conversions"), QStringLiteral("conversions FORMAT DESTINATION FICHIER..."),
    QStringLiteral("convertit chaque FICHIER au FORMAT (Jpg, Gif, Bmp, Pcx, Tif, Wmf, Emf, Webp) dans le dossier "
                   "DESTINATION (\"\" : le dossier courant) comme « Conversions multiples » : photo.old.bmp "
                   "donne photo.Pcx ; un fichier illisible n'arrête pas les autres"),
    conversions});

} // namespace
