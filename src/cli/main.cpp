// vermeo-cli: the picture operations of Vermeo on files, without windows.
#include "CliCommand.h"
#include "Error.h"
#include "PictureOutput.h"
#include "ProgramRandom.h"
#include "VermeoBuild.h"

#include <QGuiApplication>
#include <QLoggingCategory>
#include <QMap>
#include <QTextStream>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace vermeo::cli {
std::vector<CliCommand> &commands()
{
    static std::vector<CliCommand> list;
    return list;
}

namespace {
FILE *userErrors = stderr;
}

FILE *errorOutput() { return userErrors; }

std::vector<ApplyOperation> &applyOperations()
{
    static std::vector<ApplyOperation> list;
    return list;
}

namespace {
QMap<QString, QString> &givenOptions()
{
    static QMap<QString, QString> options;
    return options;
}
} // namespace

QString applyOption(const QString &option) { return givenOptions().value(option); }

long long wholeNumber(const QString &text, long long low, long long high, const QString &what)
{
    bool ok = false;
    const long long v = text.toLongLong(&ok);
    if (!ok || v < low || v > high)
        throw VermeoError(QStringLiteral("%1 doit être un entier de %2 à %3, pas « %4 ».")
                              .arg(what)
                              .arg(low)
                              .arg(high)
                              .arg(text));
    return v;
}

bool takeApplyOptions(QStringList &args, QString &error)
{
    if (args.isEmpty())
        return true;
    for (const ApplyOperation &op : applyOperations()) {
        if (op.name != args[0].toLower())
            continue;
        for (const QString &option : op.options) {
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
    }
    return true;
}
} // namespace vermeo::cli

namespace {
bool verbose = false;

// Qt's own notices and the libraries' texts reach stderr only with --verbose: a
// script reads one French line per error, nothing else.
void logMessage(QtMsgType, const QMessageLogContext &context, const QString &message)
{
    if (!verbose)
        return;
    QTextStream(stderr) << "vermeo-cli [" << (context.category ? context.category : "qt") << "] " << message << "\n";
}

// The man page is made from this text: a header line ending in " :" starts a section,
// a command's usage stands two spaces in and its summary six, an option and its text
// share a line.
void printHelp(QTextStream &out)
{
    out << "vermeo-cli : les opérations d'image de Vermeo sur des fichiers.\n\n"
        << "Utilisation : vermeo-cli COMMANDE ARGUMENTS...\n\n"
        << "Commandes :\n";
    for (const auto &c : vermeo::cli::commands())
        out << "  " << c.usage << "\n      " << c.summary << "\n";
    for (const auto &op : vermeo::cli::applyOperations())
        out << "  apply " << op.usage << " ENTRÉE SORTIE\n";
    out << "\nOptions :\n"
        << "  --help     affiche cette aide\n"
        << "  --version  affiche la version de vermeo-cli\n"
        << "  --verbose  ajoute sur stderr les messages des bibliothèques (en anglais)\n"
        << "  --graine N fixe la graine du générateur pseudo-aléatoire (effets et fractales au hasard)\n"
        << "  --palette 24bits|reduire  image à palette dont les couleurs ne tiennent plus dans sa palette : "
           "l'écrire en 24 bits (par défaut) ou remplacer les seules couleurs nouvelles par les plus proches\n"
        << "\nCode de sortie 0 en cas de succès, 1 en cas d'erreur (un message sur stderr).\n";
}
} // namespace

int main(int argc, char **argv)
{
    // Before the application exists: its start-up may already print notices.
    for (int i = 1; i < argc; ++i)
        verbose = verbose || std::strcmp(argv[i], "--verbose") == 0;
    qInstallMessageHandler(logMessage);
    // Some libraries write to stderr themselves (libpng); our own line goes to the real one.
    FILE *errors = stderr;
    if (!verbose) {
        const int real = dup(2), devnull = open("/dev/null", O_WRONLY);
        if (real >= 0 && devnull >= 0 && dup2(devnull, 2) >= 0)
            errors = fdopen(real, "w");
        if (devnull >= 0)
            close(devnull);
        if (!errors)
            errors = stderr;
    }
    vermeo::cli::userErrors = errors;
    if (verbose)
        QLoggingCategory::setFilterRules(QStringLiteral("vermeo.*=true"));
    // Fonts and image plugins need a Gui application; no window is ever opened.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream out(stdout), err(errors);
    QStringList args = app.arguments().mid(1);
    args.removeAll(QStringLiteral("--verbose"));
    if (args.isEmpty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        printHelp(out);
        return args.isEmpty() ? 1 : 0;
    }
    if (args[0] == "--version") {
        out << "vermeo-cli " VERMEO_VERSION "\n";
        return 0;
    }
    // "--graine N", anywhere: seeds the program's pseudo-random generator (also where a
    // command reseeds it from the clock), so a result can be made again.
    if (const qsizetype g = args.indexOf(QStringLiteral("--graine")); g >= 0) {
        bool ok = false;
        const qulonglong seed = g + 1 < args.size() ? args[g + 1].toULongLong(&ok) : 0;
        if (!ok) {
            err << "vermeo-cli : « --graine » attend un entier positif ou nul.\n";
            return 1;
        }
        vermeo::ProgramRandom::seed(seed);
        vermeo::ProgramRandom::pinClockSeed(seed);
        args.remove(g, 2);
        if (args.isEmpty()) {
            printHelp(out);
            return 1;
        }
    }
    if (QString error; !vermeo::cli::takePaletteOption(args, error)) {
        err << "vermeo-cli : " << error << "\n";
        return 1;
    }
    if (args.isEmpty()) {
        printHelp(out);
        return 1;
    }
    const QString name = args.takeFirst();
    if (name == QLatin1String("apply")) {
        QString error;
        if (!vermeo::cli::takeApplyOptions(args, error)) {
            err << "vermeo-cli : " << error << "\n";
            return 1;
        }
    }
    for (const auto &c : vermeo::cli::commands()) {
        if (c.name != name)
            continue;
        try {
            return c.run(args);
        } catch (const vermeo::VermeoError &e) {
            err << "vermeo-cli : " << e.message() << "\n";
            return 1;
        } catch (const std::exception &e) {
            err << "vermeo-cli : erreur : " << e.what() << "\n";
            return 1;
        }
    }
    err << "vermeo-cli : commande inconnue « " << name << " » (voir vermeo-cli --help)\n";
    return 1;
}
