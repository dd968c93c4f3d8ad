#include "HelpLibrary.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTextDocumentFragment>
#include <algorithm>

namespace vermeo {

const QStringList &builtInPageNames()
{
    static const QStringList names = {
        QStringLiteral("index.html"),     QStringLiteral("fichier.html"),    QStringLiteral("edition.html"),
        QStringLiteral("image.html"),     QStringLiteral("couleurs.html"),   QStringLiteral("affichage.html"),
        QStringLiteral("utilitaires.html"), QStringLiteral("fenetre.html"),  QStringLiteral("aide.html"),
        QStringLiteral("outils.html"),    QStringLiteral("formats.html"),    QStringLiteral("filtres.html"),
        QStringLiteral("vermeo-cli.html"), QStringLiteral("utiliser.html"),
    };
    return names;
}

QUrl builtInPage(const QString &pageAndAnchor) { return QUrl(QStringLiteral("qrc:/aide/") + pageAndAnchor); }

QString foldedForSearch(const QString &text)
{
    QString out;
    const QString decomposed = text.normalized(QString::NormalizationForm_D);
    out.reserve(decomposed.size());
    for (const QChar c : decomposed)
        if (c.category() != QChar::Mark_NonSpacing)
            out += c.toLower();
    return out;
}

QString readHelpPage(const QUrl &url)
{
    QFile f(url.scheme() == QLatin1String("qrc") ? QLatin1Char(':') + url.path() : url.toLocalFile());
    // A help file is a few hundred kilobytes; more is not one.
    constexpr qint64 kMaxPage = 8 << 20;
    if (!f.open(QIODevice::ReadOnly) || f.size() > kMaxPage)
        return {};
    return QString::fromUtf8(f.readAll());
}

namespace {
QString plainText(const QString &html) { return QTextDocumentFragment::fromHtml(html).toPlainText().simplified(); }
} // namespace

QList<HelpSection> sectionsOfPage(const QUrl &url, const QString &html)
{
    static const QRegularExpression titleRe(QStringLiteral("<title>(.*?)</title>"),
                                            QRegularExpression::DotMatchesEverythingOption |
                                                QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression headingRe(
        QStringLiteral("<h([1-3])\\s+id=\"([^\"]+)\"(?:\\s+data-mots=\"([^\"]*)\")?\\s*>(.*?)</h\\1>"),
        QRegularExpression::DotMatchesEverythingOption | QRegularExpression::CaseInsensitiveOption);
    const QString pageTitle = plainText(titleRe.match(html).captured(1));
    QList<HelpSection> out;
    auto it = headingRe.globalMatch(html);
    qsizetype textStart = -1;
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        if (!out.isEmpty())
            out.last().text = plainText(html.mid(textStart, m.capturedStart() - textStart));
        HelpSection s;
        s.url = url;
        s.url.setFragment(m.captured(2));
        s.title = plainText(m.captured(4));
        s.pageTitle = pageTitle;
        for (const QString &k : plainText(m.captured(3)).split(QLatin1Char(','), Qt::SkipEmptyParts))
            s.keywords << k.trimmed();
        out << s;
        textStart = m.capturedEnd();
    }
    if (!out.isEmpty())
        out.last().text = plainText(html.mid(textStart));
    // A page without marked headings is one section, found by its text.
    if (out.isEmpty() && !html.isEmpty())
        out << HelpSection{url, pageTitle.isEmpty() ? QFileInfo(url.path()).fileName() : pageTitle, pageTitle, {},
                           plainText(html)};
    return out;
}

HelpLibrary::HelpLibrary(const QList<QUrl> &pages)
{
    for (const QUrl &page : pages) {
        const QString html = readHelpPage(page);
        if (html.isEmpty())
            continue;
        m_pages << page;
        m_sections << sectionsOfPage(page, html);
    }
}

HelpLibrary HelpLibrary::builtIn()
{
    QList<QUrl> pages;
    for (const QString &name : builtInPageNames())
        pages << builtInPage(name);
    return HelpLibrary(pages);
}

HelpLibrary HelpLibrary::fromFile(const QString &fileName) { return HelpLibrary({QUrl::fromLocalFile(fileName)}); }

namespace {
// Words too common to say what a section is about.
bool isCommonWord(const QString &w)
{
    static const QStringList common = {"a", "au", "aux", "d", "de", "des", "du", "en", "et", "l", "la", "le",
                                       "les", "ou", "par", "pour", "sur", "un", "une"};
    return common.contains(w);
}

// Whether a word of the text starts with w: "outil" finds "outils", "et" not "etat".
bool hasWordStarting(const QString &text, const QString &w)
{
    for (qsizetype at = text.indexOf(w); at >= 0; at = text.indexOf(w, at + 1))
        if (at == 0 || !text[at - 1].isLetterOrNumber())
            return true;
    return false;
}
} // namespace

QList<HelpSection> HelpLibrary::search(const QString &query) const
{
    const QString phrase = foldedForSearch(query).simplified();
    QStringList words = phrase.split(QRegularExpression(QStringLiteral("[\\s'’]+")), Qt::SkipEmptyParts);
    const QStringList asTyped = words;
    words.removeIf(isCommonWord);
    if (words.isEmpty())
        words = asTyped;
    struct Hit {
        int score;
        int order;
    };
    QList<std::pair<Hit, HelpSection>> hits;
    for (int i = 0; i < m_sections.size(); ++i) {
        const HelpSection &s = m_sections[i];
        const QString keywords = foldedForSearch(s.keywords.join(QLatin1Char('|')));
        const QString title = foldedForSearch(s.title);
        const QString text = foldedForSearch(s.text);
        int score = 0;
        bool all = true;
        for (const QString &w : std::as_const(words)) {
            // A keyword counts three, the title two, the text one: the section about a
            // command comes before the sections that merely mention it.
            const int wordScore = (hasWordStarting(keywords, w) ? 3 : 0) + (hasWordStarting(title, w) ? 2 : 0) +
                                  (hasWordStarting(text, w) ? 1 : 0);
            all = all && wordScore > 0;
            score += wordScore;
        }
        // The title as typed, several words long: that is the section asked for.
        if (words.size() > 1 && title.contains(phrase))
            score += 4;
        if (all)
            hits.append({{score, i}, s});
    }
    std::stable_sort(hits.begin(), hits.end(), [&](const auto &a, const auto &b) {
        if (words.isEmpty())
            return QString::localeAwareCompare(a.second.title, b.second.title) < 0;
        if (a.first.score != b.first.score)
            return a.first.score > b.first.score;
        return a.first.order < b.first.order;
    });
    QList<HelpSection> out;
    for (const auto &h : hits)
        out << h.second;
    return out;
}

namespace {
struct Topic {
    const char *name;
    const char *topic;
};

// Each menu item's section in the manual.
const Topic kItemTopics[] = {
    {"FileNewItem", "fichier.html#nouveau"},
    {"FileOpenItem", "fichier.html#ouvrir"},
    {"FileCloseItem", "fichier.html#fermer"},
    {"FileSaveItem", "fichier.html#enregistrer"},
    {"FileSaveAsItem", "fichier.html#enregistrer-sous"},
    {"Parcourir1", "fichier.html#parcourir"},
    {"Conversionsmultiples1", "fichier.html#conversions-multiples"},
    {"Capturecran1", "fichier.html#capture-ecran"},
    {"Acqurir1", "fichier.html#acquerir"},
    {"Slectionnersource1", "fichier.html#selectionner-source"},
    {"Configurationimprimante1", "fichier.html#configuration-imprimante"},
    {"Miseenpage1", "fichier.html#mise-en-page"},
    {"Apercuavantimpression1", "fichier.html#apercu"},
    {"Imprimer1", "fichier.html#imprimer"},
    {"FileExitItem", "fichier.html#quitter"},
    {"Annuler1", "edition.html#annuler"},
    {"CutItem", "edition.html#couper"},
    {"CopyItem", "edition.html#copier"},
    {"PasteItem", "edition.html#coller"},
    {"Collagespcial1", "edition.html#collage-special"},
    {"Toutslectionner1", "edition.html#tout-selectionner"},
    {"Effacerlimage1", "edition.html#effacer"},
    {"Redimensionner1", "image.html#redimensionner"},
    {"Rchantilloner1", "image.html#reechantillonner"},
    {"Recdrer1", "image.html#recadrer"},
    {"Agrandirlesupport1", "image.html#agrandir-support"},
    {"Encadrer1", "image.html#encadrer"},
    {"Miroirvertical1", "image.html#miroir-vertical"},
    {"MiroirHorizontal1", "image.html#miroir-horizontal"},
    {"Rotation1", "image.html#rotation"},
    {"Incliner1", "image.html#incliner"},
    {"Fusionner1", "image.html#fusionner"},
    {"Effetsspciaux1", "image.html#effets-speciaux"},
    {"Filtres1", "image.html#filtres"},
    {"Fractales1", "image.html#fractales"},
    {"Mosaque1", "image.html#mosaique"},
    {"Proprits1", "image.html#proprietes"},
    {"Inverser1", "couleurs.html#inverser"},
    {"Remplacercouleur1", "couleurs.html#remplacer-couleur"},
    {"Niveaudegris1", "couleurs.html#niveaux-de-gris"},
    {"Monochrome1", "couleurs.html#monochrome"},
    {"SparationRVB1", "couleurs.html#separation-rvb"},
    {"Histogramme1", "couleurs.html#histogramme"},
    {"Compterlescouleurs1", "couleurs.html#compter-couleurs"},
    {"Balancedescouleurs1", "couleurs.html#balance"},
    {"Luminosit1", "couleurs.html#luminosite"},
    {"Clart1", "couleurs.html#clarte"},
    {"Contraste1", "couleurs.html#contraste"},
    {"Saturation1", "couleurs.html#saturation"},
    {"Teinte1", "couleurs.html#teinte"},
    {"Solariser1", "couleurs.html#solariser"},
    {"PermuterRBV1", "couleurs.html#permuter"},
    {"Ombrer1", "couleurs.html#ombrer"},
    {"Dgrad1", "couleurs.html#degrade"},
    {"Foncclair1", "couleurs.html#degrade-haut-fonce"},
    {"ClairFonc1", "couleurs.html#degrade-haut-clair"},
    {"GaucheDroiteFoncClair1", "couleurs.html#degrade-gauche-fonce"},
    {"GaucheDroiteFoncClair2", "couleurs.html#degrade-gauche-clair"},
    {"Taillerelle1", "affichage.html#taille-reelle"},
    {"Zoomavant1", "affichage.html#zoom-avant"},
    {"Zoomarrire1", "affichage.html#zoom-arriere"},
    {"Palettedescouleurs1", "affichage.html#palette"},
    {"Calendrier1", "utilitaires.html#calendrier"},
    {"Calculatrice1", "utilitaires.html#calculatrice"},
    {"Horloge1", "utilitaires.html#horloge"},
    {"WindowCascadeItem", "fenetre.html#cascade"},
    {"WindowTileItem", "fenetre.html#mosaique"},
    {"WindowArrangeItem", "fenetre.html#reorganiser"},
    {"WindowMinimizeItem", "fenetre.html#tout-reduire"},
    {"HContents", "aide.html#index"},
    {"HSearch", "aide.html#rechercher"},
    {"HowToUse", "aide.html#utiliser"},
    {"About1", "aide.html#a-propos"},
};

// Each menu's page: the help context of the menu as a whole.
const Topic kMenuTopics[] = {
    {"Fichier1", "fichier.html"},     {"Edition1", "edition.html"},         {"Image2", "image.html"},
    {"Couleurs1", "couleurs.html"},   {"Affichage1", "affichage.html"},     {"Utilitaires1", "utilitaires.html"},
    {"Window1", "fenetre.html"},      {"Help1", "aide.html"},
};

// The command each dialog belongs to, by the dialog's class.
const Topic kDialogTopics[] = {
    {"TNouveau", "fichier.html#nouveau"},
    {"TCat", "fichier.html#parcourir"},
    {"TVignettes", "fichier.html#parcourir"},
    {"TConvert", "fichier.html#conversions-multiples"},
    {"TNumerisation", "fichier.html#acquerir"},
    {"TSource", "fichier.html#selectionner-source"},
    {"TMep", "fichier.html#mise-en-page"},
    {"TEcran", "fichier.html#apercu"},
    {"TAttributs", "image.html#proprietes"},
    {"TRedim", "image.html#redimensionner"},
    {"TSupport", "image.html#agrandir-support"},
    {"TCadre", "image.html#encadrer"},
    {"TRot", "image.html#rotation"},
    {"TDeformer", "image.html#incliner"},
    {"TFusion", "image.html#fusionner"},
    {"TEffets", "image.html#effets-speciaux"},
    {"TFiltre", "image.html#filtres"},
    {"TFract", "image.html#fractales"},
    {"TLumin", "couleurs.html#luminosite"},
    {"TClart", "couleurs.html#clarte"},
    {"TContrast", "couleurs.html#contraste"},
    {"TSatur", "couleurs.html#saturation"},
    {"TTeint", "couleurs.html#teinte"},
    {"TSolar", "couleurs.html#solariser"},
    {"TBalCoul", "couleurs.html#balance"},
    {"TPermut", "couleurs.html#permuter"},
    {"TRvb", "couleurs.html#separation-rvb"},
    {"TRCouleur", "couleurs.html#remplacer-couleur"},
    {"TOmbre", "couleurs.html#ombrer"},
    {"THisto", "couleurs.html#histogramme"},
    {"TEditext", "outils.html#texte"},
    {"TCalendrier", "utilitaires.html#calendrier"},
    {"TPocket", "utilitaires.html#calculatrice"},
    {"THorloge", "utilitaires.html#horloge"},
    {"THelp", "utiliser.html"},
    {"TAPropos", "aide.html#a-propos"},
};

template <size_t N>
QString lookUp(const Topic (&table)[N], const QString &name)
{
    for (const Topic &t : table)
        if (name == QLatin1String(t.name))
            return QString::fromLatin1(t.topic);
    return {};
}
} // namespace

QString helpTopicOfItem(const QString &itemName) { return lookUp(kItemTopics, itemName); }
QString helpTopicOfMenu(const QString &menuName) { return lookUp(kMenuTopics, menuName); }

QString helpTopicOfDialog(const QString &className)
{
    // "vermeo::colour::TLumin" is TLumin.
    return lookUp(kDialogTopics, className.section(QStringLiteral("::"), -1));
}

QList<std::pair<QString, QString>> allHelpTopics()
{
    QList<std::pair<QString, QString>> out;
    for (const Topic &t : kItemTopics)
        out.append({QString::fromLatin1(t.name), QString::fromLatin1(t.topic)});
    for (const Topic &t : kMenuTopics)
        out.append({QString::fromLatin1(t.name), QString::fromLatin1(t.topic)});
    for (const Topic &t : kDialogTopics)
        out.append({QString::fromLatin1(t.name), QString::fromLatin1(t.topic)});
    return out;
}

} // namespace vermeo
