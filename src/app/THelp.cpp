#include "THelp.h"

#include <QFile>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <QSplitter>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace vermeo {

bool isHtmlHelpFile(const QString &fileName)
{
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = f.read(64 << 10).toLower();
    return head.contains("<html") || head.contains("<body") || head.contains("<h1") || head.contains("<h2");
}

THelp::THelp(const QString &helpFile, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("THelp"));
    setWindowTitle(QStringLiteral("Aide de Vermeo"));
    setProperty("resizable", true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    setSizeGripEnabled(true);
    resize(900, 620);
    m_usesFile = !helpFile.isEmpty() && isHtmlHelpFile(helpFile);
    m_library = m_usesFile ? HelpLibrary::fromFile(helpFile) : HelpLibrary::builtIn();

    auto *col = new QVBoxLayout(this);
    auto *top = new QHBoxLayout;
    auto makeButton = [this, top](const char *name, const QString &caption) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        top->addWidget(b);
        return b;
    };
    Button2 = makeButton("Button2", QStringLiteral("Sommaire"));
    Button3 = makeButton("Button3", QStringLiteral("Précédent"));
    Button4 = makeButton("Button4", QStringLiteral("Suivant"));
    top->addSpacing(16);
    top->addWidget(new QLabel(QStringLiteral("Rechercher :"), this));
    Key = new QLineEdit(this);
    Key->setObjectName(QStringLiteral("Key"));
    Key->setClearButtonEnabled(true);
    Key->installEventFilter(this);
    top->addWidget(Key, 1);
    col->addLayout(top);

    auto *split = new QSplitter(this);
    Results = new QListWidget(split);
    Results->setObjectName(QStringLiteral("Results"));
    Browser = new QTextBrowser(split);
    Browser->setObjectName(QStringLiteral("Browser"));
    Browser->setOpenExternalLinks(true);
    // The pages link their style sheet for web browsers; this browser takes it here.
    QFile css(QStringLiteral(":/aide/style.css"));
    if (css.open(QIODevice::ReadOnly))
        Browser->document()->setDefaultStyleSheet(QString::fromUtf8(css.readAll()));
    split->addWidget(Results);
    split->addWidget(Browser);
    split->setStretchFactor(1, 1);
    split->setSizes({260, 620});
    col->addWidget(split, 1);

    Button1 = new QPushButton(QStringLiteral("Fermer"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    col->addWidget(Button1, 0, Qt::AlignRight);

    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button2, &QPushButton::clicked, this, &THelp::showContents);
    connect(Button3, &QPushButton::clicked, Browser, &QTextBrowser::backward);
    connect(Button4, &QPushButton::clicked, Browser, &QTextBrowser::forward);
    connect(Browser, &QTextBrowser::backwardAvailable, Button3, &QWidget::setEnabled);
    connect(Browser, &QTextBrowser::forwardAvailable, Button4, &QWidget::setEnabled);
    connect(new QShortcut(QKeySequence::Back, this), &QShortcut::activated, Browser, &QTextBrowser::backward);
    connect(new QShortcut(QKeySequence::Forward, this), &QShortcut::activated, Browser, &QTextBrowser::forward);
    connect(new QShortcut(QKeySequence::Find, this), &QShortcut::activated, this, [this] {
        Key->setFocus();
        Key->selectAll();
    });
    connect(Browser, &QTextBrowser::anchorClicked, this,
            [this](const QUrl &link) { m_shown = Browser->source().resolved(link); });
    // Précédent and Suivant go back to a page, at its top.
    connect(Browser, &QTextBrowser::sourceChanged, this, [this](const QUrl &url) {
        if (!url.matches(m_shown, QUrl::RemoveFragment))
            m_shown = url;
    });
    connect(Key, &QLineEdit::textChanged, this, &THelp::KeyChange);
    connect(Results, &QListWidget::itemClicked, this, [this](QListWidgetItem *i) { openResult(Results->row(i)); });
    connect(Results, &QListWidget::itemActivated, this, [this](QListWidgetItem *i) { openResult(Results->row(i)); });
    Button3->setEnabled(false);
    Button4->setEnabled(false);
    KeyChange();
}

void THelp::showUrl(const QUrl &url)
{
    m_shown = url;
    // The type is given: a help file named .hlp is HTML all the same.
    if (Browser->source().matches(url, QUrl::RemoveFragment) && url.hasFragment())
        Browser->scrollToAnchor(url.fragment());
    else
        Browser->setSource(url, QTextDocument::HtmlResource);
}

void THelp::showContents() { showUrl(m_library.contents()); }

void THelp::showSearch(const QString &key)
{
    if (Browser->source().isEmpty())
        showContents();
    Key->setText(key);
    KeyChange();
    Key->setFocus();
}

void THelp::showHowToUse() { showUrl(builtInPage(QStringLiteral("utiliser.html"))); }

void THelp::showTopic(const QString &topic)
{
    if (topic.isEmpty()) {
        showContents();
        return;
    }
    if (!m_usesFile) {
        showUrl(builtInPage(topic));
        return;
    }
    // In a help file of its own, the same anchor names, where it has them.
    QUrl url = m_library.contents();
    url.setFragment(topic.section(QLatin1Char('#'), 1));
    showUrl(url);
}

void THelp::KeyChange()
{
    m_results = m_library.search(Key->text());
    Results->clear();
    for (const HelpSection &s : std::as_const(m_results)) {
        // "Menu Couleurs — Aide de Vermeo" is shown as "Menu Couleurs".
        const QString page = s.pageTitle.section(QStringLiteral(" — "), 0, 0);
        Results->addItem(page.isEmpty() || page == s.title ? s.title
                                                           : s.title + QStringLiteral(" (") + page + QLatin1Char(')'));
    }
}

void THelp::openResult(int row)
{
    if (row >= 0 && row < m_results.size())
        showUrl(m_results[row].url);
}

bool THelp::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Key && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        // Enter in the search field opens the best section rather than closing the window.
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            openResult(0);
            return true;
        }
        if (key == Qt::Key_Down && Results->count() > 0) {
            Results->setFocus();
            Results->setCurrentRow(0);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace vermeo
