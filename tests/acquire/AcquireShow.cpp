// Shows one acquisition window on the screen, to look at it: acquire_show NAME, with
// NAME TSource (the source dialog), TNumerisation (a slow scan's progress) or capture
// (a main window captured, then the capture picture shown).
#include "AcquireCommands.h"
#include "SaneSession.h"

#include <QApplication>
#include <QLabel>
#include <QTimer>

using namespace vermeo::acquire;

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("SANE_CONFIG_DIR"))
        qputenv("SANE_CONFIG_DIR", VERMEO_SANE_CONFIG);
    QApplication app(argc, argv);
    const QString name = argc > 1 ? QString::fromLatin1(argv[1]) : QStringLiteral("TSource");
    QLabel result;
    // The commands' parent, as the main window is.
    QLabel frame(QStringLiteral("Vermeo"));
    frame.setGeometry(0, 0, 780, 560);
    if (name != QLatin1String("capture"))
        frame.show();
    QTimer::singleShot(0, [&] {
        if (name == QLatin1String("TSource")) {
            SelectionnerSource(&frame);
        } else if (name == QLatin1String("TNumerisation")) {
            scanSettings().resolution = 300;
            scanSettings().mode = QStringLiteral("Color");
            scanSettings().extra = {{"read-limit", "yes"},
                                    {"read-limit-size", "4096"},
                                    {"read-delay", "yes"},
                                    {"read-delay-duration", "200000"}};
            const QList<QImage> pages = Acquerir(&frame);
            result.setText(QStringLiteral("%1 page(s)").arg(pages.size()));
            result.show();
            return;
        } else {
            auto *main = new QLabel(QStringLiteral("Fenêtre principale"));
            main->setStyleSheet(QStringLiteral("background: red"));
            main->setGeometry(100, 100, 400, 300);
            main->show();
            QTimer::singleShot(1000, [&result, main] {
                result.setPixmap(QPixmap::fromImage(captureScreen(main)));
                result.move(420, 60);
                result.show();
            });
            return;
        }
        app.quit();
    });
    return app.exec();
}
