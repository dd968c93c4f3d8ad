// Shows one colour dialog on the screen, to look at it: colour_show NAME.
#include "ChannelDialogs.h"
#include "THisto.h"
#include "TOmbre.h"
#include "ToneDialogs.h"

#include <QApplication>
#include <QLinearGradient>
#include <QPainter>
#include <memory>

using namespace vermeo::colour;

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QString name = argc > 1 ? QString::fromLatin1(argv[1]) : QStringLiteral("TLumin");
    QImage picture(320, 240, QImage::Format_RGB32);
    {
        QPainter p(&picture);
        QLinearGradient g(0, 0, 320, 240);
        g.setColorAt(0, QColor(200, 40, 30));
        g.setColorAt(0.5, QColor(240, 220, 60));
        g.setColorAt(1, QColor(30, 60, 180));
        p.fillRect(picture.rect(), g);
        p.fillRect(60, 60, 40, 40, Qt::black);
    }
    std::unique_ptr<QDialog> dlg;
    auto preview = [&](auto *d) {
        d->Init(picture);
        dlg.reset(d);
        return d;
    };
    if (name == "TLumin")
        preview(new TLumin)->Button3Click();
    else if (name == "TClart")
        preview(new TClart);
    else if (name == "TContrast")
        preview(new TContrast);
    else if (name == "TSatur")
        preview(new TSatur);
    else if (name == "TTeint")
        preview(new TTeint);
    else if (name == "TSolar")
        preview(new TSolar);
    else if (name == "TBalCoul")
        preview(new TBalCoul);
    else if (name == "TPermut")
        preview(new TPermut);
    else if (name == "TOmbre")
        preview(new TOmbre);
    else if (name == "THisto")
        preview(new THisto);
    else if (name == "TRvb") {
        auto *d = new TRvb;
        d->Init(0x0033C8u);
        dlg.reset(d);
    } else {
        auto *d = new TRCouleur;
        d->Init(0x00FFFFFFu, 0x000000FFu);
        dlg.reset(d);
    }
    dlg->show();
    return app.exec();
}
