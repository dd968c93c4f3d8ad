#pragma once
// The help window: the manual's pages with their links, a history, and a search over
// the pages' keywords and text beside them. An HTML help file in the start directory
// stands in for the built-in manual.
#include "HelpLibrary.h"

#include <QDialog>

class QLineEdit;
class QListWidget;
class QPushButton;
class QTextBrowser;

namespace vermeo {

class THelp : public QDialog {
    Q_OBJECT
public:
    // helpFile: the start directory's help file, used when it holds HTML.
    explicit THelp(const QString &helpFile, QWidget *parent = nullptr);

    // The three entries of the "?" menu.
    void showContents();
    void showSearch(const QString &key = QString());
    void showHowToUse();
    // A section of the manual ("couleurs.html#luminosite"); the contents when empty.
    void showTopic(const QString &topic);
    // The page shown, with the section asked for (the browser's own source drops it).
    QUrl source() const { return m_shown; }
    bool usesHelpFile() const { return m_usesFile; }

    QTextBrowser *Browser = nullptr;
    QLineEdit *Key = nullptr;
    QListWidget *Results = nullptr;
    QPushButton *Button1 = nullptr; // Fermer
    QPushButton *Button2 = nullptr; // Sommaire
    QPushButton *Button3 = nullptr; // Précédent
    QPushButton *Button4 = nullptr; // Suivant

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void KeyChange();
    void openResult(int row);
    void showUrl(const QUrl &url);

    HelpLibrary m_library;
    QUrl m_shown; // the page and the section last asked for
    QList<HelpSection> m_results;
    bool m_usesFile = false;
};

// Whether a file holds HTML help (an old binary help file does not).
bool isHtmlHelpFile(const QString &fileName);

} // namespace vermeo
