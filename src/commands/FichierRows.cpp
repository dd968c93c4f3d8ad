// The "Fichier" menu, and the commands of vermeo-cli on picture files that no menu
// item has: pictures read and written by the window's rules.
#include "BatchConversion.h"
#include "CliValues.h"
#include "CommandTable.h"
#include "Error.h"
#include "PictureFiles.h"
#include "PictureOutput.h"

#include <QTextStream>
#include <cstdio>

namespace vermeo {

namespace {

int convert(const QStringList &given)
{
    QStringList args = given;
    const bool lossless = args.removeAll(QStringLiteral("--sans-perte")) > 0;
    if (args.size() != 2)
        throw VermeoError(QStringLiteral("convert attend deux arguments : ENTRÉE SORTIE"));
    // Band by band where both formats allow it; the write goes through a temporary
    // file either way, so a failure leaves no OUT behind.
    if (formats::convertByBands(args[0], args[1]))
        return 0;
    const Picture pic = formats::readPictureFile(args[0]);
    cli::writePicture(pic, args[1], lossless);
    return 0;
}

int info(const QStringList &args)
{
    if (args.size() != 1)
        throw VermeoError(QStringLiteral("info attend un argument : ENTRÉE"));
    // From the headers: a large picture's size comes without decoding it.
    const formats::PictureInfo pic = formats::pictureFileInfo(args[0]);
    QTextStream out(stdout);
    out << pic.size.width() << " x " << pic.size.height() << "\n" << pic.depth << " bits par point\n";
    return 0;
}

int conversions(const QStringList &args)
{
    if (args.size() < 3)
        throw VermeoError(QStringLiteral("conversions attend FORMAT DESTINATION FICHIER..."));
    const QString format = formats::conversionFormat(args[0]);
    if (format.isEmpty())
        throw VermeoError(QStringLiteral("format « %1 » inconnu (%2)")
                              .arg(args[0], formats::conversionFormats().join(QStringLiteral(", "))));
    const formats::ConversionReport report = formats::convertFiles(args.mid(2), args[1], format);
    // One line per failure on stderr, the count on stdout: a script can read both.
    QTextStream err(commands::errorOutput());
    for (const auto &f : report.failures)
        err << "vermeo-cli : " << f.reason << "\n";
    QTextStream(stdout) << report.converted << " fichiers convertis\n";
    return report.failures.empty() ? 0 : 1;
}

} // namespace

const std::vector<CommandRow> &cliOnlyCommands()
{
    static const std::vector<CommandRow> rows = [] {
        std::vector<CommandRow> all = {
            {"",
             "",
             "",
             "",
             false,
             "vermeo-cli.html",
             "",
             {.name = "convert",
              .command = convert,
              .usage = "convert ENTRÉE SORTIE [--sans-perte]",
              .summary = "lit ENTRÉE comme « Ouvrir » et l'écrit dans SORTIE au format que donne son nom "
                         "(.jpeg, .png, .webp, sinon .jpg, .gif, .wmf, .emf, .pcx, .tif, sinon BMP) ; "
                         "--sans-perte : WebP sans perte plutôt qu'en qualité 90"}},
            {"",
             "",
             "",
             "",
             false,
             "vermeo-cli.html",
             "",
             {.name = "info",
              .command = info,
              .usage = "info ENTRÉE",
              .summary = "affiche la taille « L x H » de l'image et sa profondeur en bits par point"}},
        };
        for (CommandRow &r : imageCliRows())
            all.push_back(std::move(r));
        return all;
    }();
    return rows;
}

std::vector<CommandRow> fichierRows()
{
    return {
        {"FileNewItem", "&Nouveau...", "", "Créer un nouveau fichier", false, "fichier.html#nouveau", "TNouveau"},
        {"FileOpenItem", "&Ouvrir...", "", "Ouvrir un fichier existant", false, "fichier.html#ouvrir"},
        // Filled by the main window with the last pictures opened or saved.
        {"Fichiersrcents1", ">Fichiers &récents", "", "Rouvrir une image ouverte ou enregistrée récemment", false,
         "fichier.html#fichiers-recents"},
        {"", "<"},
        {"FileCloseItem", "&Fermer", "", "Fermer fichier en cours", true, "fichier.html#fermer"},
        {"", "-"},
        {"FileSaveItem", "&Enregistrer", "Ctrl+S", "Enregistrer le fichier en cours", true, "fichier.html#enregistrer"},
        {"FileSaveAsItem", "Enregistrer &sous...", "", "Enregistrer le fichier en cours sous...", true,
         "fichier.html#enregistrer-sous"},
        {"", "-"},
        {"Parcourir1", "&Parcourir...", "", "Afficher les images sous forme de vignettes", false,
         "fichier.html#parcourir", "TCat|TVignettes"},
        {"Conversionsmultiples1",
         "Conversions &multiples...",
         "",
         "Convertir un groupe d'images",
         false,
         "fichier.html#conversions-multiples",
         "TConvert",
         {.name = "conversions",
          .command = conversions,
          .usage = "conversions FORMAT DESTINATION FICHIER...",
          .summary = "convertit chaque FICHIER au FORMAT (Jpg, Gif, Bmp, Pcx, Tif, Wmf, Emf, Webp) dans le dossier "
                     "DESTINATION (\"\" : le dossier courant) comme « Conversions multiples » : photo.old.bmp "
                     "donne photo.Pcx ; un fichier illisible n'arrête pas les autres"}},
        {"Capturecran1", "Capt&ure écran", "", "Faire une capture d'écran", false, "fichier.html#capture-ecran"},
        {"Acqurir1", "A&cquérir...", "", "Scanner une image", false, "fichier.html#acquerir", "TNumerisation"},
        {"Slectionnersource1", "Sélectionner so&urce...", "", "Sélectionner la source de données", false,
         "fichier.html#selectionner-source", "TSource"},
        {"", "-"},
        {"Configurationimprimante1", "&Configuration imprimante", "", "Configuer l'imprimante", false,
         "fichier.html#configuration-imprimante"},
        {"Miseenpage1", "&Mise en page...", "", "fixer les marges", true, "fichier.html#mise-en-page", "TMep"},
        {"Apercuavantimpression1", "&Aperçu avant impression", "", "aperçcu avant impression", true,
         "fichier.html#apercu", "TEcran"},
        {"Imprimer1", "&Imprimer...", "", "Imprimer", true, "fichier.html#imprimer"},
        {"", "-"},
        {"FileExitItem", "&Quitter", "", "Quitter l'application", false, "fichier.html#quitter"},
    };
}

} // namespace vermeo
