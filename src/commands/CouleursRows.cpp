// The "Couleurs" menu; on the command line, the same kernels with the values a user
// gives in the dialogs.
#include "Canvas.h"
#include "ChannelKernels.h"
#include "CliValues.h"
#include "CommandTable.h"
#include "Error.h"
#include "HistogramKernels.h"
#include "PictureFiles.h"
#include "ShadowGradient.h"
#include "ToneKernels.h"

#include <QTextStream>

namespace vermeo {

using namespace colour;
using commands::quiet;
using BandChange = CliForm::BandChange;
using Values = CliForm::Values;

namespace {

constexpr CommandParameter kRed{CommandParameter::Whole, "R", "Le pourcentage", -100, 100, 0, "SpinEdit1"};
constexpr CommandParameter kGreen{CommandParameter::Whole, "V", "Le pourcentage", -100, 100, 0, "SpinEdit2"};
constexpr CommandParameter kBlue{CommandParameter::Whole, "B", "Le pourcentage", -100, 100, 0, "SpinEdit3"};

using Kernel = QImage (*)(const QImage &, int, Progress &);

// A tone operation of one percentage, given to its kernel as the offset S x 255 div 100
// (saturation takes the percentage itself).
std::function<BandChange(const Values &)> toneBands(Kernel k, bool asOffset = true)
{
    return [k, asOffset](const Values &v) -> BandChange {
        const int p = int(kPercent.wholeValue(v[0]));
        const int s = asOffset ? percentToOffset(p) : p;
        if (s == 0)
            return {};
        return [k, s](QImage &band) { band = k(band, s, quiet()); };
    };
}

CliForm toneForm(const char *name, Kernel k, bool asOffset = true)
{
    return {.name = name, .values = {kPercent}, .bands = toneBands(k, asOffset)};
}

void tintPicture(Picture &p, const Values &v)
{
    const int s = percentToOffset(int(kPercent.wholeValue(v[0])));
    if (s == 0)
        return;
    // The dialog finds the dominant channel on its 132 x 99 preview.
    const int code = dominantChannel(stretchTo(p.image, 132, 99));
    p = Picture::fromImage(tint(p.image, code, s, quiet()));
}

CliForm gradientForm(const char *name, bool leftToRight)
{
    return {.name = name,
            .values = {kGradientType, commands::colourParameter("La couleur de départ")},
            .whole =
                [leftToRight](Picture &p, const Values &v) {
                    const int type = int(kGradientType.wholeValue(v[0]));
                    Canvas c(&p.image);
                    gradient(c, commands::colourValue(v[1]), type, leftToRight);
                },
            .summary = leftToRight ? "Dégradé de gauche à droite (1 : foncé vers clair, 2 : clair vers foncé) "
                                     "depuis la couleur donnée"
                                   : "Dégradé de haut en bas (1 : foncé vers clair, 2 : clair vers foncé) "
                                     "depuis la couleur donnée"};
}

int countCommand(const QStringList &args)
{
    if (args.size() != 1)
        throw VermeoError(QStringLiteral("« count » attend un seul fichier."));
    const Picture pic = formats::readPictureFile(args[0]);
    QTextStream(stdout) << countColours(pic.image, quiet()) << "\n";
    return 0;
}

} // namespace

// The rows stay one command to a line or two, as a table reads.
// clang-format off
std::vector<CommandRow> couleursRows()
{
    return {
        {"Inverser1", "&Inverser", "", "Inverser les couleurs", true, "couleurs.html#inverser", "",
         {.name = "inverse", .bands = [](const Values &) -> BandChange {
              return [](QImage &b) { b = invert(b); };
          }}},
        {"Remplacercouleur1", "&Remplacer couleur...", "", "Remplacer une couleur par une autre", true,
         "couleurs.html#remplacer-couleur", "TRCouleur",
         {.name = "remplacer",
          .values = {commands::colourParameter("La couleur remplacée"), commands::colourParameter("La nouvelle couleur")},
          .bands = [](const Values &v) -> BandChange {
              const TColour from = commands::colourValue(v[0]), to = commands::colourValue(v[1]);
              return [from, to](QImage &b) { replaceColour(b, from, to, quiet()); };
          },
          .keepsDepth = true}},
        {"Niveaudegris1", "&Niveau de gris", "", "mettre en niveaux de gris", true, "couleurs.html#niveaux-de-gris", "",
         {.name = "gris", .bands = [](const Values &) -> BandChange {
              return [](QImage &b) { b = greyscale(b, quiet()); };
          }}},
        {"Monochrome1", "&Monochrome", "", "Image noir et blanc", true, "couleurs.html#monochrome", "",
         {.name = "monochrome", .whole = [](Picture &p, const Values &) { p = monochrome(p.image); }}},
        {"SparationRVB1", "&Séparation RVB", "", "Séparer la couleur en composantes RVB", true,
         "couleurs.html#separation-rvb", "TRvb"},
        {"Histogramme1", "&Histogramme", "", "Histogramme des couleurs", true, "couleurs.html#histogramme", "THisto"},
        {"Compterlescouleurs1", "C&ompter les couleurs", "", "Compter les couleurs", true,
         "couleurs.html#compter-couleurs", "",
         {.name = "count", .command = countCommand, .usage = "count ENTRÉE",
          .summary = "Affiche le nombre de couleurs distinctes de l'image."}},
        {"", "-"},
        {"Balancedescouleurs1", "&Balance des couleurs...", "", "Balance des couleurs", true, "couleurs.html#balance",
         "TBalCoul",
         {.name = "balance", .values = {kRed, kGreen, kBlue}, .bands = [](const Values &v) -> BandChange {
              const int r = percentToOffset(int(kRed.wholeValue(v[0]))),
                        g = percentToOffset(int(kGreen.wholeValue(v[1]))),
                        b = percentToOffset(int(kBlue.wholeValue(v[2])));
              return [r, g, b](QImage &band) { band = balance(band, r, g, b, quiet()); };
          }}},
        {"Luminosit1", "&Luminosité...", "", "Régler la luminosité", true, "couleurs.html#luminosite", "TLumin",
         toneForm("luminosite", brightness)},
        {"Clart1", "Cl&arté...", "", "Régler la clarté", true, "couleurs.html#clarte", "TClart",
         toneForm("clarte", clarity)},
        {"Contraste1", "&Contraste...", "", "Régler le contraste", true, "couleurs.html#contraste", "TContrast",
         toneForm("contraste", contrast)},
        {"Saturation1", "S&aturation...", "", "Régler la saturation", true, "couleurs.html#saturation", "TSatur",
         toneForm("saturation", saturation, false)},
        {"Teinte1", "&Teinte...", "", "Régler la couleur domminante", true, "couleurs.html#teinte", "TTeint",
         {.name = "teinte", .values = {kPercent}, .whole = tintPicture}},
        {"Solariser1", "S&olariser...", "", "Solariser", true, "couleurs.html#solariser", "TSolar",
         {.name = "solariser", .values = {kSolariseThreshold}, .bands = [](const Values &v) -> BandChange {
              const int t = int(kSolariseThreshold.wholeValue(v[0]));
              if (t == 0)
                  return {};
              return [t](QImage &b) { b = solarise(b, t, quiet()); };
          }}},
        {"PermuterRBV1", "&Permuter RBV...", "", "Permuter les couleurs", true, "couleurs.html#permuter", "TPermut",
         {.name = "permuter", .values = {kPermutation}, .bands = [](const Values &v) -> BandChange {
              const int order = commands::choiceValue(kPermutation, v[0], QStringLiteral("Permutation inconnue")) + 1;
              return [order](QImage &b) { b = permute(b, order, quiet()); };
          }}},
        {"Ombrer1", "Ombr&er...", "", "Ajouter une ombre", true, "couleurs.html#ombrer", "TOmbre",
         {.name = "ombrer", .values = {kShadowLength, kShadowSide}, .whole = [](Picture &p, const Values &v) {
              const int length = int(kShadowLength.wholeValue(v[0]));
              const int side = commands::choiceValue(kShadowSide, v[1], QStringLiteral("Côté de l'ombre inconnu")) + 1;
              p = Picture::fromImage(shadow(p.image, length, side, quiet()));
          }}},
        {"Dgrad1", ">&Dégradé", "", "Fond en dégradé", true, "couleurs.html#degrade"},
        {"Foncclair1", "&Haut -> Bas, Foncé -> Clair", "", "Dégradé de foncé vers clair", true,
         "couleurs.html#degrade-haut-fonce", "", gradientForm("degrade", false)},
        {"ClairFonc1", "Haut -> &Bas, Clair -> Foncé", "", "Dégradé du clair vers le foncé", true,
         "couleurs.html#degrade-haut-clair"},
        {"GaucheDroiteFoncClair1", "&Gauche -> Droite, Foncé -> Clair", "", "", true,
         "couleurs.html#degrade-gauche-fonce", "", gradientForm("degrade2", true)},
        {"GaucheDroiteFoncClair2", "Gauche -> &Droite, Clair -> Foncé", "", "", true,
         "couleurs.html#degrade-gauche-clair"},
        {"", "<"},
    };
}
// clang-format on

} // namespace vermeo
