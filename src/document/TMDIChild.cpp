#include "TMDIChild.h"
#include "Attributes.h"
#include "Clipboard.h"
#include "DocumentFiles.h"
#include "Figures.h"
#include "FileAccess.h"
#include "ImageView.h"
#include "Printing.h"
#include "TAttributs.h"
#include "TEcran.h"
#include "ToolCursors.h"
#include "Zoom.h"

#include "DialogRunner.h"

#include <QCloseEvent>
#include <QCursor>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QWheelEvent>
#include <cmath>

namespace vermeo {

TMDIChild::TMDIChild(MainFrame &frame, QWidget *parent) : QScrollArea(parent), m_frame(frame)
{
    // FormCreate: no name, clear brush, black pen, pencil, no selection.
    setObjectName(QStringLiteral("TMDIChild"));
    setWindowTitle(QStringLiteral("Sans nom"));
    setFrameShape(QFrame::NoFrame);
    setBackgroundRole(QPalette::Dark);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // The scroll bars follow the window's size at all times (after tiling, a resize by hand...).
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setFocusPolicy(Qt::StrongFocus);
    QFont f(QStringLiteral("MS Sans Serif"));
    f.setPixelSize(13);
    setFont(f);
    m_doc.FileName.clear();
    m_doc.Tool = tcPencil;
    m_doc.PrevTool = tcPencil;

    m_view = new ImageView(m_doc, m_mouse);
    m_view->setGuard([this](const std::function<void()> &action) { guarded(action); });
    setWidget(m_view);
    resize(478, 350);

    m_doc.onReplaced = [this] {
        m_view->viewReplaced();
        setStatusText(3, zoom::zoomCaption(m_doc.zoomLevel()));
    };
    m_doc.onChanged = [this](const QRegion &r) { m_view->update(r); };
    m_doc.onHistoryChanged = [this] {
        m_frame.historyChanged();
        showModifiedInTitle();
    };
    watchModified();
    setCursorShape(Qt::ArrowCursor);
}

void TMDIChild::watchModified()
{
    auto journalHook = std::move(m_doc.onEdited);
    m_doc.onEdited = [this, journalHook] {
        if (journalHook)
            journalHook();
        showModifiedInTitle();
    };
}

void TMDIChild::showModifiedInTitle()
{
    QMdiSubWindow *sw = subWindow();
    if (!sw || m_titleMarked == m_doc.modified())
        return;
    m_titleMarked = m_doc.modified();
    sw->setWindowTitle(m_titleMarked ? windowTitle() + QLatin1Char('*') : windowTitle());
}

TMDIChild::~TMDIChild() = default;

QMdiSubWindow *TMDIChild::subWindow() const { return qobject_cast<QMdiSubWindow *>(parentWidget()); }

void TMDIChild::Init(int w, int h, TColour colour)
{
    m_doc.Init(w, h, colour);
    RedimForm();
    setStatusText(1, QStringLiteral("%1 x %2").arg(w).arg(h));
}

void TMDIChild::SetIni(int toolNumber, int penWidth, int brushStyle, TColour fill, TColour pen, int penStyle)
{
    vermeo::SetIni(m_doc, *this, toolNumber, penWidth, brushStyle, fill, pen, penStyle);
    setCursorShape(Qt::ArrowCursor);
}

void TMDIChild::SetPage(int left, int top, int right, int bottom, int scale)
{
    m_doc.MarginLeft = left;
    m_doc.MarginTop = top;
    m_doc.MarginRight = right;
    m_doc.MarginBottom = bottom;
    ImageDocument::PrintScale = scale;
}

void TMDIChild::Imprime(int copies)
{
    guarded([&] { printing::Imprime(m_doc, copies, printJobName()); });
}

QString TMDIChild::printJobName() const
{
    QString name = windowTitle();
    name.remove(QStringLiteral("[*]"));
    name = name.trimmed();
    return name.isEmpty() ? QStringLiteral("Vermeo") : name;
}

int TMDIChild::Mh(int millimetres) const
{
    return printing::Mh(printing::pageMetrics(printing::printer()), millimetres);
}

int TMDIChild::Mv(int millimetres) const
{
    return printing::Mv(printing::pageMetrics(printing::printer()), millimetres);
}

void TMDIChild::Apercu()
{
    {
        TEcran ecran(this);
        ecran.Init(m_doc.MarginLeft, m_doc.MarginTop, m_doc.MarginRight, m_doc.MarginBottom, ImageDocument::PrintScale,
                   m_doc.view(), printing::pageMetrics(printing::printer()));
        DialogRunner::exec(ecran);
    }
    setFocus();
}

void TMDIChild::Annule()
{
    m_doc.Annule();
    RedimForm();
    setStatusText(1, QStringLiteral("%1 x %2").arg(m_doc.width()).arg(m_doc.height()));
}

void TMDIChild::Retablit()
{
    m_doc.Retablit();
    RedimForm();
    setStatusText(1, QStringLiteral("%1 x %2").arg(m_doc.width()).arg(m_doc.height()));
}

void TMDIChild::Proprietes()
{
    TAttributs dlg(this);
    dlg.Init(m_doc.FileName, m_doc.image());
    DialogRunner::exec(dlg);
}

void TMDIChild::Charge(const QString &fileName) { formats::Charge(m_doc, *this, fileName); }

bool TMDIChild::Sauve(bool saveAs)
{
    try {
        const bool written = formats::Sauve(m_doc, *this, saveAs, [this] { zoom::ZInit(m_doc, *this); });
        if (written)
            updateCaption();
        return written || !m_doc.modified();
    } catch (const VermeoError &e) {
        showError(e.message());
        return false;
    }
}

void TMDIChild::keepJournal(JournalSession &session, const QString &existing)
{
    // The old one first: going, it unhooks itself from the document.
    m_journal.reset();
    m_journal = std::make_unique<DocumentJournal>(
        m_doc, session, [this] { return windowTitle(); }, existing);
    watchModified();
    // Not a message box in the middle of a stroke: the status bar says it.
    m_journal->onFailure = [this](const QString &reason) {
        qWarning("%s", qPrintable(reason));
        setStatusText(0, reason);
    };
}

void TMDIChild::updateCaption()
{
    setWindowTitle(fileNamePart(m_doc.FileName));
    if (auto *sw = subWindow())
        sw->setWindowTitle(windowTitle());
    m_titleMarked = false;
    showModifiedInTitle();
    m_frame.pictureFileUsed(m_doc.FileName);
}

void TMDIChild::FormActivate()
{
    setStatusText(1, QStringLiteral("%1 x %2").arg(m_doc.width()).arg(m_doc.height()));
    setStatusText(3, zoom::zoomCaption(m_doc.zoomLevel()));
    setFocus();
}

void TMDIChild::RedimForm()
{
    QMdiSubWindow *sw = subWindow();
    const QSize main = m_frame.mainClientSize();
    // A minimised window keeps its bar's size; it is fitted again when restored.
    if (!sw || main.isEmpty() || sw->isMinimized())
        return;
    const int pw = m_doc.viewWidth(), ph = m_doc.viewHeight();
    QPoint pos = sw->pos();
    // FormResize: a window never starts left of or above the frame.
    if (pos.x() < 0 || pos.y() < 0) {
        pos = QPoint(std::max(0, pos.x()), std::max(0, pos.y()));
        sw->move(pos);
    }
    const QSize frame = sw->size() - size(); // title bar and borders of the MDI window
    const bool hBar = main.width() < pw + pos.x() + 66;
    const bool vBar = main.height() < ph + pos.y() + 110;
    const int vBarW = vBar ? verticalScrollBar()->sizeHint().width() : 0;
    const int hBarH = hBar ? horizontalScrollBar()->sizeHint().height() : 0;
    const int outerW = hBar ? main.width() - pos.x() - 66 : pw + vBarW + frame.width();
    const int outerH = vBar ? main.height() - pos.y() - 90 : ph + hBarH + frame.height();
    resizeWithinArea(QSize(std::max(outerW, 40), std::max(outerH, 40)));
}

void TMDIChild::resizeWindow(int w, int h) { resizeWithinArea(QSize(w, h)); }

void TMDIChild::resizeWithinArea(QSize outer)
{
    QMdiSubWindow *sw = subWindow();
    if (!sw)
        return;
    QMdiArea *area = sw->mdiArea();
    const QSize room = area ? area->viewport()->size() : QSize();
    if (room.isEmpty() || sw->isMaximized()) {
        sw->resize(outer);
        return;
    }
    // Never past the MDI area, title bar and close box in sight: the rest of the picture scrolls.
    outer = outer.boundedTo(room);
    QPoint pos = sw->pos();
    pos.setX(std::max(0, std::min(pos.x(), room.width() - outer.width())));
    pos.setY(std::max(0, std::min(pos.y(), room.height() - outer.height())));
    if (pos != sw->pos())
        sw->move(pos);
    sw->resize(outer);
}

bool TMDIChild::FormCloseQuery(bool &discard)
{
    discard = false;
    if (!m_doc.modified())
        return true;
    const auto answer =
        DialogRunner::ask(this, QMessageBox::Warning,
                          QStringLiteral("Enregistrer modifications dans ") + questionName() + QStringLiteral(" ?"),
                          QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer == QMessageBox::Cancel)
        return false;
    // A cancelled save dialog or a failed save keeps the window and its changes.
    if (answer == QMessageBox::Yes && (!Sauve(false) || m_doc.modified()))
        return false;
    discard = answer == QMessageBox::No;
    return true;
}

QString TMDIChild::questionName() const
{
    // A picture with no file yet is known to the user by its window's title ("Image4").
    return m_doc.FileName.isEmpty() ? windowTitle() : fileNamePart(m_doc.FileName);
}

void TMDIChild::closeEvent(QCloseEvent *e)
{
    bool discard = false;
    if (!FormCloseQuery(discard)) {
        e->ignore();
        return;
    }
    if (discard)
        m_doc.setModified(false);
    e->accept();
}

void TMDIChild::keyPressEvent(QKeyEvent *e)
{
    if (e->key() == Qt::Key_Delete) {
        guarded([&] { clipboard::FormKeyDown(m_doc, *this, e->key()); });
        return;
    }
    if (e->key() == Qt::Key_Escape && m_mouse.cancel())
        return;
    QScrollArea::keyPressEvent(e);
}

void TMDIChild::wheelEvent(QWheelEvent *e)
{
    if (!e->modifiers().testFlag(Qt::ControlModifier)) {
        QScrollArea::wheelEvent(e);
        return;
    }
    e->accept();
    // One zoom step per notch (120); fine-grained wheels add up to notches.
    constexpr int kNotch = 120;
    m_wheelRest += e->angleDelta().y();
    const QPoint m = viewport()->mapFromGlobal(e->globalPosition().toPoint());
    while (std::abs(m_wheelRest) >= kNotch) {
        const bool enlarge = m_wheelRest > 0;
        m_wheelRest -= enlarge ? kNotch : -kNotch;
        zoomAround(m, enlarge);
    }
}

void TMDIChild::zoomAround(QPoint m, bool enlarge)
{
    const QSize before = m_doc.viewSize();
    const QPointF onView = QPointF(m - m_view->pos()) + QPointF(0.5, 0.5);
    const QPointF onPicture(onView.x() * m_doc.width() / before.width(), onView.y() * m_doc.height() / before.height());
    guarded([&] { enlarge ? zoom::ZAvant(m_doc, *this) : zoom::ZArriere(m_doc, *this); });
    const QSize after = m_doc.viewSize();
    if (after == before)
        return;
    // The same picture point under the mouse: the view scrolls so that it stays at m.
    const QPointF now(onPicture.x() * after.width() / m_doc.width(), onPicture.y() * after.height() / m_doc.height());
    horizontalScrollBar()->setValue(int(std::floor(now.x() - m.x())));
    verticalScrollBar()->setValue(int(std::floor(now.y() - m.y())));
}

void TMDIChild::showError(const QString &message) { DialogRunner::tell(this, QMessageBox::Critical, message); }

// --- DocumentHost ---------------------------------------------------------------------

void TMDIChild::setCursorShape(Qt::CursorShape shape)
{
    // The plain arrow stands for the window's resting cursor: the one of its tool.
    m_view->setCursor(shape == Qt::ArrowCursor ? toolCursor(cursorKindOf(m_doc)) : QCursor(shape));
    // The tool may have changed: the stamp's source mark comes or goes with it.
    m_doc.repaint(stampMarkArea(m_doc));
}

QPoint TMDIChild::windowSize() const { return QPoint(viewport()->width(), viewport()->height()); }

void TMDIChild::moveMouseTo(const QPoint &p) { QCursor::setPos(viewport()->mapToGlobal(p)); }

} // namespace vermeo
