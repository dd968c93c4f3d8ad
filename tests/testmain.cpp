#include "FrenchLocale.h"

#include <QApplication>
#include <gtest/gtest.h>

// Widget tests need one QApplication for the whole run, in French as the program's is,
// whatever the machine's locale.
int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    vermeo::startInFrench();
    QApplication app(argc, argv);
    vermeo::settleInFrench();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
