#include "TVignettes.h"
#include "DialogRunner.h"
#include "Error.h"
#include "FileAccess.h"
#include "Parallel.h"

#include <QApplication>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace vermeo::formats {

namespace {
constexpr int kPanelWidth = 190, kPanelHeight = 160;
constexpr int kColumns = 4;

// What a cell shows for a file that cannot be read: a red cross on grey.
QPixmap unreadableMark(QSize size)
{
    QPixmap pm(size);
    pm.fill(QColor(230, 230, 230));
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const int side = std::min(size.width(), size.height()) / 2;
    const QRect r(QPoint((size.width() - side) / 2, (size.height() - side) / 2 - 8), QSize(side, side));
    p.setPen(QPen(QColor(200, 0, 0), 6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(r.topLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomLeft());
    p.setPen(Qt::black);
    p.drawText(QRect(0, r.bottom() + 4, size.width(), 20), Qt::AlignHCenter | Qt::AlignTop,
               QStringLiteral("Illisible"));
    return pm;
}
} // namespace

TVignettes::TVignettes(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TVignettes"));
    setWindowTitle(QStringLiteral("Parcourir"));
    m_pool.setMaxThreadCount(passThreads());
    auto *column = new QVBoxLayout(this);
    auto *bar = new QHBoxLayout;
    const struct {
        QToolButton **button;
        const char *name;
        QStyle::StandardPixmap glyph;
        const char *hint;
        void (TVignettes::*move)();
    } moves[] = {
        {&SpeedButton1, "SpeedButton1", QStyle::SP_MediaSkipBackward, "Première page", &TVignettes::Premier},
        {&SpeedButton2, "SpeedButton2", QStyle::SP_MediaSeekBackward, "Page précédente", &TVignettes::Precedent},
        {&SpeedButton3, "SpeedButton3", QStyle::SP_MediaSeekForward, "Page suivante", &TVignettes::Suivant},
        {&SpeedButton4, "SpeedButton4", QStyle::SP_MediaSkipForward, "Dernière page", &TVignettes::Dernier},
    };
    for (const auto &m : moves) {
        auto *b = new QToolButton(this);
        b->setObjectName(QLatin1String(m.name));
        b->setAutoRaise(true);
        b->setIcon(style()->standardIcon(m.glyph));
        b->setToolTip(QString::fromUtf8(m.hint));
        b->setFocusPolicy(Qt::NoFocus);
        connect(b, &QToolButton::clicked, this, m.move);
        bar->addWidget(b);
        *m.button = b;
    }
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setFixedWidth(200);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->hide();
    bar->addSpacing(12);
    bar->addWidget(ProgressBar1);
    bar->addStretch();
    Button1 = new QPushButton(QStringLiteral("Fermer"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    // "Fermer" leaves nothing chosen; what counts is Result(), not how the page closed.
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    bar->addWidget(Button1);
    column->addLayout(bar);
    auto *grid = new QGridLayout;
    grid->setSpacing(4);
    for (int k = 0; k < kCells; ++k) {
        auto *panel = new QFrame(this);
        panel->setObjectName(QStringLiteral("Panel%1").arg(k + 1));
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setFixedSize(kPanelWidth, kPanelHeight);
        auto *image = new QLabel(panel);
        image->setObjectName(QStringLiteral("Image%1").arg(k + 1));
        image->setAlignment(Qt::AlignCenter);
        image->installEventFilter(this);
        auto *label = new QLabel(panel);
        label->setObjectName(QStringLiteral("Label%1").arg(k + 1));
        label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        label->setGeometry(1, kPanelHeight - 16, kPanelWidth - 2, 15);
        Panels[k] = panel;
        Images[k] = image;
        Labels[k] = label;
        grid->addWidget(panel, k / kColumns, k % kColumns);
    }
    column->addLayout(grid);
    makeFixedDialog(*this);
    centreOnScreen(*this);
}

TVignettes::~TVignettes()
{
    // No reading may report to a page that is gone.
    m_pool.clear();
    m_pool.waitForDone();
}

void TVignettes::Init(const QStringList &names)
{
    m_names = names;
    m_first = 0;
    m_last = int(names.size()) - 1;
    m_chosen = -1;
    Affiche();
}

void TVignettes::Affiche()
{
    // Readings still running for the page before are dropped when they arrive.
    ++m_generation;
    m_pool.clear();
    m_pending = 0;
    const QRect areaRect = fitInCell(QSize(), QSize(kPanelWidth, kPanelHeight)).view;
    const QSize area = areaRect.size();
    for (int k = 0; k < kCells; ++k) {
        Images[k]->clear();
        Images[k]->setToolTip(QString());
        Images[k]->setGeometry(areaRect);
        Labels[k]->clear();
        const int i = m_first + k;
        if (i > m_last)
            continue;
        const QString name = m_names[i];
        if (!QFileInfo::exists(name) || name.contains(QLatin1String(".avi"), Qt::CaseInsensitive))
            continue;
        Labels[k]->setText(fileNamePart(name));
        ++m_pending;
        const int generation = m_generation;
        m_pool.start([this, generation, k, name, area] {
            Thumbnail t;
            QString failure;
            try {
                t = readThumbnail(name, area);
            } catch (const VermeoError &e) {
                failure = e.message();
            } catch (const std::bad_alloc &) {
                failure = QStringLiteral("mémoire insuffisante");
            }
            QMetaObject::invokeMethod(
                this, [this, generation, k, t, failure] { cellRead(generation, k, t, failure); }, Qt::QueuedConnection);
        });
    }
    ProgressBar1->setRange(0, m_pending);
    ProgressBar1->setValue(0);
    ProgressBar1->setVisible(m_pending > 0);
}

void TVignettes::cellRead(int generation, int k, const Thumbnail &t, const QString &failure)
{
    if (generation != m_generation)
        return;
    if (failure.isEmpty())
        Echelle(k, t);
    else
        showFailure(k, failure);
    --m_pending;
    ProgressBar1->setValue(ProgressBar1->maximum() - m_pending);
    if (m_pending == 0)
        ProgressBar1->hide();
}

void TVignettes::Echelle(int k, const Thumbnail &t)
{
    const CellFit fit = fitInCell(t.fullSize, Panels[k]->size());
    Images[k]->setGeometry(fit.view);
    if (fit.stretch)
        Images[k]->setPixmap(
            QPixmap::fromImage(t.image.scaled(fit.view.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
    else
        Images[k]->setPixmap(QPixmap::fromImage(t.image)); // its own size, centred
}

void TVignettes::showFailure(int k, const QString &reason)
{
    Images[k]->setPixmap(unreadableMark(Images[k]->size()));
    Images[k]->setToolTip(reason);
}

void TVignettes::Premier()
{
    m_first = 0;
    Affiche();
}

void TVignettes::Precedent()
{
    m_first = std::max(0, m_first - kCells);
    Affiche();
}

void TVignettes::Suivant()
{
    m_first += kCells;
    if (m_first > m_last - (kCells - 1))
        m_first = m_last - (kCells - 1);
    m_first = std::max(0, m_first);
    Affiche();
}

void TVignettes::Dernier()
{
    m_first = std::max(0, m_last - (kCells - 1));
    Affiche();
}

void TVignettes::cellDoubleClicked(int k)
{
    if (m_first + k > m_last)
        return;
    m_chosen = m_first + k;
    accept();
}

bool TVignettes::eventFilter(QObject *watched, QEvent *e)
{
    if (e->type() == QEvent::MouseButtonDblClick)
        for (int k = 0; k < kCells; ++k)
            if (watched == Images[k]) {
                cellDoubleClicked(k);
                return true;
            }
    return QDialog::eventFilter(watched, e);
}

void TVignettes::keyPressEvent(QKeyEvent *e)
{
    if (e->key() == Qt::Key_PageUp)
        Precedent();
    else if (e->key() == Qt::Key_PageDown)
        Suivant();
    else
        QDialog::keyPressEvent(e);
}

void TVignettes::done(int r)
{
    // Closing the page empties its list.
    ++m_generation;
    m_pool.clear();
    m_names.clear();
    m_last = -1;
    QDialog::done(r);
}

} // namespace vermeo::formats
