#pragma once
// Every modal dialog, question, message and file or colour dialog goes through here.
// By default each one is shown to the user; a test installs scripts that answer
// instead, so the real dialog and the real command run end to end.
#include <QColor>
#include <QImage>
#include <QMessageBox>
#include <QSize>
#include <QString>
#include <functional>

class QDialog;
class QHBoxLayout;
class QVBoxLayout;
class QPushButton;
class QWidget;

namespace vermeo {

struct FileDialogRequest {
    QWidget *parent = nullptr;
    QString caption;
    QString directory;
    QString filter;      // Qt syntax: "Desc (*.a *.b);;Other (*.c)"
    int filterIndex = 0; // 0-based, in and out
    bool save = false;
    // Open dialogs: when set, the dialog shows a preview of the selected file.
    std::function<QImage(const QString &fileName)> preview;
    // The filter's descriptions already name their patterns: show them alone.
    bool hideFilterPatterns = false;
};

// The index in filters of the filter a file dialog reports as chosen (in full, or as
// shown with HideNameFilterDetails); otherwise when none matches.
int chosenFilterIndex(const QStringList &filters, const QString &selected, int otherwise);

class DialogRunner {
public:
    // Shows a dialog modally and returns its result code (QDialog::Accepted...).
    static int exec(QDialog &dialog);
    // A question with the given buttons; returns the button chosen. Captions, where
    // given, replace the buttons' own words; the first button listed is the default.
    using ButtonCaptions = QList<QPair<QMessageBox::StandardButton, QString>>;
    static QMessageBox::StandardButton ask(QWidget *parent, QMessageBox::Icon icon, const QString &text,
                                           QMessageBox::StandardButtons buttons, const ButtonCaptions &captions = {});
    // A message with one "OK" button.
    static void tell(QWidget *parent, QMessageBox::Icon icon, const QString &text);
    // A file name, or an empty string when cancelled.
    static QString fileName(FileDialogRequest &request);
    // The colour dialog preset to colour; false when cancelled.
    static bool colour(QWidget *parent, QColor &colour);

    // --- scripts for tests -----------------------------------------------------------
    // The dialog is shown (not modally), the script sets its controls and presses
    // its buttons; a dialog still open afterwards is closed as cancelled.
    using DialogScript = std::function<void(QDialog &)>;
    using AskScript = std::function<QMessageBox::StandardButton(const QString &text)>;
    using TellScript = std::function<void(const QString &text)>;
    using FileScript = std::function<QString(FileDialogRequest &)>;
    using ColourScript = std::function<bool(QColor &)>;

    static void setDialogScript(DialogScript s);
    static void setAskScript(AskScript s);
    static void setTellScript(TellScript s);
    static void setFileScript(FileScript s);
    static void setColourScript(ColourScript s);
    // Back to real dialogs.
    static void resetScripts();
};

// A dialog of fixed size whose title bar has a close box only (no minimise or maximise
// button from the window manager). Call once its controls are laid out; exec() does it
// for every dialog without the property "resizable".
void makeFixedDialog(QDialog &dialog);
// The width a window needs to show this caption whole in its title bar, buttons included.
int captionRoom(const QString &caption);
// A button placed at (x, y) in a dialog laid out by hand; Enter does not press it.
QPushButton *placedButton(QWidget *parent, const char *name, const QString &text, int x, int y, QSize size = {75, 25});

// Centred on the screen rather than on the main window, at its laid-out size.
void centreOnScreen(QWidget &window);

// The "OK" (Button2, the default: Enter means "OK") and "Annuler" (Button1) buttons of a
// dialog, side by side in the returned row; stretch puts them at the right.
QHBoxLayout *okCancelRow(QDialog &dialog, QPushButton *&ok, QPushButton *&cancel, bool stretch = false);
// The same two buttons one above the other at the top of the returned column.
QVBoxLayout *okCancelColumn(QDialog &dialog, QPushButton *&ok, QPushButton *&cancel);

// Installs scripts for one scope (a test) and removes them afterwards.
class ScriptedDialogs {
public:
    ScriptedDialogs();
    ~ScriptedDialogs();
    std::vector<QString> asked;   // every question and message text, in order
    std::vector<QString> dialogs; // window titles of the dialogs shown
    QMessageBox::StandardButton answer = QMessageBox::Yes;
    std::function<void(QDialog &)> onDialog;            // default: cancel
    std::function<QString(FileDialogRequest &)> onFile; // default: cancel
    std::function<bool(QColor &)> onColour;             // default: cancel
};

} // namespace vermeo
