#include "FrenchLocale.h"

#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#ifdef VERMEO_KEEP_MODULES
// Sanitised run: no library is ever unloaded (SANE's backends, Qt's plugins), so the leak
// report at exit can name the library a block was allocated in and the suppressions apply.
extern "C" int dlclose(void *) { return 0; }
#endif

// Widget tests need one QApplication for the whole run, in French as the program's is,
// whatever the machine's locale.
int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The program keeps its recent files in the user's configuration folder: never the
    // real one during tests.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    vermeo::startInFrench();
    QApplication app(argc, argv);
    vermeo::settleInFrench();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
