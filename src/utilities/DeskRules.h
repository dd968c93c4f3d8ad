#pragma once
// The calendar's caption and the clock's labels, spin limits and setting, without windows.
// Setting the clock goes through SystemClock, which tests replace.
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTimeZone>

namespace vermeo::utilities {

// "mmmmm  yyyy": the month's full French name, two blanks, the four-digit year.
QString calendarCaption(QDate date);

// The system clock, read by the clock window and set by it.
class SystemClock {
public:
    virtual ~SystemClock() = default;
    virtual QDateTime nowUtc() const;
    virtual QTimeZone timeZone() const;
    // Throws VermeoError, in French, when the system refuses; the clock is then unchanged.
    virtual void setUtc(const QDateTime &utc);
};
SystemClock &systemClock();

// The fields the clock's spin button changes, in the order of its radio group.
enum class ClockField { Hour, Minute, Day, Month, Year };

QString timeLabel(const QDateTime &local); // "18:23:00"
QString dateLabel(const QDateTime &local); // "20/10/1998"

// One step of the spin button (step +1 or -1) on a field, in the label text itself.
// Up to 24 hours, 59 minutes, day 31, month 12, year 2099; down to 0, and year 1900.
void spinField(QString &timeText, QString &dateText, ClockField field, int step);

// The labels, read as local time in zone, as universal time (daylight saving included).
// Hour 24 is midnight of the next day. Throws VermeoError for a date or time that does
// not exist (day 0, 31 February...).
QDateTime labelsToUtc(const QString &timeText, const QString &dateText, const QTimeZone &zone);

} // namespace vermeo::utilities
