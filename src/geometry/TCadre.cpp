#include "TCadre.h"

#include "DialogRunner.h"
#include "NumberBox.h"

#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace vermeo {

TCadre::TCadre(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Cadre"));
    setWindowTitle(QStringLiteral("Cadre"));
    auto *outer = new QVBoxLayout(this);
    auto *group = new QGroupBox(QStringLiteral("Trait d'encadrement"), this);
    auto *grid = new QGridLayout(group);
    SpinEdit1 = new NumberBox(group);
    SpinEdit1->setObjectName(QStringLiteral("SpinEdit1"));
    SpinEdit1->setRange(0, 20);
    SpinEdit1->setValue(1);
    Panel1 = new QFrame(group);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedSize(25, 25);
    Panel1->setFrameShape(QFrame::Panel);
    Panel1->setAutoFillBackground(true);
    Panel1->setCursor(Qt::PointingHandCursor);
    Panel1->installEventFilter(this);
    grid->addWidget(new QLabel(QStringLiteral("Epaisseur"), group), 0, 0);
    grid->addWidget(SpinEdit1, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Couleur"), group), 1, 0);
    grid->addWidget(Panel1, 1, 1);
    outer->addWidget(group);
    outer->addLayout(okCancelRow(*this, Button2, Button1));
    connect(Button1, &QPushButton::clicked, this, &TCadre::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TCadre::Button2Click);
    paintSwatch();
}

void TCadre::Init(TColour colour)
{
    m_colour = colour & 0xFFFFFFu;
    paintSwatch();
}

void TCadre::Result(int &thickness, TColour &colour) const
{
    thickness = m_accepted ? SpinEdit1->value() : 0;
    colour = m_colour;
}

void TCadre::Panel1Click()
{
    QColor c = QColor::fromRgb(toQRgb(m_colour));
    if (DialogRunner::colour(this, c)) {
        m_colour = fromQRgb(c.rgb());
        paintSwatch();
    }
}

void TCadre::Button1Click()
{
    m_accepted = false;
    reject();
}

void TCadre::Button2Click()
{
    SpinEdit1->interpretText();
    m_accepted = true;
    accept();
}

void TCadre::showEvent(QShowEvent *event)
{
    m_accepted = false;
    QDialog::showEvent(event);
}

bool TCadre::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Panel1 && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        Panel1Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TCadre::paintSwatch()
{
    QPalette pal = Panel1->palette();
    pal.setColor(QPalette::Window, QColor::fromRgb(toQRgb(m_colour)));
    Panel1->setPalette(pal);
}

} // namespace vermeo
