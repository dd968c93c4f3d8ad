#pragma once
// The main window: menus, tool bar, tool panel, palette bar, progress bar, status bar,
// and the MDI area holding the image windows. It routes commands to the active image
// window and keeps the commands' enabled state; it computes nothing itself.
#include "ColourSwatch.h"
#include "MainFrame.h"
#include "RecentFiles.h"
#include "ToolPalette.h"

#include <QHash>
#include <QMainWindow>
#include <functional>

class QAction;
class QButtonGroup;
class QComboBox;
class QLabel;
class QMdiArea;
class QMenu;
class QProgressBar;
class QSpinBox;
class QTime;
class QTimer;
class QToolButton;

namespace vermeo {

class JournalSession;
class TMDIChild;
class THelp;

// The status bar's clock: four spaces and the time in the system's format.
QString clockText(const QTime &time);

class TMainForm : public QMainWindow, public MainFrame {
    Q_OBJECT
public:
    explicit TMainForm(QWidget *parent = nullptr);
    ~TMainForm() override;

    // --- operations other parts use --------------------------------------------------
    TMDIChild *OuvreFenetreImage(const QString &name);
    TMDIChild *activeChild() const;
    QList<TMDIChild *> children() const;
    int childCount() const { return int(children().size()); }
    void UpdateMenuItems();
    // Hands a new window the current drawing state and page set-up.
    void prepareChild(TMDIChild *child);
    // A picture file in a new window, as "Ouvrir..." opens it; false (and a message)
    // when it cannot be read.
    bool openPictureFile(const QString &name);
    // The files named on the command line.
    void openFiles(const QStringList &names);
    // The recovery journals of this run, kept for every image window opened from now on
    // (the program gives one; tests may).
    void setJournalSession(JournalSession *session) { m_journals = session; }
    JournalSession *journalSession() const { return m_journals; }
    // At start-up: offers the pictures that a crash or a kill left unsaved.
    void offerRecovery();
    // The help window beside the pictures, shown.
    THelp *helpWindow();
    // The help at a topic; inside a modal dialog, a help window of the dialog's own.
    void showHelpTopic(const QString &topic, QWidget *modalDialog = nullptr);

    // The menu item or button of that name ("FileNewItem", "PasteItem", "PasteButton"...).
    QAction *action(const QString &name) const { return m_actions.value(name); }
    QWidget *control(const QString &name) const;
    QString statusPanel(int panel) const;
    QString startDirectory() const { return m_startDir; }
    // The menu items connected to a command.
    const QStringList &wiredItems() const { return m_wiredItems; }

    // --- MainFrame -----------------------------------------------------------------------
    void setStatusPanel(int panel, const QString &text) override;
    Progress &progressBar() override;
    QSize mainClientSize() const override;
    QMdiArea *mdiArea() const { return m_mdi; }
    TColour foreColour() const override { return State.foreColour; }
    void setForeColour(TColour c) override;
    void pickedColour(TColour c) override; // SetCol
    void showPenWidth(int w) override;
    QString fontBoxName() const override;
    int fontBoxSize() const override;
    void clipboardChanged() override;
    void pictureFileUsed(const QString &fileName) override;

    // The image window that shows this file already (the same file under any name), if any.
    TMDIChild *childShowing(const QString &fileName) const;
    // The "Fichiers récents" submenu; choosing an item opens it as "Ouvrir..." does.
    QMenu *recentMenu() const { return m_recentMenu; }
    void openRecentFile(const QString &fileName);
    void historyChanged() override;

    // --- menu handlers -------------------------------------------------------------------
    void FileNewItemClick();
    void FileOpenItemClick();
    void FileCloseItemClick();
    void FileSaveItemClick();
    void FileSaveAsItemClick();
    void FileExitItemClick();
    void Capturecran1Click();
    void Acqurir1Click();
    void Parcourir1Click();
    void Conversionsmultiples1Click();
    void Conversions();
    void Configurationimprimante1Click();
    void Miseenpage1Click();
    void Apercuavantimpression1Click();
    void Imprimer1Click();
    void PrintButtonClick();
    void Effacerlimage1Click();
    void PasteItemClick();
    void WindowCascadeItemClick();
    void WindowTileItemClick();
    void WindowArrangeItemClick();
    void WindowMinimizeItemClick();
    void Palettedescouleurs1Click();
    void HContents();
    void HSearch();
    void HowToUse();
    void About1Click();

    // Drawing state handed to new windows (tool number, styles, colours, pen width).
    MainDrawingState State;
    int Margins[4] = {20, 20, 20, 20};
    int PrintScale = 100;

    ColourSwatch *ForeColor = nullptr;
    ColourSwatch *Backcolor = nullptr;
    QSpinBox *SpinEdit1 = nullptr;
    QSpinBox *SpinEdit2 = nullptr;
    QComboBox *FontName = nullptr;
    QProgressBar *ProgressBar1 = nullptr;
    QWidget *Panel1 = nullptr;
    QWidget *Panel3 = nullptr;

protected:
    bool event(QEvent *e) override;
    void showEvent(QShowEvent *e) override;
    void closeEvent(QCloseEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    // Picture files dropped from a file manager open as "Ouvrir..." opens them.
    void dragEnterEvent(QDragEnterEvent *e) override;
    void dropEvent(QDropEvent *e) override;

private:
    void buildMenus();
    // A captured or scanned picture in a new unnamed window.
    void openAcquired(const QImage &picture);
    void buildToolBar();
    void buildToolPanel();
    void showChosenTool(QButtonGroup *panelTools, int buttonIndex);
    void buildPaletteBar();
    void buildStatusBar();
    QToolButton *makeButton(QWidget *parent, const QString &name, const QString &glyphName, const QString &hint);
    void rebuildWindowList();
    // "Rétablir" is enabled while the active picture has a step to redo.
    void updateRedoItem();
    void onClock();
    ActiveWindow active() const;
    void syncSwatches();
    void giveFocusToChild();
    void rebuildRecentMenu();
    void bringToFront(TMDIChild *child);

    class BarProgress;

    QMdiArea *m_mdi = nullptr;
    QHash<QString, QAction *> m_actions;
    QHash<QString, QWidget *> m_controls;
    QStringList m_childActions;
    QStringList m_wiredItems; // enabled exactly when an image window is open
    QList<QWidget *> m_childControls;
    QMenu *m_windowMenu = nullptr;
    QList<QAction *> m_windowListActions;
    QLabel *m_panels[4] = {}; // hint, size, clock, and the zoom level beside the size
    QMenu *m_recentMenu = nullptr;
    RecentFiles m_recent;
    QTimer *m_clock = nullptr;
    BarProgress *m_progress = nullptr;
    QString m_startDir;
    QString m_helpFile;
    bool m_shown = false;
    JournalSession *m_journals = nullptr;
};

} // namespace vermeo
