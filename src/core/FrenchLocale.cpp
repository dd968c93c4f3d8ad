#include "FrenchLocale.h"

#include <QByteArray>
#include <QLocale>
#include <clocale>
#include <optional>

namespace vermeo {

namespace {
// The session's LC_ALL, to give back (none: it was not set).
std::optional<QByteArray> &sessionLcAll()
{
    static std::optional<QByteArray> value;
    return value;
}
bool g_started = false;
} // namespace

void startInFrench()
{
    if (qEnvironmentVariableIsSet("LC_ALL"))
        sessionLcAll() = qgetenv("LC_ALL");
    // LC_ALL stands above LANG and every LC_* for Qt's system locale.
    qputenv("LC_ALL", "fr_FR.UTF-8");
    g_started = true;
}

void settleInFrench()
{
    if (g_started) {
        // Read now, while the environment says French; Qt keeps it for the run.
        (void)QLocale::system().name();
        if (sessionLcAll())
            qputenv("LC_ALL", *sessionLcAll());
        else
            qunsetenv("LC_ALL");
        // The C library's conversions stay the session's (UTF-8), whether or not a French
        // locale is installed.
        std::setlocale(LC_ALL, "");
        g_started = false;
    }
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
}

} // namespace vermeo
