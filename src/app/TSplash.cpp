#include "TSplash.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>

namespace vermeo {

TSplash::TSplash(QWidget *parent) : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("TSplash"));
    setFixedSize(318, 221);
    if (QScreen *s = QGuiApplication::primaryScreen())
        move(s->geometry().center() - rect().center());
}

void TSplash::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, width(), height());
    g.setColorAt(0, QColor(30, 60, 140));
    g.setColorAt(1, QColor(170, 40, 90));
    p.fillRect(rect(), g);
    // A few strokes of paint.
    const QColor colours[] = {QColor(255, 210, 60), QColor(80, 200, 120), QColor(90, 170, 255)};
    for (int i = 0; i < 3; ++i) {
        p.setPen(QPen(colours[i], 9, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(QRect(30 + i * 18, 120 + i * 8, 250 - i * 36, 120), 20 * 16, 140 * 16);
    }
    QFont f(QStringLiteral("DejaVu Serif"));
    f.setPixelSize(46);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 30, width(), 70), Qt::AlignCenter, QStringLiteral("Vermeo"));
    f.setPixelSize(13);
    f.setBold(false);
    p.setFont(f);
    p.drawText(QRect(0, 95, width(), 24), Qt::AlignCenter, QStringLiteral("Dessin et retouche d'images"));
    p.setPen(QColor(255, 255, 255, 160));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace vermeo
