#pragma once
// The help's pages as sections a search can rank, and where each command's help is.
// The manual is HTML; each section starts at a heading with an id, and may carry
// keywords in a data-mots attribute.
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

namespace vermeo {

struct HelpSection {
    QUrl url;          // page#anchor
    QString title;     // the heading's text
    QString pageTitle; // the page's <title>
    QStringList keywords;
    QString text; // plain text up to the next heading
};

class HelpLibrary {
public:
    // The built-in manual (qrc:/aide), in the order of its contents.
    static HelpLibrary builtIn();
    // One HTML file standing in for the manual.
    static HelpLibrary fromFile(const QString &fileName);

    HelpLibrary() = default;
    // Pages that could not be read are left out.
    explicit HelpLibrary(const QList<QUrl> &pages);

    const QList<QUrl> &pages() const { return m_pages; }
    const QList<HelpSection> &sections() const { return m_sections; }
    QUrl contents() const { return m_pages.value(0); }
    // Sections holding every word of the query, best first: keyword, then title, then
    // text; accents and case do not count. An empty query gives every section, by title.
    QList<HelpSection> search(const QString &query) const;

private:
    QList<QUrl> m_pages;
    QList<HelpSection> m_sections;
};

// The page files of the built-in manual, in the order of its contents.
const QStringList &builtInPageNames();
QUrl builtInPage(const QString &pageAndAnchor);
// Lower case without accents: "Luminosité" and "luminosite" are one word.
QString foldedForSearch(const QString &text);
// The sections of one HTML page.
QList<HelpSection> sectionsOfPage(const QUrl &url, const QString &html);
// Reads a page of the manual or a help file; empty when it cannot be read.
QString readHelpPage(const QUrl &url);

// Where the help of a menu item, a menu or a dialog is ("couleurs.html#luminosite"),
// empty when there is none.
QString helpTopicOfItem(const QString &itemName);
QString helpTopicOfMenu(const QString &menuName);
QString helpTopicOfDialog(const QString &className);
// Every (name, topic) pair of the three tables, for checking them.
QList<std::pair<QString, QString>> allHelpTopics();

} // namespace vermeo
