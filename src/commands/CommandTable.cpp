#include "CommandTable.h"
#include "CliValues.h"
#include "Error.h"

#include <QRegularExpression>

namespace vermeo {

bool CommandRow::isItem() const
{
    const QString c = QString::fromUtf8(caption);
    return !c.isEmpty() && c != QLatin1String("-") && c != QLatin1String("<");
}

const std::vector<MenuOfBar> &menuBarCommands()
{
    static const std::vector<MenuOfBar> menus = {
        {"Fichier1", "&Fichier", "Commandes liées aux menus", 3, "fichier.html", fichierRows()},
        {"Edition1", "&Edition", "", 4, "edition.html", editionRows()},
        {"Image2", "&Image", "", 5, "image.html", imageRows()},
        {"Couleurs1", "&Couleurs", "", 6, "couleurs.html", couleursRows()},
        {"Affichage1", "&Affichage", "", 7, "affichage.html", affichageRows()},
        {"Utilitaires1", "&Utilitaires", "", 8, "utilitaires.html", utilitairesRows()},
        {"Window1", "Fe&nêtre", "Commandes de fenêtres telles que Mosaïque et Cascade", 9, "fenetre.html",
         fenetreRows()},
        {"Help1", "&?", "Rubriques d'aide", 10, "aide.html", aideRows()},
    };
    return menus;
}

std::vector<const CommandRow *> cliRows()
{
    std::vector<const CommandRow *> commands, operations;
    auto take = [&](const CommandRow &r) {
        if (r.cli.name)
            (r.cli.isOperation() ? operations : commands).push_back(&r);
    };
    for (const CommandRow &r : cliOnlyCommands())
        take(r);
    for (const MenuOfBar &m : menuBarCommands())
        for (const CommandRow &r : m.rows)
            take(r);
    commands.insert(commands.end(), operations.begin(), operations.end());
    return commands;
}

const CommandRow *findCommand(const QString &name)
{
    if (name.isEmpty())
        return nullptr;
    for (const MenuOfBar &m : menuBarCommands())
        for (const CommandRow &r : m.rows)
            if (name == QLatin1String(r.name))
                return &r;
    return nullptr;
}

namespace {
FILE *cliErrors = nullptr;
}

void setCliErrorOutput(FILE *file) { cliErrors = file; }

namespace commands {

FILE *errorOutput() { return cliErrors ? cliErrors : stderr; }

TColour colourValue(const QString &text)
{
    static const QRegularExpression re(QStringLiteral("^#([0-9A-Fa-f]{6})$"));
    const auto m = re.match(text);
    if (!m.hasMatch())
        throw VermeoError(QStringLiteral("Couleur invalide « %1 » : attendu #RRGGBB.").arg(text));
    return fromQRgb(QRgb(m.captured(1).toUInt(nullptr, 16)));
}

int choiceValue(const CommandParameter &p, const QString &text, const QString &unknown)
{
    const int i = p.choiceIndex(text);
    if (i >= 0)
        return i;
    QStringList words = p.choices();
    const QString last = words.takeLast();
    throw VermeoError(
        QStringLiteral("%1 « %2 » : %3 ou %4.").arg(unknown, text, words.join(QStringLiteral(", ")), last));
}

} // namespace commands
} // namespace vermeo
