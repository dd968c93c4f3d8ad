// The manual and the help window: every command has its section, every link leads
// somewhere, the search finds what a user types, and the three help entries, F1 and an
// HTML help file in the start directory behave as a user meets them.
#include "AppFixture.h"
#include "HelpKey.h"
#include "HelpLibrary.h"
#include "MenuTable.h"
#include "THelp.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <set>

using namespace vermeo;

namespace {
const HelpLibrary &manual()
{
    static const HelpLibrary library = HelpLibrary::builtIn();
    return library;
}

// Every page#anchor of the manual.
std::set<QString> anchors()
{
    std::set<QString> out;
    for (const HelpSection &s : manual().sections())
        out.insert(s.url.fileName() + QLatin1Char('#') + s.url.fragment());
    return out;
}

bool topicExists(const QString &topic)
{
    const std::set<QString> all = anchors();
    const QString page = topic.section(QLatin1Char('#'), 0, 0);
    if (!topic.contains(QLatin1Char('#')))
        return manual().pages().contains(builtInPage(page));
    return all.count(topic) == 1;
}

THelp *helpWindow(TMainForm &form) { return form.findChild<THelp *>(QStringLiteral("THelp")); }

// Whether the heading of that section is on screen in the help window.
bool sectionOnScreen(THelp &help, const QString &anchor)
{
    QApplication::processEvents();
    for (QTextBlock b = help.Browser->document()->begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().anchorNames().contains(anchor))
                return help.Browser->viewport()->rect().contains(help.Browser->cursorRect(QTextCursor(b)).center());
    return false;
}
} // namespace

TEST(Manual, EveryMenuCommandAndEveryMenuHasItsSection)
{
    ASSERT_EQ(manual().pages().size(), builtInPageNames().size()) << "a page of the manual could not be read";
    for (const MenuDef &def : menuTable()) {
        const QString page = helpTopicOfMenu(QString::fromLatin1(def.name));
        EXPECT_TRUE(topicExists(page)) << def.name << " has no page";
        for (const MenuEntry &e : def.entries) {
            const QString caption = QString::fromUtf8(e.caption);
            if (caption == QLatin1String("-") || caption == QLatin1String("<"))
                continue;
            const QString topic = helpTopicOfItem(QString::fromLatin1(e.name));
            EXPECT_TRUE(topicExists(topic))
                << e.caption << " (" << e.name << ") has no section: " << topic.toStdString();
            // The section of a menu's command is on that menu's page.
            EXPECT_EQ(topic.section(QLatin1Char('#'), 0, 0), page) << e.name;
        }
    }
    for (const auto &[name, topic] : allHelpTopics())
        EXPECT_TRUE(topicExists(topic)) << name.toStdString() << " points at " << topic.toStdString();
}

TEST(Manual, EveryLinkLeadsToAPageAndASectionThatExist)
{
    static const QRegularExpression hrefRe(QStringLiteral("href=\"([^\"]+)\""));
    int links = 0;
    for (const QUrl &page : manual().pages()) {
        auto it = hrefRe.globalMatch(readHelpPage(page));
        while (it.hasNext()) {
            const QString href = it.next().captured(1);
            if (href == QLatin1String("style.css"))
                continue;
            const QUrl target = page.resolved(QUrl(href));
            ++links;
            EXPECT_TRUE(manual().pages().contains(target.adjusted(QUrl::RemoveFragment)))
                << page.fileName().toStdString() << " links to a missing page " << href.toStdString();
            if (target.hasFragment()) {
                EXPECT_TRUE(anchors().count(target.fileName() + QLatin1Char('#') + target.fragment()))
                    << page.fileName().toStdString() << " links to a missing section " << href.toStdString();
            }
        }
    }
    EXPECT_GT(links, 150);
}

TEST(Manual, EveryPageBuiltInIsInTheContentsAndTheSearch)
{
    // A page added to the program but not to the list would never be searched.
    QStringList files = QDir(QStringLiteral(":/aide")).entryList({QStringLiteral("*.html")});
    QStringList listed = builtInPageNames();
    files.sort();
    listed.sort();
    EXPECT_EQ(files, listed);
    // Every page is reachable from the contents.
    const QString contents = readHelpPage(manual().contents());
    for (const QString &name : builtInPageNames())
        EXPECT_TRUE(name == QLatin1String("index.html") || contents.contains(QStringLiteral("href=\"") + name))
            << name.toStdString() << " is not in the contents";
}

TEST(Manual, SearchFindsTheCommandAsTypedWithoutAccentsKeywordsFirst)
{
    const auto first = [](const QString &query) {
        const QList<HelpSection> r = manual().search(query);
        return r.isEmpty() ? QString() : r[0].url.fileName() + QLatin1Char('#') + r[0].url.fragment();
    };
    EXPECT_EQ(first(QStringLiteral("luminosite")), "couleurs.html#luminosite");
    EXPECT_EQ(first(QStringLiteral("LUMINOSITÉ")), "couleurs.html#luminosite");
    EXPECT_EQ(first(QStringLiteral("zoom arrière")), "affichage.html#zoom-arriere");
    EXPECT_EQ(first(QStringLiteral("Vermeo.flt")), "filtres.html#fichier-filtres");
    EXPECT_EQ(first(QStringLiteral("pipette")), "outils.html#pipette");
    // A page's title as typed; common words and word endings do not mislead.
    EXPECT_EQ(first(QStringLiteral("outils et palette")), "outils.html#outils");
    EXPECT_EQ(first(QStringLiteral("Polygô")), "outils.html#polygone");
    EXPECT_FALSE(manual().search(QStringLiteral("et")).isEmpty());
    // Every word must be found, in the keywords, the title or the text.
    for (const HelpSection &s : manual().search(QStringLiteral("palette gif"))) {
        const QString all = foldedForSearch(s.keywords.join(' ') + ' ' + s.title + ' ' + s.text);
        EXPECT_TRUE(all.contains("palette") && all.contains("gif")) << s.url.toString().toStdString();
    }
    EXPECT_TRUE(manual().search(QStringLiteral("xyzzy")).isEmpty());
    // No word: every section, by title, as an index.
    const QList<HelpSection> index = manual().search(QString());
    ASSERT_EQ(index.size(), manual().sections().size());
    for (int i = 1; i < index.size(); ++i)
        EXPECT_LE(QString::localeAwareCompare(index[i - 1].title, index[i].title), 0);
}

TEST_F(AppTest, TheThreeHelpEntriesShareOneWindowAtTheirPages)
{
    form->action(QStringLiteral("HContents"))->trigger();
    THelp *help = helpWindow(*form);
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_FALSE(help->isModal()) << "the help stays open beside the pictures";
    EXPECT_EQ(help->source().fileName(), "index.html");
    EXPECT_TRUE(help->Browser->document()->toPlainText().contains(QStringLiteral("sommaire de l'aide")));

    help->Key->setText(QStringLiteral("zoom"));
    form->action(QStringLiteral("HSearch"))->trigger();
    EXPECT_EQ(help->Key->text(), QString()) << "the search opens with an empty key";
    EXPECT_EQ(help->Results->count(), manual().sections().size());
    QTest::keyClicks(help->Key, QStringLiteral("calculatrice"));
    ASSERT_GT(help->Results->count(), 0);
    EXPECT_TRUE(help->Results->item(0)->text().startsWith(QStringLiteral("Calculatrice")));
    // Enter opens the best section and leaves the window open.
    QTest::keyClick(help->Key, Qt::Key_Return);
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->source().fileName(), "utilitaires.html");
    EXPECT_EQ(help->source().fragment(), "calculatrice");
    EXPECT_TRUE(sectionOnScreen(*help, QStringLiteral("calculatrice")));

    form->action(QStringLiteral("HowToUse"))->trigger();
    EXPECT_EQ(help->source().fileName(), "utiliser.html");
    EXPECT_EQ(form->findChildren<THelp *>().size(), 1);
}

TEST_F(AppTest, ALinkClickedInTheHelpOpensItsPageAndPrecedentComesBack)
{
    form->HContents();
    THelp *help = helpWindow(*form);
    ASSERT_NE(help, nullptr);
    QTextCursor link = help->Browser->document()->find(QStringLiteral("Menu Couleurs"));
    ASSERT_FALSE(link.isNull());
    ASSERT_TRUE(link.charFormat().isAnchor());
    link.setPosition(link.selectionStart() + 2);
    help->Browser->ensureCursorVisible();
    help->Browser->setTextCursor(link);
    help->Browser->ensureCursorVisible();
    const QPoint at = help->Browser->cursorRect(link).center();
    QTest::mouseClick(help->Browser->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(help->source().fileName(), "couleurs.html");
    EXPECT_TRUE(help->Button3->isEnabled());
    help->Button3->click();
    EXPECT_EQ(help->source().fileName(), "index.html");
    EXPECT_TRUE(help->Button4->isEnabled());
}

TEST_F(AppTest, F1OnAHighlightedMenuItemOpensItsSection)
{
    newPicture(); // the picture commands can be highlighted only when enabled
    auto *menu = form->findChild<QMenu *>(QStringLiteral("Couleurs1"));
    ASSERT_NE(menu, nullptr);
    menu->popup(form->mapToGlobal(QPoint(100, 30)));
    QApplication::processEvents();
    // Highlighted with the keys, as a user goes down the menu; F1 through the window
    // system's window, the way a typed key comes in.
    QAction *lumin = form->action(QStringLiteral("Luminosit1"));
    for (int i = 0; i < 30 && menu->activeAction() != lumin; ++i)
        QTest::keyClick(menu->windowHandle(), Qt::Key_Down);
    ASSERT_EQ(menu->activeAction(), lumin);
    QTest::keyClick(menu->windowHandle(), Qt::Key_F1);
    QApplication::processEvents();
    EXPECT_FALSE(menu->isVisible()) << "the menu closes";
    THelp *help = helpWindow(*form);
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->source().fileName(), "couleurs.html");
    EXPECT_EQ(help->source().fragment(), "luminosite");
    EXPECT_TRUE(sectionOnScreen(*help, QStringLiteral("luminosite")));
    EXPECT_FALSE(sectionOnScreen(*help, QStringLiteral("inverser"))) << "the page is scrolled to the section";

    // Highlighted with the mouse: the item under it.
    auto *edition = form->findChild<QMenu *>(QStringLiteral("Edition1"));
    ASSERT_NE(edition, nullptr);
    edition->popup(form->mapToGlobal(QPoint(100, 30)));
    QApplication::processEvents();
    QAction *copy = form->action(QStringLiteral("CopyItem"));
    QTest::mouseMove(edition, edition->actionGeometry(copy).center());
    (void)QTest::qWaitFor([&] { return edition->activeAction() == copy; }, 2000); // checked just below
    ASSERT_EQ(edition->activeAction(), copy);
    QTest::keyClick(edition->windowHandle(), Qt::Key_F1);
    EXPECT_EQ(help->source().fileName(), "edition.html");
    EXPECT_EQ(help->source().fragment(), "copier");

    // No item highlighted: the menu's page.
    auto *image = form->findChild<QMenu *>(QStringLiteral("Image2"));
    image->popup(form->mapToGlobal(QPoint(100, 30)));
    QApplication::processEvents();
    image->setActiveAction(nullptr);
    QTest::keyClick(image->windowHandle(), Qt::Key_F1);
    EXPECT_EQ(help->source().fileName(), "image.html");
    // In the main window: the contents; in the help window: how to use it.
    QTest::keyClick(form->windowHandle(), Qt::Key_F1);
    EXPECT_EQ(help->source().fileName(), "index.html");
    QTest::keyClick(help->Browser, Qt::Key_F1);
    EXPECT_EQ(help->source().fileName(), "utiliser.html");
}

TEST_F(AppTest, F1InADialogOpensTheHelpOfItsCommandInAWindowItCanUse)
{
    QString shown;
    bool helpWasModal = false;
    dialogs.onDialog = [&](QDialog &d) {
        if (auto *help = qobject_cast<THelp *>(&d)) {
            // The help of a modal dialog is a modal window of its own.
            shown = help->source().fileName() + '#' + help->source().fragment();
            helpWasModal = help->parentWidget() != form.get();
            return;
        }
        d.setWindowModality(Qt::ApplicationModal); // as exec() shows it to a user
        QTest::keyClick(&d, Qt::Key_F1);
    };
    form->FileNewItemClick();
    EXPECT_EQ(shown, "fichier.html#nouveau");
    EXPECT_TRUE(helpWasModal);
    EXPECT_EQ(form->childCount(), 0) << "asking for help does not confirm the dialog";
    EXPECT_EQ(helpTopicOfDialog(QStringLiteral("vermeo::colour::TLumin")), "couleurs.html#luminosite");
}

TEST_F(AppTest, AnHtmlHelpFileInTheStartDirectoryReplacesTheManual)
{
    QTemporaryDir dir;
    QFile page(dir.filePath(QStringLiteral("Vermeo.hlp")));
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.write("<html><body><h1 id=\"debut\">Consignes de l'atelier</h1><p>Dessinez un phare.</p>"
               "<h2 id=\"luminosite\">Luminosit\xc3\xa9</h2><p>Pas plus de 20 %.</p>"
               "<p><a href=\"suite.html\">Suite</a></p></body></html>");
    page.close();
    QFile next(dir.filePath(QStringLiteral("suite.html")));
    ASSERT_TRUE(next.open(QIODevice::WriteOnly));
    next.write("<html><body><p>La suite des consignes.</p></body></html>");
    next.close();

    THelp own(dir.filePath(QStringLiteral("Vermeo.hlp")));
    EXPECT_TRUE(own.usesHelpFile());
    own.showContents();
    EXPECT_TRUE(own.Browser->document()->toPlainText().contains(QStringLiteral("Dessinez un phare")));
    // Its search and its anchors are its own; its links are read from its folder.
    own.showSearch(QStringLiteral("phare"));
    EXPECT_EQ(own.Results->count(), 1);
    own.showTopic(QStringLiteral("couleurs.html#luminosite"));
    EXPECT_EQ(own.source().fragment(), "luminosite");
    own.Browser->setSource(QUrl(QStringLiteral("suite.html")));
    EXPECT_TRUE(own.Browser->document()->toPlainText().contains(QStringLiteral("La suite")));
    // How to use help stays the viewer's own page.
    own.showHowToUse();
    EXPECT_EQ(own.source().fileName(), "utiliser.html");

    // An old binary help file is no HTML: the manual stays.
    QFile old(dir.filePath(QStringLiteral("Ancien.hlp")));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(QByteArray("?_\x03\x00\x00\x00\x00\x00", 8) + QByteArray(200, '\x01'));
    old.close();
    THelp manualHelp(dir.filePath(QStringLiteral("Ancien.hlp")));
    EXPECT_FALSE(manualHelp.usesHelpFile());
    manualHelp.showContents();
    EXPECT_EQ(manualHelp.source().fileName(), "index.html");

    // The main window looks in the directory it was started from.
    const QString before = QDir::currentPath();
    QDir::setCurrent(dir.path());
    TMainForm started;
    started.show();
    QApplication::processEvents();
    QDir::setCurrent(before);
    started.HContents();
    THelp *help = helpWindow(started);
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->usesHelpFile());
}
