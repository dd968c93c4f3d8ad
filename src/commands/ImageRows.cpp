// The "Image" menu; on the command line, the same kernels with the values a user gives
// in the dialogs, to the bit what the program makes of them.
#include "Canvas.h"
#include "CliValues.h"
#include "CommandTable.h"
#include "Convolution.h"
#include "EffectTable.h"
#include "Error.h"
#include "FilterFile.h"
#include "FractalDrawing.h"
#include "Merge.h"
#include "PictureFiles.h"
#include "PictureOutput.h"
#include "PixelRows.h"
#include "ProgramRandom.h"
#include "Resample.h"
#include "Rotate.h"
#include "Skew.h"
#include "Tiling.h"

#include <limits>
#include <memory>

namespace vermeo {

using namespace geometry;
using Values = CliForm::Values;

namespace {

constexpr CommandParameter kWidth{CommandParameter::Whole, "L", "La largeur", 1, kMaxSide, 0, "Edit1"};
constexpr CommandParameter kHeight{CommandParameter::Whole, "H", "La hauteur", 1, kMaxSide, 0, "Edit2"};
constexpr CommandParameter kTurn{CommandParameter::Text, "gauche|droite|180|DEGRÉS", "L'angle (ou gauche, droite)"};
constexpr CommandParameter kMergeOperation{CommandParameter::Text, "1..6|and|merge-paint|not-src|not-src-erase|or|xor",
                                           "L'opération"};
constexpr CommandParameter kSecondFile{CommandParameter::Text, "FICHIER2", "Le fichier à fusionner"};
constexpr CommandParameter kTile{CommandParameter::Text, "TUILE", "Le fichier de la tuile"};

QString filterNames()
{
    QStringList names;
    for (const ResampleFilter &f : resampleFilters())
        names << QString::fromLatin1(f.name);
    return names.join(QStringLiteral(", "));
}

// The filter of "--filtre NOM": Mitchell when none is named.
const ResampleFilter &resampleFilter(const QString &filterName)
{
    const ResampleFilter *f = filterName.isEmpty() ? &mitchellFilter() : findResampleFilter(filterName);
    if (!f)
        throw VermeoError(QStringLiteral("Filtre inconnu « %1 » : %2.").arg(filterName, filterNames()));
    return *f;
}

void resample(Picture &pic, const Values &v, const QString &filterName)
{
    const int w = int(kWidth.wholeValue(v[0]));
    const int h = int(kHeight.wholeValue(v[1]));
    const ResampleFilter &f = resampleFilter(filterName);
    pic = Picture::fromImage(ResampleStretch(pic.image, w, h, f, f.support, silentProgress()));
}

MadeRows resampledRows(const Picture &pic, const Values &v)
{
    const int w = int(kWidth.wholeValue(v[0]));
    const int h = int(kHeight.wholeValue(v[1]));
    const ResampleFilter &f = resampleFilter(v[2]);
    auto made = std::make_shared<ResampledRows>(pic.image, w, h, f, f.support);
    return {w, h, [made](int y0, int count, RowsOf<QRgb> rows) { made->make(y0, count, rows); },
            ResampledRows::kBand};
}

MadeRows resampledFeed(const RowFeed &feed, const Values &v)
{
    const int w = int(kWidth.wholeValue(v[0]));
    const int h = int(kHeight.wholeValue(v[1]));
    const ResampleFilter &f = resampleFilter(v[2]);
    auto made = std::make_shared<FedResampledRows>(feed, w, h, f, f.support);
    return {w, h, [made](int y0, int count, RowsOf<QRgb> rows) { made->make(y0, count, rows); },
            ResampledRows::kBand};
}

// The angle of the values of "rotation": gauche, droite or a whole number of degrees.
double rotationValue(const Values &v)
{
    const QString which = v[0].toLower();
    int choice = 4, typed = 0;
    if (which == QLatin1String("gauche"))
        choice = 1;
    else if (which == QLatin1String("droite"))
        choice = 2;
    else
        typed = int(wholeNumber(v[0], std::numeric_limits<int>::min(), std::numeric_limits<int>::max(),
                                QString::fromUtf8(kTurn.what)));
    return rotationAngle(choice, typed);
}

void rotate(Picture &pic, const Values &v)
{
    const QImage turned = rotateImage(pic.image, rotationBackground(pic.image), rotationValue(v), silentProgress());
    pic = Picture::fromImage(turned);
}

MadeRows rotatedRows(const Picture &pic, const Values &v)
{
    auto turned = std::make_shared<RotatedRows>(pic.image, rotationBackground(pic.image), rotationValue(v));
    const QSize size = turned->size();
    return {size.width(), size.height(),
            [turned](int y0, int count, RowsOf<QRgb> rows) { turned->make(y0, count, rows); }};
}

MadeRows rotatedPacked(const PackedPixels &pixels, const Values &v)
{
    // Quarter turns move whole blocks of working pixels: they read a picture made first.
    const double angle = reducedAngle(rotationValue(v));
    if (angle == 0.0 || angle == 90.0 || angle == 180.0 || angle == 270.0)
        return {};
    auto turned = std::make_shared<RotatedRows>(pixels, rotationBackground(pixels), angle);
    const QSize size = turned->size();
    // Each band made is checked: rows made from a file cut short meanwhile are never written.
    return {size.width(), size.height(), [turned, pixels](int y0, int count, RowsOf<QRgb> rows) {
                turned->make(y0, count, rows);
                if (pixels.check)
                    pixels.check();
            }};
}

void skew(Picture &pic, const Values &v)
{
    const int angle = int(kSkewAngle.wholeValue(v[0]));
    const int side = commands::choiceValue(kSkewSide, v[1], QStringLiteral("Côté inconnu"));
    if (angle == 0)
        return;
    SkewResult r = skewImage(pic.image, angle, SkewDirection(side + 1), silentProgress());
    // The corner takes a new window's brush: solid white.
    fillSkewCorner(r.image, r.corner, clWhite, bsSolid);
    pic = Picture::fromImage(r.image);
}

void merge(Picture &pic, const Values &v)
{
    const int operation = mergeOperationNumber(v[0]);
    if (operation == 0)
        throw VermeoError(QStringLiteral("Opération de fusion inconnue « %1 » : 1 à 6, and, merge-paint, not-src, "
                                         "not-src-erase, or ou xor.")
                              .arg(v[0]));
    const Picture second = formats::readPictureFile(v[1]);
    // Drawn on the picture, which keeps its depth and palette.
    pic.image = mergePictures(pic.image, second.image, mergeCopyMode(operation));
}

void tile(Picture &pic, const Values &v)
{
    const Picture t = formats::readPictureFile(v[0]);
    pic.image = toWorkingImage(pic.image);
    Canvas c(&pic.image);
    tilePicture(c, t.image);
}

QString effectNames()
{
    QStringList names;
    for (const EffectEntry &e : effectTable())
        names << effectKey(e);
    // Separated by spaces too, so that the help and the manual page can break the line.
    return names.join(QStringLiteral(" | "));
}

const CommandParameter &effectParameter()
{
    static const QByteArray names = effectNames().toUtf8();
    static const CommandParameter p{CommandParameter::Text, names.constData(), "L'effet", 0, 0, 0, "ListBox1"};
    return p;
}

void effect(Picture &pic, const Values &v)
{
    const EffectEntry *e = findEffect(v[0]);
    if (!e)
        throw VermeoError(QStringLiteral("Effet inconnu « %1 » : %2.").arg(v[0], effectNames()));
    QImage img = pic.image;
    applyEffect(img, *e);
    pic = Picture::fromImage(img);
}

std::vector<CommandParameter> filterValues()
{
    static const char *const names[9] = {"V1", "V2", "V3", "V4", "V5", "V6", "V7", "V8", "V9"};
    static const char *const edits[9] = {"Edit1", "Edit2", "Edit3", "Edit4", "Edit5",
                                         "Edit6", "Edit7", "Edit8", "Edit9"};
    std::vector<CommandParameter> out;
    for (int i = 0; i < 9; ++i)
        out.push_back({CommandParameter::Text, names[i], "La valeur du filtre", 0, 0, 0, edits[i]});
    return out;
}

FilterCoefficients filterOf(const Values &values)
{
    FilterCoefficients k{};
    for (int i = 0; i < 9; ++i) {
        const auto v = parseFilterValue(values[i]);
        if (!v)
            throw VermeoError(
                QStringLiteral("Valeur de filtre invalide « %1 » : attendu un nombre comme 0,50 ou -1.25.")
                    .arg(values[i]));
        // As in the grid: Edit1 .. Edit9 row by row, clamped to -1,28 .. 1,27.
        k[size_t(i / 3)][size_t(i % 3)] = coefficientOf(*v);
    }
    return k;
}

void convolution(Picture &pic, const Values &values)
{
    pic = Picture::fromImage(convolve(pic.image, filterOf(values), silentProgress()));
}

MadeRows convolvedFeed(const RowFeed &feed, const Values &values)
{
    auto made = std::make_shared<FedConvolvedRows>(feed, filterOf(values));
    return {feed.width, feed.height, [made](int y0, int count, RowsOf<QRgb> rows) { made->make(y0, count, rows); },
            FedConvolvedRows::kBand};
}

// fractale NAME W H OUT [--iterations N] [--graine N]
int fractal(const QStringList &argsIn)
{
    QStringList args = argsIn;
    QString iterations, seed;
    for (const QString &option : {QStringLiteral("--iterations"), QStringLiteral("--graine")}) {
        const qsizetype i = args.indexOf(option);
        if (i < 0)
            continue;
        if (i + 1 >= args.size())
            throw VermeoError(QStringLiteral("L'option %1 attend une valeur.").arg(option));
        (option == QLatin1String("--graine") ? seed : iterations) = args[i + 1];
        args.remove(i, 2);
    }
    if (args.size() != 4)
        throw VermeoError(QStringLiteral("fractale attend NOM L H SORTIE [--iterations N] [--graine N]."));
    FractalSettings s;
    if (!fractalTypeByName(args[0], s.type)) {
        QStringList names;
        for (const FractalListEntry &e : fractalList())
            names << QString::fromLatin1(e.caption);
        throw VermeoError(
            QStringLiteral("Fractale inconnue « %1 » : %2.").arg(args[0], names.join(QStringLiteral(", "))));
    }
    const int w = int(kWidth.wholeValue(args[1]));
    const int h = int(kHeight.wholeValue(args[2]));
    // Moire draws its rings that many times over: a few are plenty.
    const long long most = s.type == ftMoire ? 1000 : 1'000'000;
    s.iterations = iterations.isEmpty()
                       ? defaultIterations(s.type)
                       : int(wholeNumber(iterations, 1, most, QStringLiteral("Le nombre d'itérations")));
    // Without its own seed, the one given to vermeo-cli (--graine before the command), else the clock.
    s.seed = seed.isEmpty() ? std::uint32_t(ProgramRandom::clockSeed())
                            : std::uint32_t(wholeNumber(seed, 0, 4294967295LL, QStringLiteral("La graine")));
    QImage img = newWorkingImage(w, h);
    drawFractal(img, s);
    cli::writePicture(Picture::fromImage(img), args[3]);
    return 0;
}

// apply fractale NAME IN OUT [--iterations N]: as "Fractales" does it, drawn at the
// dialog's size and stretched into the picture, whose last row and column stay. The seed
// is vermeo-cli's --graine, else the clock.
void fractalOnPicture(Picture &pic, const QStringList &v)
{
    FractalSettings s;
    if (!fractalTypeByName(v[0], s.type)) {
        QStringList names;
        for (const FractalListEntry &e : fractalList())
            names << QString::fromLatin1(e.caption);
        throw VermeoError(QStringLiteral("Fractale inconnue « %1 » : %2.").arg(v[0], names.join(QStringLiteral(", "))));
    }
    const long long most = s.type == ftMoire ? 1000 : 1'000'000;
    s.iterations = v[1].isEmpty() ? defaultIterations(s.type)
                                  : int(wholeNumber(v[1], 1, most, QStringLiteral("Le nombre d'itérations")));
    s.seed = std::uint32_t(ProgramRandom::clockSeed());
    QImage img = toWorkingImage(pic.image);
    drawFractalInto(img, s);
    pic = Picture::fromImage(img);
}

constexpr CommandParameter kFractalName{CommandParameter::Text, "NOM", "Le nom de la fractale"};

} // namespace

// The rows stay one command to a line or two, as a table reads.
// clang-format off
std::vector<CommandRow> imageRows()
{
    return {
        {"Redimensionner1", "&Redimensionner...", "", "Redimensionner l'image", true, "image.html#redimensionner",
         "TRedim"},
        {"Rchantilloner1", "Rééchanti&lloner...", "", "Change la taille d'une image", true,
         "image.html#reechantillonner", "",
         {.name = "rechantillonner",
          .values = {kWidth, kHeight},
          .whole = [](Picture &p, const Values &v) { resample(p, v, v[2]); },
          .made = resampledRows,
          .fed = resampledFeed,
          .options = {"--filtre NOM"},
          .summary = "Rééchantillonne à L x H avec un filtre (Mitchell par défaut, comme la commande ; --filtre Box, "
                     "Triangle, Hermite, Bell, B-Spline, Lanczos3 ou Mitchell)"}},
        {"Recdrer1", "Re&cadrer", "", "Recadrer sélection", true, "image.html#recadrer"},
        {"Agrandirlesupport1", "&Agrandir le support...", "", "Agrandir le support", true,
         "image.html#agrandir-support", "TSupport"},
        {"Encadrer1", "&Encadrer", "", "Entourer d'un cadre", true, "image.html#encadrer", "TCadre"},
        {"", "-"},
        {"Miroirvertical1", "Miroir &vertical", "", "Symétrie verticale", true, "image.html#miroir-vertical"},
        {"MiroirHorizontal1", "Miroir &horizontal", "", "Symétrie horizontale", true, "image.html#miroir-horizontal"},
        {"Rotation1", "R&otation...", "", "Tourner l'image", true, "image.html#rotation", "TRot",
         {.name = "rotation", .values = {kTurn}, .whole = rotate, .made = rotatedRows, .packed = rotatedPacked}},
        {"Incliner1", "&Incliner...", "", "Derformer l'image", true, "image.html#incliner", "TDeformer",
         {.name = "inclinaison", .values = {kSkewAngle, kSkewSide}, .whole = skew}},
        {"Fusionner1", "&Fusionner...", "", "Fusionner 2 images", true, "image.html#fusionner", "TFusion",
         {.name = "fusionner", .values = {kMergeOperation, kSecondFile}, .whole = merge}},
        {"", "-"},
        {"Effetsspciaux1", "Effets &spéciaux...", "", "Appliquer des effets spéciaux", true,
         "image.html#effets-speciaux", "TEffets",
         {.name = "effet", .values = {effectParameter()}, .whole = effect,
          .summary = "Applique un effet spécial (au hasard pour certains : --graine N avant la commande le fixe)"}},
        {"Filtres1", "Fi&ltres...", "", "Filtres", true, "image.html#filtres", "TFiltre",
         {.name = "filtre", .values = filterValues(), .whole = convolution, .fed = convolvedFeed,
          .summary = "Applique le filtre 3 x 3 de coefficients V1 à V9 (ligne par ligne, de -1,28 à 1,27)"}},
        // The menu's way: a picture in, the fractal stretched into it.
        {"Fractales1", "Frac&tales...", "", "Génératuer de fractales", true, "image.html#fractales", "TFract",
         {.name = "fractale", .values = {kFractalName}, .whole = fractalOnPicture, .options = {"--iterations N"},
          .summary = "Met la fractale NOM (Curl, Fern, Julia, Koch, Leaft, MandelBrot, Moire, Sierpinski), dessinée "
                     "en 217 x 233, étirée dans l'image, comme la commande du menu"}},
        {"Mosaque1", "&Mosaïque...", "", "Reproduire fond en mosaïque", true, "image.html#mosaique", "",
         {.name = "mosaique", .values = {kTile}, .whole = tile}},
        {"", "-"},
        {"Proprits1", "&Propriétés", "", "Attributs de l'image", true, "image.html#proprietes", "TAttributs"},
    };
}
// clang-format on

// The rows stay one command to a line or two, as a table reads.
// clang-format off
std::vector<CommandRow> imageCliRows()
{
    return {
        {"", "", "", "", false, "vermeo-cli.html", "",
         {.name = "fractale", .command = fractal, .usage = "fractale NOM L H SORTIE [--iterations N] [--graine N]",
          .summary = "dessine une fractale (Curl, Fern, Julia, Koch, Leaft, MandelBrot, Moire, Sierpinski) de L x H "
                     "dans SORTIE ; sans graine, l'horloge en donne une."}},
    };
}
// clang-format on

} // namespace vermeo
