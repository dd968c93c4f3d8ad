#include "TMainForm.h"
#include "Attributes.h"
#include "Clipboard.h"
#include "DialogRunner.h"
#include "FileAccess.h"
#include "HelpKey.h"
#include "Icons.h"
#include "MenuRoutes.h"
#include "MenuTable.h"
#include "NumberBox.h"
#include "TMDIChild.h"

#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QProgressBar>
#include <QRegularExpression>
#include <QScreen>
#include <QSpinBox>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTime>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <QWindow>

namespace vermeo {

// The progress bar takes the status bar's place while a long command runs. Painting
// is forced at once because the command does not return to the event loop.
class TMainForm::BarProgress : public Progress {
public:
    explicit BarProgress(TMainForm *f) : m_f(f) {}
    void begin() override
    {
        m_f->statusBar()->hide();
        m_f->ProgressBar1->setValue(0);
        m_f->ProgressBar1->show();
        m_f->ProgressBar1->repaint();
        m_shown.start();
    }
    void setPosition(int percent) override
    {
        // The bar takes every position; the screen shows it some 30 times a second at
        // most, since a repaint costs more than a fast pass's share of columns.
        if (m_f->ProgressBar1->value() == percent)
            return;
        m_f->ProgressBar1->setValue(percent);
        if (m_shown.elapsed() >= kRepaintMs) {
            m_f->ProgressBar1->repaint();
            m_shown.restart();
        }
    }
    void end() override
    {
        m_f->ProgressBar1->hide();
        m_f->statusBar()->show();
    }

private:
    static constexpr int kRepaintMs = 33;
    TMainForm *m_f;
    QElapsedTimer m_shown;
};

TMainForm::TMainForm(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("TMainForm"));
    setWindowTitle(QStringLiteral("Vermeo"));

    auto *central = new QWidget(this);
    auto *column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    auto *row = new QHBoxLayout;
    row->setSpacing(0);
    column->addLayout(row, 1);
    m_mdi = new QMdiArea(central);
    m_mdi->setObjectName(QStringLiteral("ClientArea"));
    m_mdi->setBackground(QApplication::palette().brush(QPalette::Dark));
    setCentralWidget(central);

    buildMenus();
    buildToolBar();
    buildToolPanel();
    row->addWidget(Panel1);
    row->addWidget(m_mdi, 1);
    buildPaletteBar();
    column->addWidget(Panel3);
    ProgressBar1 = new QProgressBar(central);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->hide();
    column->addWidget(ProgressBar1);
    buildStatusBar();
    m_progress = new BarProgress(this);

    connect(m_mdi, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow *w) {
        if (w)
            if (auto *c = qobject_cast<TMDIChild *>(w->widget()))
                c->FormActivate();
        UpdateMenuItems();
    });
    connect(qApp, &QGuiApplication::focusWindowChanged, this, [this] { UpdateMenuItems(); });
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, [this] { UpdateMenuItems(); });

    // FormCreate: page set-up defaults.
    for (int &m : Margins)
        m = 20;
    PrintScale = 100;
    new HelpKey(this);
    UpdateMenuItems();
}

TMainForm::~TMainForm() { delete m_progress; }

void TMainForm::buildMenus()
{
    QHash<QString, std::function<void(TMainForm &)>> routes;
    for (const MenuRoutes *table : allMenuRoutes())
        for (const MenuRoute &r : *table)
            routes.insert(QString::fromLatin1(r.name), r.run);
    for (const MenuDef &def : menuTable()) {
        QMenu *menu = menuBar()->addMenu(QString::fromUtf8(def.caption));
        menu->setObjectName(QString::fromLatin1(def.name));
        menu->menuAction()->setStatusTip(QString::fromUtf8(def.hint));
        menu->setToolTipsVisible(false);
        QMenu *target = menu;
        for (const MenuEntry &e : def.entries) {
            const QString caption = QString::fromUtf8(e.caption);
            if (caption == "-") {
                target->addSeparator();
                continue;
            }
            if (caption == "<") {
                target = menu;
                continue;
            }
            QAction *a;
            if (caption.startsWith('>')) {
                QMenu *sub = target->addMenu(caption.mid(1));
                a = sub->menuAction();
                target = sub;
                if (e.name == QLatin1String("Fichiersrcents1"))
                    m_recentMenu = sub;
            } else {
                a = target->addAction(caption);
            }
            const QString name = QString::fromLatin1(e.name);
            a->setObjectName(name);
            a->setStatusTip(QString::fromUtf8(e.hint));
            // The program's own key first (the menu shows it), then the usual ones beside it.
            if (*e.shortcut)
                a->setShortcuts(QKeySequence::listFromString(QString::fromLatin1(e.shortcut)));
            if (e.needsChild)
                m_childActions << name;
            if (const auto run = routes.value(name)) {
                connect(a, &QAction::triggered, this, [this, run] { run(*this); });
                m_wiredItems << name;
            }
            m_actions.insert(name, a);
        }
        if (def.name == QLatin1String("Window1"))
            m_windowMenu = menu;
    }
    QAction *pal = m_actions.value("Palettedescouleurs1");
    pal->setCheckable(true);
    pal->setChecked(true);
    connect(m_windowMenu, &QMenu::aboutToShow, this, &TMainForm::rebuildWindowList);
    // Another run may have opened pictures since: the list is read again when shown.
    connect(m_recentMenu, &QMenu::aboutToShow, this, [this] {
        m_recent = RecentFiles();
        rebuildRecentMenu();
    });
    rebuildRecentMenu();
    setAcceptDrops(true);
}

QToolButton *TMainForm::makeButton(QWidget *parent, const QString &name, const QString &glyphName, const QString &hint)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(name);
    b->setAutoRaise(true);
    b->setIcon(glyph(glyphName));
    b->setIconSize(QSize(20, 20));
    b->setFixedSize(25, 25);
    b->setToolTip(hint);
    b->setStatusTip(hint);
    m_controls.insert(name, b);
    return b;
}

void TMainForm::buildToolBar()
{
    auto *bar = new QToolBar(QStringLiteral("SpeedPanel"), this);
    bar->setObjectName(QStringLiteral("SpeedPanel"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setFixedHeight(33);
    bar->toggleViewAction()->setVisible(false);
    addToolBar(Qt::TopToolBarArea, bar);
    struct B {
        const char *name, *glyph, *hint, *handler;
        bool needsChild;
    };
    const B buttons[] = {
        {"NewButton", "new", "Nouveau", "FileNewItem", false},
        {"OpenButton", "open", "Ouvrir", "FileOpenItem", false},
        {"SaveButton", "save", "Enregistrer", "FileSaveItem", true},
        {"PrintButton", "print", "Imprimer", "", true},
        {"PreviewButton", "preview", "Aperçu avant impression", "Apercuavantimpression1", true},
        {nullptr, nullptr, nullptr, nullptr, false},
        {"UndoButton", "undo", "Annuler", "Annuler1", true},
        {"CutButton", "cut", "Couper", "CutItem", true},
        {"CopyButton", "copy", "Copier", "CopyItem", true},
        {"PasteButton", "paste", "Coller", "PasteItem", true},
        {"SpeedButton2", "select", "Sélection", "", true},
        {"SpeedButton11", "ovalselect", "Sélection Ovale", "", false},
    };
    for (const B &b : buttons) {
        if (!b.name) {
            bar->addSeparator();
            continue;
        }
        QToolButton *btn = makeButton(bar, b.name, b.glyph, QString::fromUtf8(b.hint));
        bar->addWidget(btn);
        if (b.needsChild)
            m_childControls << btn;
        // A button runs the handler of the menu item with the same hint.
        if (*b.handler)
            if (QAction *a = m_actions.value(QString::fromLatin1(b.handler)))
                connect(btn, &QToolButton::clicked, a, &QAction::trigger);
    }
    connect(qobject_cast<QToolButton *>(m_controls.value("PrintButton")), &QToolButton::clicked, this,
            &TMainForm::PrintButtonClick);
    FontName = new QComboBox(bar);
    FontName->setObjectName(QStringLiteral("FontName"));
    FontName->setEditable(true);
    FontName->setFixedWidth(150);
    FontName->setToolTip(QStringLiteral("Police"));
    bar->addWidget(FontName);
    SpinEdit2 = new NumberBox(bar);
    SpinEdit2->setObjectName(QStringLiteral("SpinEdit2"));
    SpinEdit2->setRange(4, 100);
    SpinEdit2->setSingleStep(2);
    SpinEdit2->setValue(12);
    SpinEdit2->setToolTip(QStringLiteral("Taille"));
    bar->addWidget(SpinEdit2);
    m_controls.insert("FontName", FontName);
    m_controls.insert("SpinEdit2", SpinEdit2);
    m_childControls << FontName << SpinEdit2;
    // A typed name or size counts once committed (Enter, a pick from the list, leaving
    // the box), not at every keystroke; the focus goes back to the picture then, unless
    // the user has gone to another control.
    FontName->setInsertPolicy(QComboBox::NoInsert);
    auto commitFont = [this] {
        if (TMDIChild *c = activeChild()) {
            SetFontName(c->doc(), FontName->currentText());
            if (FontName->hasFocus())
                giveFocusToChild();
        }
    };
    connect(FontName, &QComboBox::activated, this, commitFont);
    connect(FontName->lineEdit(), &QLineEdit::editingFinished, this, commitFont);
    SpinEdit2->setKeyboardTracking(false);
    connect(SpinEdit2, &QSpinBox::valueChanged, this, [this](int size) {
        if (TMDIChild *c = activeChild()) {
            SetFontSize(c->doc(), size);
            if (SpinEdit2->hasFocus())
                giveFocusToChild();
        }
    });
    for (auto [name, g, hint] :
         {std::tuple{"BoldButton", "bold", "Gras"}, std::tuple{"ItalButton", "italic", "Italique"},
          std::tuple{"UnderButton", "underline", "Souligné"}}) {
        QToolButton *btn = makeButton(bar, name, g, QString::fromUtf8(hint));
        btn->setCheckable(true);
        bar->addWidget(btn);
        m_childControls << btn;
        connect(btn, &QToolButton::clicked, this, [this, n = QString::fromLatin1(name)](bool down) {
            TMDIChild *c = activeChild();
            if (!c)
                return;
            const char sign = down ? '+' : '-';
            if (n == "BoldButton")
                SetStyle1(c->doc(), sign);
            else if (n == "ItalButton")
                SetStyle2(c->doc(), sign);
            else
                SetStyle3(c->doc(), sign);
        });
    }
    for (auto [name, g, hint, handler] : {std::tuple{"ZoomInButton", "zoomin", "Zoom avant", "Zoomavant1"},
                                          std::tuple{"ZoomOutButton", "zoomout", "Zoom arrière", "Zoomarrire1"},
                                          std::tuple{"HistoButton", "histogram", "Histogramme", "Histogramme1"}}) {
        QToolButton *btn = makeButton(bar, name, g, QString::fromUtf8(hint));
        bar->addWidget(btn);
        m_childControls << btn;
        if (QAction *a = m_actions.value(QString::fromLatin1(handler)))
            connect(btn, &QToolButton::clicked, a, &QAction::trigger);
    }
}

void TMainForm::buildStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar"));
    bar->setSizeGripEnabled(false);
    for (int i : {0, 1, 3, 2}) {
        m_panels[i] = new QLabel(bar);
        m_panels[i]->setObjectName(QStringLiteral("Panel%1").arg(i));
        m_panels[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        m_panels[i]->setMinimumWidth(50);
        bar->addWidget(m_panels[i], i == 2 ? 1 : 0);
    }
    m_clock = new QTimer(this);
    m_clock->setObjectName(QStringLiteral("Timer1"));
    m_clock->setInterval(1000);
    connect(m_clock, &QTimer::timeout, this, &TMainForm::onClock);
    m_clock->start();
    onClock();
}

QString clockText(const QTime &time)
{
    // The system's long time format without its time zone, which would not fit.
    QString format = QLocale::system().timeFormat(QLocale::LongFormat);
    format.remove(QRegularExpression(QStringLiteral("\\s*\\bt+\\b")));
    return QStringLiteral("    ") + time.toString(format.trimmed());
}

void TMainForm::onClock()
{
    m_panels[2]->setText(clockText(QTime::currentTime()));
    m_panels[2]->setMinimumWidth(m_panels[2]->sizeHint().width());
}

QWidget *TMainForm::control(const QString &name) const { return m_controls.value(name); }

QString TMainForm::statusPanel(int panel) const
{
    return panel >= 0 && panel < 4 ? m_panels[panel]->text() : QString();
}

void TMainForm::setStatusPanel(int panel, const QString &text)
{
    if (panel >= 0 && panel < 4)
        m_panels[panel]->setText(text);
}

Progress &TMainForm::progressBar() { return *m_progress; }

QSize TMainForm::mainClientSize() const
{
    // The client area of the main window, tool panels included.
    return centralWidget() ? centralWidget()->size() : size();
}

void TMainForm::pickedColour(TColour c)
{
    auto *pip = qobject_cast<QToolButton *>(m_controls.value("PipButton"));
    SetCol(State, c, pip && pip->isChecked(), active());
    syncSwatches();
}

void TMainForm::showPenWidth(int w)
{
    const QSignalBlocker block(SpinEdit1);
    SpinEdit1->setValue(w);
    State.penWidth = w;
}

void TMainForm::setForeColour(TColour c)
{
    State.foreColour = c;
    syncSwatches();
}

void TMainForm::syncSwatches()
{
    ForeColor->setColour(State.foreColour);
    Backcolor->setColour(State.backColour);
}

ActiveWindow TMainForm::active() const
{
    TMDIChild *c = activeChild();
    return c ? ActiveWindow{&c->doc(), c} : ActiveWindow{};
}

void TMainForm::giveFocusToChild()
{
    if (TMDIChild *c = activeChild())
        c->setFocus();
}

QString TMainForm::fontBoxName() const { return FontName->currentText(); }
int TMainForm::fontBoxSize() const { return SpinEdit2->value(); }

void TMainForm::clipboardChanged() { UpdateMenuItems(); }

// Each press of the mouse changes the history: only "Rétablir" follows it, without asking
// the clipboard as UpdateMenuItems does.
void TMainForm::historyChanged() { updateRedoItem(); }

void TMainForm::updateRedoItem()
{
    const TMDIChild *active = activeChild();
    m_actions.value("Retablir1")->setEnabled(active && active->doc().canRedo());
}

bool TMainForm::event(QEvent *e)
{
    // The hint of the item or button under the mouse goes to status panel 0.
    if (e->type() == QEvent::StatusTip) {
        m_panels[0]->setText(static_cast<QStatusTipEvent *>(e)->tip());
        return true;
    }
    return QMainWindow::event(e);
}

void TMainForm::showEvent(QShowEvent *e)
{
    QMainWindow::showEvent(e);
    if (m_shown)
        return;
    m_shown = true;
    resize(width() - 10, height());
    setWindowState(windowState() | Qt::WindowMaximized);
    // Without a window manager the state alone does nothing: take the screen too.
    if (QScreen *s = screen())
        setGeometry(s->availableGeometry());
    {
        const QSignalBlocker block(FontName);
        FontName->addItems(sortedFontFamilies());
        FontName->setCurrentText(QStringLiteral("Arial"));
    }
    State.toolNumber = 1;
    State.brushStyle = bsClear;
    State.penStyle = psSolid;
    m_startDir = QDir::currentPath();
    m_helpFile = m_startDir + QStringLiteral("/Vermeo.hlp");
}

void TMainForm::resizeEvent(QResizeEvent *e)
{
    QMainWindow::resizeEvent(e);
    constexpr int kZoomPanel = 90;
    m_panels[0]->setFixedWidth(std::max(50, width() - 200 - kZoomPanel));
    m_panels[1]->setFixedWidth(100);
    m_panels[3]->setFixedWidth(kZoomPanel);
}

void TMainForm::closeEvent(QCloseEvent *e)
{
    // Every image window asks its own question first; one "Annuler" stops the whole
    // quit before any window is closed.
    QList<TMDIChild *> discarded;
    for (TMDIChild *c : children()) {
        // The user sees the picture the question is about.
        if (c->Modified())
            bringToFront(c);
        bool discard = false;
        if (!c->FormCloseQuery(discard)) {
            e->ignore();
            return;
        }
        if (discard)
            discarded << c;
    }
    for (TMDIChild *c : std::as_const(discarded))
        c->doc().setModified(false);
    m_mdi->closeAllSubWindows();
    if (!children().isEmpty()) {
        e->ignore();
        return;
    }
    if (!m_startDir.isEmpty())
        QDir::setCurrent(m_startDir);
    e->accept();
}

TMDIChild *TMainForm::OuvreFenetreImage(const QString &name)
{
    // The cascade position of the windows already open, so that RedimForm has the room
    // of the whole frame to fit a large picture from there.
    constexpr int kCascadeStep = 24, kCascadeSteps = 10;
    const int k = childCount() % kCascadeSteps;
    auto *child = new TMDIChild(*this);
    QMdiSubWindow *sw = m_mdi->addSubWindow(child);
    sw->move(k * kCascadeStep, k * kCascadeStep);
    sw->setAttribute(Qt::WA_DeleteOnClose);
    const QString caption = fileNamePart(name);
    child->setWindowTitle(caption);
    sw->setWindowTitle(caption);
    connect(child, &QObject::destroyed, this, [this] { QTimer::singleShot(0, this, [this] { UpdateMenuItems(); }); });
    if (m_journals)
        child->keepJournal(*m_journals);
    sw->show();
    m_mdi->setActiveSubWindow(sw);
    UpdateMenuItems();
    return child;
}

TMDIChild *TMainForm::activeChild() const
{
    QMdiSubWindow *sw = m_mdi->activeSubWindow();
    if (!sw) {
        const auto list = m_mdi->subWindowList(QMdiArea::ActivationHistoryOrder);
        sw = list.isEmpty() ? nullptr : list.last();
    }
    return sw ? qobject_cast<TMDIChild *>(sw->widget()) : nullptr;
}

QList<TMDIChild *> TMainForm::children() const
{
    QList<TMDIChild *> out;
    for (QMdiSubWindow *sw : m_mdi->subWindowList(QMdiArea::CreationOrder))
        // A closed window is hidden until it is deleted; it no longer counts.
        if (auto *c = qobject_cast<TMDIChild *>(sw->widget()); c && !sw->isHidden())
            out << c;
    return out;
}

void TMainForm::prepareChild(TMDIChild *child)
{
    applyMainState(State, child->doc(), *child);
    // The first text of a new window is written in what the font boxes show.
    SetFontName(child->doc(), FontName->currentText());
    SetFontSize(child->doc(), SpinEdit2->value());
    child->SetPage(Margins[0], Margins[1], Margins[2], Margins[3], PrintScale);
}

void TMainForm::UpdateMenuItems()
{
    const bool any = !children().isEmpty();
    for (const QString &name : std::as_const(m_childActions))
        if (QAction *a = m_actions.value(name))
            a->setEnabled(any);
    for (QWidget *w : std::as_const(m_childControls))
        w->setEnabled(any);
    m_actions.value("PasteItem")->setEnabled(clipboard::clipboardHasBitmap());
    updateRedoItem();
    // With no picture open, no picture size is shown.
    if (!any) {
        m_panels[1]->clear();
        m_panels[3]->clear();
    }
}

void TMainForm::rebuildWindowList()
{
    for (QAction *a : std::as_const(m_windowListActions)) {
        m_windowMenu->removeAction(a);
        delete a;
    }
    m_windowListActions.clear();
    const auto list = m_mdi->subWindowList(QMdiArea::CreationOrder);
    if (list.isEmpty())
        return;
    m_windowListActions << m_windowMenu->addSeparator();
    int i = 1;
    for (QMdiSubWindow *sw : list) {
        const QString title = sw->windowTitle().isEmpty() ? QStringLiteral("(sans titre)") : sw->windowTitle();
        QAction *a = m_windowMenu->addAction(QStringLiteral("&%1 %2").arg(i++).arg(title));
        a->setCheckable(true);
        a->setChecked(sw == m_mdi->activeSubWindow());
        connect(a, &QAction::triggered, this, [this, sw] {
            if (sw->isMinimized())
                sw->showNormal();
            m_mdi->setActiveSubWindow(sw);
        });
        m_windowListActions << a;
    }
}

} // namespace vermeo
