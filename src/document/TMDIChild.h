#pragma once
// The image window: one per open picture, inside the main window's MDI area. It owns
// the document (picture, undo record, file name, drawing state), shows its view in
// Image1, forwards the mouse to the tools and the menu commands to the subsystems. Its
// methods stay one-liners over the document and the subsystem functions.
#include "AirBrush.h"
#include "DocumentHost.h"
#include "DocumentJournal.h"
#include "Error.h"
#include "ImageDocument.h"
#include "MainFrame.h"
#include "MouseTools.h"

#include <QScrollArea>

class QMdiSubWindow;

namespace vermeo {

class ImageView;

class TMDIChild : public QScrollArea, public DocumentHost {
    Q_OBJECT
public:
    explicit TMDIChild(MainFrame &frame = MainFrame::silent(), QWidget *parent = nullptr);
    ~TMDIChild() override;

    ImageDocument &doc() { return m_doc; }
    const ImageDocument &doc() const { return m_doc; }
    ImageView *Image1() const { return m_view; }
    QMdiSubWindow *subWindow() const;

    // --- document lifecycle ----------------------------------------------------------
    void Init(int w, int h, TColour colour);
    void SetIni(int toolNumber, int penWidth, int brushStyle, TColour fill, TColour pen, int penStyle);
    void SetPage(int left, int top, int right, int bottom, int scale);
    // Prints the picture as shown on one page; a failure (no printer...) is shown.
    void Imprime(int copies);
    // The print job's name: the window's caption (the file's name), else "Vermeo".
    QString printJobName() const;
    // The print preview, modal; the focus comes back here.
    void Apercu();
    // A margin in millimetres as pixels of the printer, across and down.
    int Mh(int millimetres) const;
    int Mv(int millimetres) const;
    void SauveUndo() { m_doc.SauveUndo(); }
    void Annule();
    void Retablit();
    void Modif() { m_doc.Modif(); }
    void SaveStyles() { m_doc.SaveStyles(); }
    void RestoreStyles() { m_doc.RestoreStyles(); }
    void Efface() { m_doc.Efface(); }
    void Proprietes();
    // Saves (flag false: "Enregistrer", true: "Enregistrer sous..."). Returns false when
    // the user cancelled or the save failed (the failure has been shown).
    bool Sauve(bool saveAs);
    // Loads a file; shows nothing itself, throws VermeoError on failure.
    void Charge(const QString &fileName);

    // Asks whether to save a modified picture; false when the user cancels or the save
    // did not happen. discard tells that the user chose to give the changes up.
    bool FormCloseQuery(bool &discard);
    void FormActivate();
    void RedimForm();
    // Resizes the window, bounded by the MDI area (moved back into it when needed).
    void resizeWithinArea(QSize outer);
    QString FileName() const { return m_doc.FileName; }
    bool Modified() const { return m_doc.modified(); }
    // Journals the picture for recovery after a crash while it has unsaved changes;
    // existing: a journal that holds it as it is now (a recovered picture).
    void keepJournal(JournalSession &session, const QString &existing = {});
    DocumentJournal *journal() const { return m_journal.get(); }

    // --- DocumentHost -----------------------------------------------------------------
    void setStatusText(int panel, const QString &text) override { m_frame.setStatusPanel(panel, text); }
    void setCursorShape(Qt::CursorShape shape) override;
    Progress &progress() override { return m_frame.progressBar(); }
    QWidget *dialogParent() override { return this; }
    void fitWindow() override { RedimForm(); }
    void resizeWindow(int w, int h) override;
    QPoint windowSize() const override;
    void moveMouseTo(const QPoint &p) override;
    void takeFocus() override { setFocus(); }
    void pickedColour(TColour c) override { m_frame.pickedColour(c); }
    void showPenWidth(int w) override { m_frame.showPenWidth(w); }
    TColour foreColour() const override { return m_frame.foreColour(); }
    void setForeColour(TColour c) override { m_frame.setForeColour(c); }
    QString fontBoxName() const override { return m_frame.fontBoxName(); }
    int fontBoxSize() const override { return m_frame.fontBoxSize(); }
    void clipboardChanged() override { m_frame.clipboardChanged(); }

    // Runs a command and shows a failure in a message box; the document is unchanged then.
    template <typename Fn>
    void guarded(Fn &&fn);

    // The mouse, in the tools' order (for tests and the view).
    MouseSequence &mouse() { return m_mouse; }

    // The name the save question gives: the file's name, else the window's title.
    QString questionName() const;
    // The title the frame shows: the caption, with "*" while the picture is modified.
    void showModifiedInTitle();

protected:
    void closeEvent(QCloseEvent *e) override;  // FormCloseQuery
    void keyPressEvent(QKeyEvent *e) override; // FormKeyDown
    void wheelEvent(QWheelEvent *e) override;  // Ctrl+wheel zooms

private:
    void updateCaption();
    // The document's change hook also keeps the title's mark (after the journal's own).
    void watchModified();
    // A zoom step that keeps the picture point under the mouse (at viewport point m) still.
    void zoomAround(QPoint m, bool enlarge);
    int m_wheelRest = 0; // wheel turns short of a whole step
    void showError(const QString &message);

    MainFrame &m_frame;
    ImageDocument m_doc;

public:
    TAirBrush AirBrush1;

private:
    MouseSequence m_mouse{m_doc, *this, AirBrush1};
    ImageView *m_view;
    bool m_titleMarked = false;
    // After m_doc: the journal goes (and lets go of the picture) first.
    std::unique_ptr<DocumentJournal> m_journal;
};

template <typename Fn>
void TMDIChild::guarded(Fn &&fn)
{
    try {
        fn();
    } catch (const VermeoError &e) {
        showError(e.message());
    }
}

} // namespace vermeo
