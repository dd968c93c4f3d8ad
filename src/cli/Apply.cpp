#include "Apply.h"
#include "CommandTable.h"
#include "Error.h"
#include "Picture.h"
#include "PictureFiles.h"
#include "PictureOutput.h"

#include <QMap>

namespace vermeo::cli {

namespace {

const CommandRow *findOperation(const QString &name)
{
    for (const CommandRow *r : cliRows())
        if (r->cli.isOperation() && name.toLower() == QLatin1String(r->cli.name))
            return r;
    return nullptr;
}

// The options' values taken out of the command line, by option.
QMap<QString, QString> &givenOptions()
{
    static QMap<QString, QString> options;
    return options;
}

} // namespace

bool takeApplyOptions(QStringList &args, QString &error)
{
    if (args.isEmpty())
        return true;
    const CommandRow *row = findOperation(args[0]);
    if (!row)
        return true;
    for (const char *o : row->cli.options) {
        const QString option = CliForm::optionFlag(o);
        const qsizetype i = args.indexOf(option, 1);
        if (i < 0)
            continue;
        if (i + 1 >= args.size()) {
            error = QStringLiteral("L'option %1 attend une valeur.").arg(option);
            return false;
        }
        givenOptions()[option] = args[i + 1];
        args.remove(i, 2);
    }
    return true;
}

int runApply(const QStringList &args)
{
    if (args.isEmpty())
        throw VermeoError(QStringLiteral("Opération manquante (voir vermeo-cli --help)."));
    const CommandRow *row = findOperation(args[0]);
    if (!row)
        throw VermeoError(QStringLiteral("Opération inconnue « %1 ».").arg(args[0]));
    const CliForm &op = row->cli;
    const int count = int(op.values.size());
    if (args.size() != count + 3)
        throw VermeoError(QStringLiteral("« %1 » attend %2 valeur(s) puis ENTRÉE et SORTIE.").arg(args[0]).arg(count));
    CliForm::Values values = args.mid(1, count);
    for (const char *o : op.options)
        values << givenOptions().value(CliForm::optionFlag(o));
    const QString in = args[count + 1], out = args[count + 2];
    if (op.bands) {
        // The values are checked before any file is touched.
        const CliForm::BandChange change = op.bands(values);
        // Band by band where both files allow it: the whole picture is never held.
        if (formats::convertByBands(in, out, change))
            return 0;
        Picture pic = formats::readPictureFile(in);
        if (change) {
            change(pic.image);
            if (!op.keepsDepth)
                pic = Picture::fromImage(pic.image);
        }
        cli::writePicture(pic, out);
        return 0;
    }
    if (RowFeed feed; op.fed && formats::openRowFeed(in, feed)) {
        // Rows read, changed and written as they come.
        if (formats::writeMadePicture(op.fed(feed, values), out))
            return 0;
    }
    if (PackedPixels pixels; op.packed && formats::openPackedPixels(in, pixels)) {
        // Made from the pixels where they lie in the file, unless the maker declines.
        const MadeRows made = op.packed(pixels, values);
        if (made.make && formats::writeMadePicture(made, out))
            return 0;
    }
    Picture pic = formats::readPictureFile(in);
    if (op.made) {
        // The made rows go straight to the file; a picture is made whole only for the
        // formats written in one piece.
        const MadeRows made = op.made(pic, values);
        if (formats::writeMadePicture(made, out))
            return 0;
    }
    op.whole(pic, values);
    cli::writePicture(pic, out);
    return 0;
}

} // namespace vermeo::cli
