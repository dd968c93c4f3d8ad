// vermeo-cli apply rechantillonner / rotation / inclinaison / fusionner / mosaique, and
// vermeo-cli fractale: the geometry kernels on files, with the values a user gives in
// the dialogs, to the bit what the program makes of them.
#include "Canvas.h"
#include "CliCommand.h"
#include "Error.h"
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

#include <QDateTime>
#include <limits>

namespace vermeo::cli {
namespace {

using namespace geometry;

QString filterNames()
{
    QStringList names;
    for (const ResampleFilter &f : resampleFilters())
        names << QString::fromLatin1(f.name);
    return names.join(QStringLiteral(", "));
}

void resample(Picture &pic, const QStringList &v)
{
    const int w = int(wholeNumber(v[0], 1, kMaxSide, QStringLiteral("La largeur")));
    const int h = int(wholeNumber(v[1], 1, kMaxSide, QStringLiteral("La hauteur")));
    const QString name = applyOption(QStringLiteral("--filtre"));
    const ResampleFilter *f = name.isEmpty() ? &mitchellFilter() : findResampleFilter(name);
    if (!f)
        throw VermeoError(QStringLiteral("Filtre inconnu « %1 » : %2.").arg(name, filterNames()));
    pic = Picture::fromImage(ResampleStretch(pic.image, w, h, *f, f->support, silentProgress()));
}

void rotate(Picture &pic, const QStringList &v)
{
    const QString which = v[0].toLower();
    int choice = 4, typed = 0;
    if (which == QLatin1String("gauche"))
        choice = 1;
    else if (which == QLatin1String("droite"))
        choice = 2;
    else
        typed = int(wholeNumber(v[0], std::numeric_limits<int>::min(), std::numeric_limits<int>::max(),
                                QStringLiteral("L'angle (ou gauche, droite)")));
    const QImage turned =
        rotateImage(pic.image, rotationBackground(pic.image), rotationAngle(choice, typed), silentProgress());
    pic = Picture::fromImage(turned);
}

void skew(Picture &pic, const QStringList &v)
{
    const int angle = int(wholeNumber(v[0], 0, 45, QStringLiteral("L'inclinaison")));
    const QStringList sides = {QStringLiteral("gauche"), QStringLiteral("droite"), QStringLiteral("haut"),
                               QStringLiteral("bas")};
    const int side = int(sides.indexOf(v[1].toLower()));
    if (side < 0)
        throw VermeoError(QStringLiteral("Côté inconnu « %1 » : gauche, droite, haut ou bas.").arg(v[1]));
    if (angle == 0)
        return;
    SkewResult r = skewImage(pic.image, angle, SkewDirection(side + 1), silentProgress());
    // The corner takes a new window's brush: solid white.
    fillSkewCorner(r.image, r.corner, clWhite, bsSolid);
    pic = Picture::fromImage(r.image);
}

void merge(Picture &pic, const QStringList &v)
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

void tile(Picture &pic, const QStringList &v)
{
    const Picture t = formats::readPictureFile(v[0]);
    pic.image = toWorkingImage(pic.image);
    Canvas c(&pic.image);
    tilePicture(c, t.image);
}

const ApplyRegistrar resampleOp({QStringLiteral("rechantillonner"), 2,
                                 QStringLiteral("rechantillonner L H [--filtre Box|Triangle|Hermite|Bell|B-Spline|"
                                                "Lanczos3|Mitchell]"),
                                 resample,
                                 {QStringLiteral("--filtre")}});
const ApplyRegistrar rotateOp({QStringLiteral("rotation"), 1, QStringLiteral("rotation gauche|droite|180|DEGRÉS"),
                               rotate});
const ApplyRegistrar skewOp({QStringLiteral("inclinaison"), 2,
                             QStringLiteral("inclinaison DEGRÉS gauche|droite|haut|bas"), skew});
const ApplyRegistrar mergeOp({QStringLiteral("fusionner"), 2,
                              QStringLiteral("fusionner 1..6|and|merge-paint|not-src|not-src-erase|or|xor FICHIER2"),
                              merge});
const ApplyRegistrar tileOp({QStringLiteral("mosaique"), 1, QStringLiteral("mosaique TUILE"), tile});

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
    const int w = int(wholeNumber(args[1], 1, kMaxSide, QStringLiteral("La largeur")));
    const int h = int(wholeNumber(args[2], 1, kMaxSide, QStringLiteral("La hauteur")));
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
    writePicture(Picture::fromImage(img), args[3]);
    return 0;
}

const Registrar fractalCommand({QStringLiteral("fractale"),
                                QStringLiteral("fractale NOM L H SORTIE [--iterations N] [--graine N]"),
                                QStringLiteral("dessine une fractale (Curl, Fern, Julia, Koch, Leaft, MandelBrot, Moire, "
                                               "Sierpinski) de L x H dans SORTIE ; sans graine, l'horloge en donne une."),
                                fractal});

} // namespace
} // namespace vermeo::cli
