// vermeo-cli: the picture operations of Vermeo on files, without windows.
#include "CliCommand.h"
#include "Error.h"

#include <QGuiApplication>
#include <QMap>
#include <QTextStream>
#include <cstdio>

namespace vermeo::cli {
std::vector<CliCommand> &commands()
{
    static std::vector<CliCommand> list;
    return list;
}

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
void printHelp(QTextStream &out)
{
    out << "vermeo-cli : les opérations d'image de Vermeo sur des fichiers.\n\n"
        << "Utilisation : vermeo-cli COMMANDE ARGUMENTS...\n\n";
    for (const auto &c : vermeo::cli::commands())
        out << "  " << c.usage << "\n      " << c.summary << "\n";
    for (const auto &op : vermeo::cli::applyOperations())
        out << "  apply " << op.usage << " ENTRÉE SORTIE\n";
    out << "\nCode de sortie 0 en cas de succès, 1 en cas d'erreur (un message sur stderr).\n";
}
} // namespace

int main(int argc, char **argv)
{
    // Fonts and image plugins need a Gui application; no window is ever opened.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream out(stdout), err(stderr);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        printHelp(out);
        return args.isEmpty() ? 1 : 0;
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
