// Vermeo: start-up.
#include "DialogRunner.h"
#include "Error.h"
#include "FrenchLocale.h"
#include "Icons.h"
#include "JournalSession.h"
#include "SharedIcons.h"
#include "StartFiles.h"
#include "TMainForm.h"
#include "TSplash.h"
#include "Translations.h"
#include "VermeoBuild.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>
#include <cstdio>
#include <memory>

int main(int argc, char **argv)
{
    // --help and --version answer before any window: they work without a display.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const vermeo::CommandLine early = vermeo::parseCommandLine(arguments);
    if (early.help || early.version) {
        const QString text = early.help ? vermeo::commandLineUsage() : QStringLiteral("Vermeo " VERMEO_VERSION "\n");
        std::fputs(text.toLocal8Bit().constData(), stdout);
        return 0;
    }

    vermeo::startInFrench();
    QApplication app(argc, argv);
    vermeo::settleInFrench();
    // Qt took its own options (-style...); what is left are ours.
    const vermeo::CommandLine line = vermeo::parseCommandLine(app.arguments().mid(1));
    if (!line.error.isEmpty()) {
        std::fputs((line.error + QLatin1Char('\n')).toLocal8Bit().constData(), stderr);
        return 2;
    }
    vermeo::installFrenchTranslations(app);
    vermeo::shareStandardIcons();
    auto splash = std::make_unique<vermeo::TSplash>();
    splash->show();
    splash->repaint();
    QApplication::setApplicationName(QStringLiteral("Vermeo"));
    QApplication::setApplicationVersion(QStringLiteral(VERMEO_VERSION));
    // Ties the windows to the desktop entry (its name and icon in the task bar).
    QGuiApplication::setDesktopFileName(QStringLiteral(VERMEO_APP_ID));
    // The program's icon needs Qt's SVG support; the pencil glyph stands in without it.
    const QIcon icon(QStringLiteral(":/vermeo/vermeo.svg"));
    QApplication::setWindowIcon(icon.pixmap(32, 32).isNull() ? vermeo::glyph(QStringLiteral("pencil")) : icon);
    // The recovery journals outlive the windows that keep them.
    std::unique_ptr<vermeo::JournalSession> journals;
    QString journalProblem;
    try {
        journals = std::make_unique<vermeo::JournalSession>();
    } catch (const vermeo::VermeoError &e) {
        journalProblem = e.message();
    }
    vermeo::TMainForm main;
    main.setJournalSession(journals.get());
    main.show();
    splash.reset();
    // Once the main window is up, so that a message stands over it: what a crash left
    // first, then the files named.
    QTimer::singleShot(0, &main, [&main, &journalProblem, files = line.files] {
        if (!journalProblem.isEmpty())
            vermeo::DialogRunner::tell(
                &main, QMessageBox::Warning,
                journalProblem +
                    QStringLiteral("\nLes images ne pourront pas être récupérées après un arrêt imprévu."));
        main.offerRecovery();
        main.openFiles(files);
    });
    return app.exec();
}
