// vermeo-cli apply / count: the colour commands on files, with the values a user
// would give in their dialogs, through the same kernels as the program.
#include "Canvas.h"
#include "ChannelKernels.h"
#include "CliCommand.h"
#include "Error.h"
#include "HistogramKernels.h"
#include "PictureFiles.h"
#include "PictureOutput.h"
#include "ShadowGradient.h"
#include "ToneKernels.h"

#include <QRegularExpression>
#include <QTextStream>
#include <functional>
#include <map>

namespace vermeo::cli {
namespace {

using colour::percentToOffset;

int integerIn(const QString &text, int low, int high, const QString &what) { return int(wholeNumber(text, low, high, what)); }

int percent(const QString &text) { return integerIn(text, -100, 100, QStringLiteral("Le pourcentage")); }

// "#RRGGBB" as the program's colour value $00BBGGRR.
TColour colourValue(const QString &text)
{
    static const QRegularExpression re(QStringLiteral("^#([0-9A-Fa-f]{6})$"));
    const auto m = re.match(text);
    if (!m.hasMatch())
        throw VermeoError(QStringLiteral("Couleur invalide « %1 » : attendu #RRGGBB.").arg(text));
    const uint rgb = m.captured(1).toUInt(nullptr, 16);
    return fromQRgb(QRgb(rgb));
}

int sideCode(const QString &text)
{
    const QStringList sides = {QStringLiteral("gauche"), QStringLiteral("droite"), QStringLiteral("haut"),
                               QStringLiteral("bas")};
    const int i = int(sides.indexOf(text.toLower()));
    if (i < 0)
        throw VermeoError(QStringLiteral("Côté de l'ombre inconnu « %1 » : gauche, droite, haut ou bas.").arg(text));
    return i + 1;
}

int gradientType(const QString &text) { return integerIn(text, 1, 2, QStringLiteral("Le type de dégradé")); }

struct Operation {
    int values;
    // Per-pixel operations: the change of a band of working pixels, made from the values
    // (which it checks); null when the values change nothing.
    std::function<formats::BandKernel(const QStringList &)> pixels;
    // The others change the whole picture.
    std::function<void(Picture &, const QStringList &)> whole;
    // Pixels changed in place keep the declared depth and palette; a new picture from a
    // kernel is true colour, as in the window.
    bool keepsDepth = false;
};

Progress &quiet() { return silentProgress(); }

using Kernel = QImage (*)(const QImage &, int, Progress &);

// A per-pixel operation of one percentage, turned into its offset.
std::function<formats::BandKernel(const QStringList &)> offsetOp(Kernel k, bool asOffset = true)
{
    return [k, asOffset](const QStringList &v) -> formats::BandKernel {
        const int s = asOffset ? percentToOffset(percent(v[0])) : percent(v[0]);
        if (s == 0)
            return {};
        return [k, s](QImage &band) { band = k(band, s, quiet()); };
    };
}

const std::map<QString, Operation> &operations()
{
    static const std::map<QString, Operation> ops = {
        {QStringLiteral("luminosite"), {1, offsetOp(colour::brightness), {}}},
        {QStringLiteral("clarte"), {1, offsetOp(colour::clarity), {}}},
        {QStringLiteral("contraste"), {1, offsetOp(colour::contrast), {}}},
        {QStringLiteral("saturation"), {1, offsetOp(colour::saturation, false), {}}},
        {QStringLiteral("teinte"), {1, {}, [](Picture &p, const QStringList &v) {
             const int s = percentToOffset(percent(v[0]));
             if (s == 0) return;
             // The dialog finds the dominant channel on its 132 x 99 preview.
             const int code = colour::dominantChannel(colour::stretchTo(p.image, 132, 99));
             p = Picture::fromImage(colour::tint(p.image, code, s, quiet()));
         }}},
        {QStringLiteral("solariser"), {1, [](const QStringList &v) -> formats::BandKernel {
             const int t = integerIn(v[0], 0, 255, QStringLiteral("Le seuil"));
             if (t == 0) return {};
             return [t](QImage &b) { b = colour::solarise(b, t, quiet()); };
         }, {}}},
        {QStringLiteral("balance"), {3, [](const QStringList &v) -> formats::BandKernel {
             const int r = percentToOffset(percent(v[0])), g = percentToOffset(percent(v[1])),
                       b = percentToOffset(percent(v[2]));
             return [r, g, b](QImage &band) { band = colour::balance(band, r, g, b, quiet()); };
         }, {}}},
        {QStringLiteral("permuter"), {1, [](const QStringList &v) -> formats::BandKernel {
             const int order = colour::permutationFromName(v[0].toUpper());
             if (order == 0)
                 throw VermeoError(QStringLiteral("Permutation inconnue « %1 » : RVB, BRV, BVR, VBR, RBV ou VRB.").arg(v[0]));
             return [order](QImage &b) { b = colour::permute(b, order, quiet()); };
         }, {}}},
        {QStringLiteral("remplacer"), {2, [](const QStringList &v) -> formats::BandKernel {
             const TColour from = colourValue(v[0]), to = colourValue(v[1]);
             return [from, to](QImage &b) { colour::replaceColour(b, from, to, quiet()); };
         }, {}, true}},
        {QStringLiteral("gris"), {0, [](const QStringList &) -> formats::BandKernel {
             return [](QImage &b) { b = colour::greyscale(b, quiet()); };
         }, {}}},
        {QStringLiteral("inverse"), {0, [](const QStringList &) -> formats::BandKernel {
             return [](QImage &b) { b = colour::invert(b); };
         }, {}}},
        {QStringLiteral("monochrome"), {0, {}, [](Picture &p, const QStringList &) { p = colour::monochrome(p.image); }}},
        {QStringLiteral("ombrer"), {2, {}, [](Picture &p, const QStringList &v) {
             const int length = integerIn(v[0], 1, 10, QStringLiteral("La longueur de l'ombre"));
             p = Picture::fromImage(colour::shadow(p.image, length, sideCode(v[1]), quiet()));
         }}},
        {QStringLiteral("degrade"), {2, {}, [](Picture &p, const QStringList &v) {
             const int type = gradientType(v[0]);
             Canvas c(&p.image);
             colour::gradient(c, colourValue(v[1]), type, false);
         }}},
        {QStringLiteral("degrade2"), {2, {}, [](Picture &p, const QStringList &v) {
             const int type = gradientType(v[0]);
             Canvas c(&p.image);
             colour::gradient(c, colourValue(v[1]), type, true);
         }}},
    };
    return ops;
}

// The operations registered by the other subsystems' files.
int runRegistered(const QStringList &args)
{
    for (const ApplyOperation &op : applyOperations()) {
        if (op.name != args[0].toLower())
            continue;
        if (args.size() != op.values + 3)
            throw VermeoError(QStringLiteral("« %1 » attend %2 valeur(s) puis ENTRÉE et SORTIE.")
                                  .arg(args[0])
                                  .arg(op.values));
        Picture pic = formats::readPictureFile(args[op.values + 1]);
        op.run(pic, args.mid(1, op.values));
        writePicture(pic, args[op.values + 2]);
        return 0;
    }
    throw VermeoError(QStringLiteral("Opération inconnue « %1 ».").arg(args[0]));
}

int runApply(const QStringList &args)
{
    if (args.isEmpty())
        throw VermeoError(QStringLiteral("Opération manquante (voir vermeo-cli --help)."));
    const auto it = operations().find(args[0].toLower());
    if (it == operations().end())
        return runRegistered(args);
    const Operation &op = it->second;
    if (args.size() != op.values + 3)
        throw VermeoError(QStringLiteral("« %1 » attend %2 valeur(s) puis ENTRÉE et SORTIE.")
                              .arg(args[0])
                              .arg(op.values));
    const QStringList values = args.mid(1, op.values);
    const QString in = args[op.values + 1], out = args[op.values + 2];
    if (op.pixels) {
        // The values are checked before any file is touched.
        const formats::BandKernel kernel = op.pixels(values);
        // Band by band where both files allow it: the whole picture is never held.
        if (formats::convertByBands(in, out, kernel))
            return 0;
        Picture pic = formats::readPictureFile(in);
        if (kernel) {
            kernel(pic.image);
            if (!op.keepsDepth)
                pic = Picture::fromImage(pic.image);
        }
        writePicture(pic, out);
        return 0;
    }
    Picture pic = formats::readPictureFile(in);
    op.whole(pic, values);
    writePicture(pic, out);
    return 0;
}

int runCount(const QStringList &args)
{
    if (args.size() != 1)
        throw VermeoError(QStringLiteral("« count » attend un seul fichier."));
    const Picture pic = formats::readPictureFile(args[0]);
    QTextStream(stdout) << colour::countColours(pic.image, quiet()) << "\n";
    return 0;
}

const Registrar applyReg({QStringLiteral("apply"),
                          QStringLiteral("apply OPÉRATION VALEURS... ENTRÉE SORTIE"),
                          QStringLiteral("Applique une commande du menu Couleurs : luminosite S, clarte S, contraste S, "
                                         "saturation S, teinte S, solariser T, balance R V B, permuter RVB|BRV|BVR|VBR|RBV|VRB, "
                                         "remplacer #RRGGBB #RRGGBB, gris, inverse, monochrome, "
                                         "ombrer L gauche|droite|haut|bas, degrade 1|2 #RRGGBB, degrade2 1|2 #RRGGBB."),
                          runApply});
const Registrar countReg({QStringLiteral("count"), QStringLiteral("count ENTRÉE"),
                          QStringLiteral("Affiche le nombre de couleurs distinctes de l'image."), runCount});

} // namespace
} // namespace vermeo::cli
