// Vermeo: start-up.
#include "Icons.h"
#include "TMainForm.h"
#include "TSplash.h"
#include "Translations.h"

#include <QApplication>
#include <memory>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    vermeo::installFrenchTranslations(app);
    auto splash = std::make_unique<vermeo::TSplash>();
    splash->show();
    splash->repaint();
    QApplication::setApplicationName(QStringLiteral("Vermeo"));
    QApplication::setWindowIcon(vermeo::glyph(QStringLiteral("pencil")));
    vermeo::TMainForm main;
    main.show();
    splash.reset();
    return app.exec();
}
