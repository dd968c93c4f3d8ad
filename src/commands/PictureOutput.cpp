#include "PictureOutput.h"
#include "CliValues.h"
#include "FileAccess.h"

#include <QTextStream>

namespace vermeo::cli {

namespace {
// True colour unless the line asks otherwise: no pixel is ever changed by default.
formats::PaletteChoice chosen = formats::PaletteChoice::TrueColour;
} // namespace

bool takePaletteOption(QStringList &args, QString &error)
{
    const qsizetype i = args.indexOf(QStringLiteral("--palette"));
    if (i < 0)
        return true;
    const QString value = i + 1 < args.size() ? args[i + 1].toLower() : QString();
    if (value == QLatin1String("24bits"))
        chosen = formats::PaletteChoice::TrueColour;
    else if (value == QLatin1String("reduire") || value == QStringLiteral("réduire"))
        chosen = formats::PaletteChoice::ReduceNew;
    else {
        error = QStringLiteral("« --palette » attend 24bits ou reduire.");
        return false;
    }
    args.remove(i, 2);
    return true;
}

void writePicture(const Picture &pic, const QString &fileName, bool lossless)
{
    const formats::FileKind kind = formats::writingKind(fileName);
    const bool overflows = formats::paletteOverflows(kind, pic);
    formats::writePictureFile(pic, fileName, {chosen, false, lossless});
    if (!overflows)
        return;
    const QString name = fileNamePart(fileName);
    QTextStream err(commands::errorOutput());
    // GIF holds no true colour: there the new colours are always reduced.
    if (chosen == formats::PaletteChoice::ReduceNew || kind == formats::FileKind::Gif)
        err << "vermeo-cli : « " << name
            << " » : couleurs trop nombreuses pour la palette ; palette gardée, les couleurs nouvelles "
               "remplacées par les plus proches.\n";
    else
        err << "vermeo-cli : « " << name
            << " » : couleurs trop nombreuses pour la palette, enregistré en 24 bits (--palette reduire garde "
               "la palette).\n";
}

} // namespace vermeo::cli
