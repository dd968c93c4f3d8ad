#include "DeskRules.h"

#include "Error.h"

#include <QLocale>
#include <cerrno>
#include <cstring>
#include <ctime>

namespace vermeo::utilities {

QString calendarCaption(QDate date)
{
    return QStringLiteral("%1  %2")
        .arg(QLocale(QLocale::French, QLocale::France).monthName(date.month(), QLocale::LongFormat))
        .arg(date.year(), 4, 10, QLatin1Char('0'));
}

QDateTime SystemClock::nowUtc() const { return QDateTime::currentDateTimeUtc(); }

QTimeZone SystemClock::timeZone() const { return QTimeZone::systemTimeZone(); }

void SystemClock::setUtc(const QDateTime &utc)
{
    timespec ts{};
    ts.tv_sec = time_t(utc.toSecsSinceEpoch());
    ts.tv_nsec = long(utc.time().msec()) * 1'000'000L;
    if (clock_settime(CLOCK_REALTIME, &ts) == 0)
        return;
    if (errno == EPERM)
        throw VermeoError(QStringLiteral("Horloge : vous n'avez pas le droit de changer l'heure du système ; "
                                         "l'horloge n'a pas été changée."));
    throw VermeoError(QStringLiteral("Horloge : le système refuse cette heure (%1) ; l'horloge n'a pas été changée.")
                          .arg(QString::fromLocal8Bit(std::strerror(errno))));
}

SystemClock &systemClock()
{
    static SystemClock clock;
    return clock;
}

QString timeLabel(const QDateTime &local) { return local.toString(QStringLiteral("HH:mm:ss")); }

QString dateLabel(const QDateTime &local) { return local.toString(QStringLiteral("dd/MM/yyyy")); }

namespace {
struct FieldRule {
    bool inDate;
    int start, length, min, max;
};
// Indexed by ClockField: where the field stands in its label and how far it goes.
constexpr FieldRule kFields[] = {
    {false, 0, 2, 0, 24},     // "Hr": up to 24, not 23
    {false, 3, 2, 0, 59},     // "Mn"
    {true, 0, 2, 0, 31},      // "Jo"
    {true, 3, 2, 0, 12},      // "Mo"
    {true, 6, 4, 1900, 2099}, // "An"
};

// A year written with two digits counts as 19xx.
int yearOf(const QString &digits)
{
    const int y = digits.toInt();
    return digits.size() <= 2 ? 1900 + y : y;
}
} // namespace

void spinField(QString &timeText, QString &dateText, ClockField field, int step)
{
    const FieldRule &r = kFields[int(field)];
    QString &text = r.inDate ? dateText : timeText;
    const QString digits = text.mid(r.start, r.length).trimmed();
    const int now = field == ClockField::Year ? yearOf(digits) : digits.toInt();
    const int next = std::clamp(now + step, r.min, r.max);
    text.replace(r.start, digits.size(), QStringLiteral("%1").arg(next, r.length, 10, QLatin1Char('0')));
}

QDateTime labelsToUtc(const QString &timeText, const QString &dateText, const QTimeZone &zone)
{
    const int year = yearOf(dateText.mid(6, 4).trimmed());
    const QDate date(year, dateText.mid(3, 2).toInt(), dateText.mid(0, 2).toInt());
    int hour = timeText.mid(0, 2).toInt();
    const int minute = timeText.mid(3, 2).toInt(), second = timeText.mid(6, 2).toInt();
    const bool nextDay = hour == 24;
    if (nextDay)
        hour = 0;
    const QTime time(hour, minute, second, 0);
    if (!date.isValid() || !time.isValid())
        throw VermeoError(QStringLiteral("Horloge : le %1 à %2 n'existe pas ; l'horloge n'a pas été changée.")
                              .arg(dateText, timeText));
    return QDateTime(nextDay ? date.addDays(1) : date, time, zone).toUTC();
}

} // namespace vermeo::utilities
