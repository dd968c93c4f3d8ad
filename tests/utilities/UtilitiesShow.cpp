// Shows one utility window on the screen, to look at it: utilities_show NAME, with NAME
// TPocket, TCalendrier or THorloge.
#include "TCalendrier.h"
#include "THorloge.h"
#include "TPocket.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <memory>

using namespace vermeo::utilities;

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QString name = argc > 1 ? QString::fromLatin1(argv[1]) : QStringLiteral("TPocket");
    std::unique_ptr<QDialog> dlg;
    if (name == QLatin1String("TCalendrier"))
        dlg = std::make_unique<TCalendrier>();
    else if (name == QLatin1String("THorloge"))
        dlg = std::make_unique<THorloge>();
    else
        dlg = std::make_unique<TPocket>();
    dlg->show();
    if (auto *p = dynamic_cast<TPocket *>(dlg.get()))
        QTest::keyClicks(p->Button[11], QStringLiteral("2/3="));
    return app.exec();
}
