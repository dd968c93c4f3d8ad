#include "HelpLibrary.h"
#include "CommandTable.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTextDocumentFragment>
#include <algorithm>

namespace vermeo {

const QStringList &builtInPageNames()
{
    static const QStringList names = {
        QStringLiteral("index.html"),       QStringLiteral("fichier.html"),  QStringLiteral("edition.html"),
        QStringLiteral("image.html"),       QStringLiteral("couleurs.html"), QStringLiteral("affichage.html"),
        QStringLiteral("utilitaires.html"), QStringLiteral("fenetre.html"),  QStringLiteral("aide.html"),
        QStringLiteral("outils.html"),      QStringLiteral("formats.html"),  QStringLiteral("filtres.html"),
        QStringLiteral("vermeo-cli.html"),  QStringLiteral("utiliser.html"),
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
        out << HelpSection{
            url, pageTitle.isEmpty() ? QFileInfo(url.path()).fileName() : pageTitle, pageTitle, {}, plainText(html)};
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
    static const QStringList common = {"a",  "au", "aux", "d",  "de",  "des",  "du",  "en", "et", "l",
                                       "la", "le", "les", "ou", "par", "pour", "sur", "un", "une"};
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

// The dialogs that belong to no command of the table, by class.
const Topic kDialogTopics[] = {
    {"TEditext", "outils.html#texte"},
    {"THelp", "utiliser.html"},
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

QString helpTopicOfItem(const QString &itemName)
{
    const CommandRow *row = findCommand(itemName);
    return row ? QString::fromLatin1(row->helpTopic) : QString();
}

QString helpTopicOfMenu(const QString &menuName)
{
    for (const MenuOfBar &m : menuBarCommands())
        if (menuName == QLatin1String(m.name))
            return QString::fromLatin1(m.helpPage);
    return {};
}

QString helpTopicOfDialog(const QString &className)
{
    // "vermeo::colour::TLumin" is TLumin.
    const QString name = className.section(QStringLiteral("::"), -1);
    for (const MenuOfBar &m : menuBarCommands())
        for (const CommandRow &r : m.rows)
            if (QString::fromLatin1(r.dialogs).split(QLatin1Char('|')).contains(name))
                return QString::fromLatin1(r.helpTopic);
    return lookUp(kDialogTopics, name);
}

QList<std::pair<QString, QString>> allHelpTopics()
{
    QList<std::pair<QString, QString>> out;
    for (const MenuOfBar &m : menuBarCommands()) {
        out.append({QString::fromLatin1(m.name), QString::fromLatin1(m.helpPage)});
        for (const CommandRow &r : m.rows) {
            if (!r.isItem())
                continue;
            out.append({QString::fromLatin1(r.name), QString::fromLatin1(r.helpTopic)});
            for (const QString &d : QString::fromLatin1(r.dialogs).split(QLatin1Char('|'), Qt::SkipEmptyParts))
                out.append({d, QString::fromLatin1(r.helpTopic)});
        }
    }
    for (const Topic &t : kDialogTopics)
        out.append({QString::fromLatin1(t.name), QString::fromLatin1(t.topic)});
    return out;
}

} // namespace vermeo
