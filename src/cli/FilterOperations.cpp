// vermeo-cli apply filtre / effet: the "Filtres" convolution and the special effects
// on files, through the same kernels as the program.
#include "CliCommand.h"
#include "Convolution.h"
#include "EffectTable.h"
#include "Error.h"
#include "FilterFile.h"
#include "Picture.h"

#include <QStringList>

namespace vermeo::cli {
namespace {

using namespace vermeo::geometry;

QString effectNames()
{
    QStringList names;
    for (const EffectEntry &e : effectTable())
        names << effectKey(e);
    // Separated by spaces too, so that the help and the manual page can break the line.
    return names.join(QStringLiteral(" | "));
}

void runFilter(Picture &pic, const QStringList &values)
{
    FilterCoefficients k{};
    for (int i = 0; i < 9; ++i) {
        const auto v = parseFilterValue(values[i]);
        if (!v)
            throw VermeoError(QStringLiteral("Valeur de filtre invalide « %1 » : attendu un nombre comme 0,50 ou -1.25.")
                                  .arg(values[i]));
        // As in the grid: Edit1 .. Edit9 row by row, clamped to -1,28 .. 1,27.
        k[size_t(i / 3)][size_t(i % 3)] = coefficientOf(*v);
    }
    pic = Picture::fromImage(convolve(pic.image, k, silentProgress()));
}

void runEffect(Picture &pic, const QStringList &values)
{
    const EffectEntry *e = findEffect(values[0]);
    if (!e)
        throw VermeoError(QStringLiteral("Effet inconnu « %1 » : %2.").arg(values[0], effectNames()));
    QImage img = pic.image;
    applyEffect(img, *e);
    pic = Picture::fromImage(img);
}

const ApplyRegistrar filterReg({QStringLiteral("filtre"), 9, QStringLiteral("filtre V1 V2 V3 V4 V5 V6 V7 V8 V9"),
                                runFilter});
const ApplyRegistrar effectReg({QStringLiteral("effet"), 1,
                                QStringLiteral("effet %1 [--graine N]").arg(effectNames()), runEffect});

} // namespace
} // namespace vermeo::cli
