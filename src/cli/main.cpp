// vermeo-cli: the picture operations of Vermeo on files, without windows.
#include "Apply.h"
#include "CommandTable.h"
#include "Error.h"
#include "PictureOutput.h"
#include "ProgramRandom.h"
#include "VermeoBuild.h"

#include <QGuiApplication>
#include <QLoggingCategory>
#include <QTextStream>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <unistd.h>

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

// What an operation's values may be, after its summary: "S de -100 à 100".
QString valueRanges(const vermeo::CliForm &op)
{
    QStringList ranges;
    for (const vermeo::CommandParameter &p : op.values)
        if (p.kind == vermeo::CommandParameter::Whole && p.high > p.low + 1)
            ranges << QStringLiteral("%1 de %2 à %3").arg(QString::fromUtf8(p.name)).arg(p.low).arg(p.high);
    return ranges.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(ranges.join(QStringLiteral(", ")));
}

QString operationUsage(const vermeo::CliForm &op)
{
    QStringList words = {QString::fromLatin1(op.name)};
    for (const vermeo::CommandParameter &p : op.values)
        words << QString::fromUtf8(p.name);
    for (const char *o : op.options)
        words << QStringLiteral("[%1 %2]").arg(vermeo::CliForm::optionFlag(o), vermeo::CliForm::optionValueName(o));
    return words.join(QLatin1Char(' '));
}

// The man page is made from this text: a header line ending in " :" starts a section,
// a command's usage stands two spaces in and its summary six, an option and its text
// share a line. Every line comes from the command table.
void printHelp(QTextStream &out)
{
    out << "vermeo-cli : les opérations d'image de Vermeo sur des fichiers.\n\n"
        << "Utilisation : vermeo-cli COMMANDE ARGUMENTS...\n\n"
        << "Commandes :\n";
    const auto rows = vermeo::cliRows();
    for (const vermeo::CommandRow *r : rows)
        if (!r->cli.isOperation())
            out << "  " << r->cli.usage << "\n      " << r->cli.summary << "\n";
    out << "  apply OPÉRATION VALEURS... ENTRÉE SORTIE\n"
        << "      applique à ENTRÉE une commande des menus Image et Couleurs avec les valeurs de son dialogue "
           "et écrit SORTIE ; les opérations :\n";
    for (const vermeo::CommandRow *r : rows)
        if (r->cli.isOperation())
            out << "  apply " << operationUsage(r->cli) << " ENTRÉE SORTIE\n      "
                << QString::fromUtf8(r->cli.summary ? r->cli.summary : r->hint) << valueRanges(r->cli) << "\n";
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
    vermeo::setCliErrorOutput(errors);
    if (verbose)
        QLoggingCategory::setFilterRules(QStringLiteral("vermeo.*=true"));
    // Fonts and image plugins need a Gui application; no window is ever opened.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The application lives to the end of the process and is never destroyed: tearing
    // down its offscreen platform would start fontconfig only to stop it again, a few
    // milliseconds at every command that drew no text.
    static int appArgc = argc;
    static QGuiApplication *const app = new QGuiApplication(appArgc, argv);
    QTextStream out(stdout), err(errors);
    QStringList args = app->arguments().mid(1);
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
    const auto rows = vermeo::cliRows();
    std::function<int(const QStringList &)> run;
    if (name == QLatin1String("apply"))
        run = vermeo::cli::runApply;
    for (const vermeo::CommandRow *r : rows)
        if (!r->cli.isOperation() && name == QLatin1String(r->cli.name))
            run = r->cli.command;
    if (!run) {
        err << "vermeo-cli : commande inconnue « " << name << " » (voir vermeo-cli --help)\n";
        return 1;
    }
    try {
        return run(args);
    } catch (const vermeo::VermeoError &e) {
        err << "vermeo-cli : " << e.message() << "\n";
        return 1;
    } catch (const std::exception &e) {
        err << "vermeo-cli : erreur : " << e.what() << "\n";
        return 1;
    }
}
