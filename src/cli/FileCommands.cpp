// vermeo-cli convert and info: picture files read and written by the window's rules.
#include "CliCommand.h"
#include "Error.h"
#include "PictureFiles.h"

#include <QFile>
#include <QTextStream>

namespace {

int convert(const QStringList &given)
{
    QStringList args = given;
    const vermeo::formats::WriteOptions options{args.removeAll(QStringLiteral("--sans-perte")) > 0};
    if (args.size() != 2)
        throw vermeo::VermeoError(QStringLiteral("convert attend deux arguments : ENTRÉE SORTIE"));
    // Band by band where both formats allow it; the write goes through a temporary
    // file either way, so a failure leaves no OUT behind.
    if (vermeo::formats::convertByBands(args[0], args[1]))
        return 0;
    const vermeo::Picture pic = vermeo::formats::readPictureFile(args[0]);
    vermeo::formats::writePictureFile(pic, args[1], options);
    return 0;
}

int info(const QStringList &args)
{
    if (args.size() != 1)
        throw vermeo::VermeoError(QStringLiteral("info attend un argument : ENTRÉE"));
    const vermeo::Picture pic = vermeo::formats::readPictureFile(args[0]);
    QTextStream out(stdout);
    out << pic.width() << " x " << pic.height() << "\n" << pic.depth << " bits par point\n";
    return 0;
}

const vermeo::cli::Registrar convertCommand({
    QStringLiteral("convert"), QStringLiteral("convert ENTRÉE SORTIE [--sans-perte]"),
    QStringLiteral("lit ENTRÉE comme « Ouvrir » et l'écrit dans SORTIE au format que donne son nom "
                   "(.jpeg, .png, .webp, sinon .jpg, .gif, .wmf, .emf, .pcx, .tif, sinon BMP) ; "
                   "--sans-perte : WebP sans perte plutôt qu'en qualité 90"),
    convert});

const vermeo::cli::Registrar infoCommand({
    QStringLiteral("info"), QStringLiteral("info ENTRÉE"),
    QStringLiteral("affiche la taille « L x H » de l'image et sa profondeur en bits par point"), info});

} // namespace
