#include "Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace vermeo {

namespace {
// Texts of Qt 6 that its French catalogue of Debian 12 does not have yet (the file
// dialog's type column: "Folder" for a folder, "txt File" for an unknown type).
class MissingQtTexts : public QTranslator {
public:
    using QTranslator::QTranslator;
    bool isEmpty() const override { return false; }
    QString translate(const char *context, const char *source, const char *, int) const override
    {
        if (qstrcmp(context, "QAbstractFileIconProvider") != 0)
            return {};
        static const struct {
            const char *english, *french;
        } texts[] = {{"Folder", "Dossier"},     {"Drive", "Lecteur"}, {"File", "Fichier"},   {"%1 File", "Fichier %1"},
                     {"Shortcut", "Raccourci"}, {"Alias", "Alias"},   {"Unknown", "Inconnu"}};
        for (const auto &t : texts)
            if (qstrcmp(source, t.english) == 0)
                return QString::fromUtf8(t.french);
        return {};
    }
};
} // namespace

bool installFrenchTranslations(QCoreApplication &app)
{
    // Searched after Qt's own catalogue, which is installed last.
    QCoreApplication::installTranslator(new MissingQtTexts(&app));
    auto *translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("qtbase_fr"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

} // namespace vermeo
