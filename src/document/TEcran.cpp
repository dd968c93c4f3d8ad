#include "TEcran.h"

#include <QFrame>
#include <QGuiApplication>
#include <QPainter>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <cmath>

namespace vermeo {

namespace {
constexpr int kBevel = 2;
}

TEcran::TEcran(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TEcran"));
    setWindowTitle(QStringLiteral("Aperçu avant impression"));
    // A single border with the system menu only.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setAutoFillBackground(true);
    Button1 = new QPushButton(QStringLiteral("Fermer"), Panel1);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    Button1->resize(100, 25);
    Panel2 = new QFrame(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel2->setLineWidth(kBevel);
    Panel2->setAutoFillBackground(true);
    QPalette white = Panel2->palette();
    white.setColor(QPalette::Window, Qt::white);
    Panel2->setPalette(white);
    PaintBox1 = new QWidget(Panel2);
    PaintBox1->setObjectName(QStringLiteral("PaintBox1"));
    PaintBox1->setAutoFillBackground(true);
    PaintBox1->setPalette(white);
    PaintBox1->installEventFilter(this);
    connect(Button1, &QPushButton::clicked, this, &TEcran::Button1Click);
    // The size a maximised window gets, so that Init lays out for it before it is shown.
    if (QScreen *s = QGuiApplication::primaryScreen())
        setGeometry(s->availableGeometry());
    setWindowState(Qt::WindowMaximized);
    // Maximised, it follows the screen: not one of the fixed-size dialogs.
    setProperty("resizable", true);
}

void TEcran::Init(int left, int top, int right, int bottom, int scale, const QImage &picture,
                  const printing::PageMetrics &page)
{
    (void)right, (void)bottom; // shown in "Mise en page", used by neither printing nor preview
    m_page = page;
    FormResize();
    m_ratio = page.widthPixels > 0 ? double(PaintBox1->width()) / page.widthPixels : 0.0;
    const QRect target(QPoint(Mh(left), Mv(top)),
                       printing::previewTarget(page, PaintBox1->width(), left, top, picture.size(), scale).size());
    // Made once: resizing the window moves the page, not the picture on it. Only the
    // part on the page is made, however large the scale.
    const QRect shown = target & PaintBox1->rect();
    m_position = shown.topLeft();
    m_bitmap = QImage();
    if (!picture.isNull() && !shown.isEmpty() && target.width() <= picture.width() &&
        target.height() <= picture.height()) {
        // Reduced: a smooth reduction of the whole, no larger than the picture.
        m_bitmap = picture.scaled(target.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                       .copy(shown.translated(-target.topLeft()));
    } else if (!picture.isNull() && !shown.isEmpty()) {
        m_bitmap = QImage(shown.size(), QImage::Format_RGB32);
        m_bitmap.fill(Qt::white);
        QPainter p(&m_bitmap);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(QRect(target.topLeft() - shown.topLeft(), target.size()), picture);
    }
    PaintBox1->update();
}

int TEcran::Mh(int millimetres) const { return int(std::lround(m_ratio * printing::Mh(m_page, millimetres))); }

int TEcran::Mv(int millimetres) const { return int(std::lround(m_ratio * printing::Mv(m_page, millimetres))); }

void TEcran::FormResize()
{
    const printing::PreviewLayout l = printing::previewLayout(size(), m_page);
    Panel1->setGeometry(0, 0, width(), 33);
    Button1->move(l.buttonLeft, 4);
    Panel2->setGeometry(l.pagePanel);
    PaintBox1->setGeometry(Panel2->contentsRect());
}

void TEcran::resizeEvent(QResizeEvent *e)
{
    QDialog::resizeEvent(e);
    FormResize();
}

bool TEcran::eventFilter(QObject *watched, QEvent *e)
{
    if (watched == PaintBox1 && e->type() == QEvent::Paint) {
        FormPaint();
        return true;
    }
    return QDialog::eventFilter(watched, e);
}

void TEcran::FormPaint()
{
    QPainter p(PaintBox1);
    p.fillRect(PaintBox1->rect(), Qt::white);
    if (!m_bitmap.isNull())
        p.drawImage(m_position, m_bitmap);
}

} // namespace vermeo
