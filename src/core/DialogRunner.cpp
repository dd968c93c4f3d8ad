#include "DialogRunner.h"

#include <QHBoxLayout>
#include <QLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPixmapCache>
#include <QRegularExpression>
#include <QScreen>
#include <QTreeView>
#include <algorithm>
#include <memory>

namespace vermeo {

namespace {
struct Scripts {
    DialogRunner::DialogScript dialog;
    DialogRunner::AskScript ask;
    DialogRunner::TellScript tell;
    DialogRunner::FileScript file;
    DialogRunner::ColourScript colour;
};
Scripts &scripts()
{
    static Scripts s;
    return s;
}

// A filter as the dialog shows it with HideNameFilterDetails: its last group of
// patterns dropped (the rule of Qt's own filter parsing).
QString shownFilter(const QString &filter)
{
    static const QRegularExpression patterns(
        QStringLiteral("^(.*)\\(([a-zA-Z0-9_.,*? +;#\\-\\[\\]@\\{\\}/!<>\\$%&=^~:\\|]*)\\)$"));
    const QRegularExpressionMatch m = patterns.match(filter);
    return (m.hasMatch() ? m.captured(1) : filter).simplified();
}
} // namespace

int chosenFilterIndex(const QStringList &filters, const QString &selected, int otherwise)
{
    // Qt 6.4 reports the filter as shown, which may lack its patterns.
    const int exact = int(filters.indexOf(selected));
    if (exact >= 0)
        return exact;
    for (int i = 0; i < filters.size(); ++i)
        if (shownFilter(filters[i]) == selected.simplified())
            return i;
    return otherwise;
}

int DialogRunner::exec(QDialog &dialog)
{
    // The program's dialogs are of fixed size, with a close box only; a dialog that may
    // be resized (the help) says so with the property "resizable".
    if (!dialog.property("resizable").toBool())
        makeFixedDialog(dialog);
    else
        dialog.setMinimumWidth(std::max(dialog.minimumWidth(), captionRoom(dialog.windowTitle())));
    if (!scripts().dialog)
        return dialog.exec();
    dialog.setResult(QDialog::Rejected);
    dialog.show();
    scripts().dialog(dialog);
    if (dialog.isVisible())
        dialog.reject();
    return dialog.result();
}

QMessageBox::StandardButton DialogRunner::ask(QWidget *parent, QMessageBox::Icon icon, const QString &text,
                                              QMessageBox::StandardButtons buttons, const ButtonCaptions &captions)
{
    if (scripts().ask)
        return scripts().ask(text);
    QMessageBox box(icon, QStringLiteral("Vermeo"), text, buttons, parent);
    for (const auto &[button, caption] : captions)
        if (QAbstractButton *b = box.button(button))
            b->setText(caption);
    if (!captions.isEmpty())
        box.setDefaultButton(captions.front().first);
    return QMessageBox::StandardButton(box.exec());
}

void DialogRunner::tell(QWidget *parent, QMessageBox::Icon icon, const QString &text)
{
    if (scripts().tell) {
        scripts().tell(text);
        return;
    }
    QMessageBox box(icon, QStringLiteral("Vermeo"), text, QMessageBox::Ok, parent);
    box.exec();
}

QString DialogRunner::fileName(FileDialogRequest &r)
{
    if (scripts().file)
        return scripts().file(r);
    QFileDialog dlg(r.parent, r.caption, r.directory, r.filter);
    dlg.setAcceptMode(r.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dlg.setFileMode(r.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (r.hideFilterPatterns)
        dlg.setOption(QFileDialog::HideNameFilterDetails);
    if (r.preview) {
        // The preview needs a layout of our own: Qt's widget dialog, not the native one.
        dlg.setOption(QFileDialog::DontUseNativeDialog);
        if (auto *grid = qobject_cast<QGridLayout *>(dlg.layout())) {
            auto *label = new QLabel(&dlg);
            label->setFixedSize(200, 200);
            label->setAlignment(Qt::AlignCenter);
            label->setFrameShape(QFrame::StyledPanel);
            grid->addWidget(label, 0, grid->columnCount(), grid->rowCount(), 1);
            auto preview = r.preview;
            auto shown = std::make_shared<QString>();
            auto show = [label, preview, shown](const QString &name) {
                if (name == *shown)
                    return;
                *shown = name;
                const QImage img = QFileInfo(name).isFile() ? preview(name) : QImage();
                if (img.isNull()) {
                    label->clear();
                    return;
                }
                label->setPixmap(
                    QPixmap::fromImage(img.scaled(label->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
            };
            // A click or the arrow keys in the list, or a name typed in the box.
            QObject::connect(&dlg, &QFileDialog::currentChanged, label, show);
            if (auto *edit = dlg.findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
                QObject::connect(edit, &QLineEdit::textChanged, label, [&dlg, show](const QString &text) {
                    if (!text.isEmpty())
                        show(dlg.directory().absoluteFilePath(text));
                });
            // The list's columns wide enough for a name, a size, a type and a date, and
            // the dialog wide enough for them beside the preview.
            if (auto *list = dlg.findChild<QTreeView *>(QStringLiteral("treeView"))) {
                const int widths[] = {220, 90, 110, 150};
                for (int c = 0; c < 4; ++c)
                    list->header()->resizeSection(c, widths[c]);
            }
            if (auto *places = dlg.findChild<QWidget *>(QStringLiteral("sidebar")))
                places->setMinimumWidth(120);
            dlg.resize(std::max(dlg.width(), 980), std::max(dlg.height(), 440));
        }
    }
    const QStringList filters = r.filter.split(QStringLiteral(";;"));
    if (r.filterIndex >= 0 && r.filterIndex < filters.size())
        dlg.selectNameFilter(filters[r.filterIndex]);
    const bool accepted = dlg.exec() == QDialog::Accepted && !dlg.selectedFiles().isEmpty();
    // The dialog fills Qt's pixmap cache with the icons of every file and folder it
    // listed, and they stayed there after it closed: each "Ouvrir" cost more memory.
    QPixmapCache::clear();
    if (!accepted)
        return {};
    r.filterIndex = chosenFilterIndex(filters, dlg.selectedNameFilter(), r.filterIndex);
    return dlg.selectedFiles().first();
}

bool DialogRunner::colour(QWidget *parent, QColor &colour)
{
    if (scripts().colour)
        return scripts().colour(colour);
    const QColor c = QColorDialog::getColor(colour, parent);
    if (!c.isValid())
        return false;
    colour = c;
    return true;
}

void DialogRunner::setDialogScript(DialogScript s) { scripts().dialog = std::move(s); }
void DialogRunner::setAskScript(AskScript s) { scripts().ask = std::move(s); }
void DialogRunner::setTellScript(TellScript s) { scripts().tell = std::move(s); }
void DialogRunner::setFileScript(FileScript s) { scripts().file = std::move(s); }
void DialogRunner::setColourScript(ColourScript s) { scripts().colour = std::move(s); }
void DialogRunner::resetScripts() { scripts() = Scripts{}; }

ScriptedDialogs::ScriptedDialogs()
{
    DialogRunner::setDialogScript([this](QDialog &d) {
        dialogs.push_back(d.windowTitle());
        if (onDialog)
            onDialog(d);
    });
    DialogRunner::setAskScript([this](const QString &t) {
        asked.push_back(t);
        return answer;
    });
    DialogRunner::setTellScript([this](const QString &t) { asked.push_back(t); });
    DialogRunner::setFileScript([this](FileDialogRequest &r) { return onFile ? onFile(r) : QString(); });
    DialogRunner::setColourScript([this](QColor &c) { return onColour ? onColour(c) : false; });
}

ScriptedDialogs::~ScriptedDialogs() { DialogRunner::resetScripts(); }

void makeFixedDialog(QDialog &dialog)
{
    dialog.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint);
    // Minimum and maximum sizes are set before the window is shown: window managers read
    // them when they map it, and offer no maximise for a window that cannot grow.
    if (QLayout *l = dialog.layout()) {
        l->setSizeConstraint(QLayout::SetFixedSize);
        l->activate();
    }
    QSize size = dialog.layout() ? dialog.sizeHint() : dialog.size();
    // Wide enough for the whole caption: a window manager cuts a longer one in the middle.
    if (const int room = captionRoom(dialog.windowTitle()); size.width() < room) {
        size.setWidth(room);
        if (QLayout *l = dialog.layout())
            l->setSizeConstraint(QLayout::SetDefaultConstraint);
    }
    dialog.setFixedSize(size);
}

int captionRoom(const QString &caption)
{
    // Title bars set their caption in the application's font, often bold, between the
    // window's icon and its buttons.
    QFont font = QApplication::font();
    font.setBold(true);
    const QFontMetrics metrics(font);
    const int button = metrics.height() + 8;
    return metrics.horizontalAdvance(caption) + 4 * button + 24;
}

QPushButton *placedButton(QWidget *parent, const char *name, const QString &text, int x, int y, QSize size)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(QRect(QPoint(x, y), size));
    b->setAutoDefault(false);
    return b;
}

void centreOnScreen(QWidget &window)
{
    if (QScreen *s = window.screen()) {
        window.adjustSize();
        window.move(s->availableGeometry().center() - window.rect().center());
    }
}

namespace {
void makeOkCancel(QDialog &dialog, QPushButton *&ok, QPushButton *&cancel)
{
    ok = new QPushButton(QStringLiteral("OK"), &dialog);
    ok->setObjectName(QStringLiteral("Button2"));
    ok->setDefault(true);
    cancel = new QPushButton(QStringLiteral("Annuler"), &dialog);
    cancel->setObjectName(QStringLiteral("Button1"));
}
} // namespace

QHBoxLayout *okCancelRow(QDialog &dialog, QPushButton *&ok, QPushButton *&cancel, bool stretch)
{
    makeOkCancel(dialog, ok, cancel);
    auto *row = new QHBoxLayout;
    if (stretch)
        row->addStretch();
    row->addWidget(ok);
    row->addWidget(cancel);
    return row;
}

QVBoxLayout *okCancelColumn(QDialog &dialog, QPushButton *&ok, QPushButton *&cancel)
{
    makeOkCancel(dialog, ok, cancel);
    cancel->setAutoDefault(false);
    auto *column = new QVBoxLayout;
    column->addWidget(ok);
    column->addWidget(cancel);
    column->addStretch();
    return column;
}

} // namespace vermeo
