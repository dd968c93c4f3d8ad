// The clock: its spin limits, and Modifie through a fake system clock in two time zones.
#include "DeskRules.h"
#include "DialogRunner.h"
#include "Error.h"
#include "THorloge.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace vermeo;
using namespace vermeo::utilities;

namespace {
// Stands still at a given moment in a given zone, and keeps what it is set to.
class FakeClock : public SystemClock {
public:
    FakeClock(const char *zone, QDateTime nowUtc) : m_zone(QByteArray(zone)), m_now(std::move(nowUtc)) {}
    QDateTime nowUtc() const override { return m_now; }
    QTimeZone timeZone() const override { return m_zone; }
    void setUtc(const QDateTime &utc) override
    {
        if (!refusal.isEmpty())
            throw VermeoError(refusal);
        set.push_back(utc);
        m_now = utc;
    }
    std::vector<QDateTime> set;
    QString refusal;

private:
    QTimeZone m_zone;
    QDateTime m_now;
};

QDateTime utc(int y, int mo, int d, int h, int mi, int s = 0)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s), Qt::UTC);
}

class ClockWindow : public ::testing::Test {
protected:
    void open(FakeClock &clock)
    {
        window = std::make_unique<THorloge>(nullptr, clock);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    void spin(int field, int clicks)
    {
        QTest::mouseClick(window->RadioButton[field], Qt::LeftButton);
        for (int i = 0; i < std::abs(clicks); ++i)
            QTest::mouseClick(clicks > 0 ? window->SpinButton1Up : window->SpinButton1Down, Qt::LeftButton);
    }
    void set() { QTest::mouseClick(window->Button2, Qt::LeftButton); }
    std::unique_ptr<THorloge> window;
};
} // namespace

TEST(ClockRules, SpinLimitsAndTwoDigitYears)
{
    QString time = QStringLiteral("23:59:30"), date = QStringLiteral("31/12/2098");
    spinField(time, date, ClockField::Hour, 1);
    spinField(time, date, ClockField::Hour, 1);
    EXPECT_EQ(time, QStringLiteral("24:59:30"));
    for (int i = 0; i < 30; ++i)
        spinField(time, date, ClockField::Hour, -1);
    EXPECT_EQ(time, QStringLiteral("00:59:30"));
    spinField(time, date, ClockField::Minute, 1);
    EXPECT_EQ(time, QStringLiteral("00:59:30"));
    spinField(time, date, ClockField::Year, 1);
    spinField(time, date, ClockField::Year, 1);
    EXPECT_EQ(date, QStringLiteral("31/12/2099"));
    spinField(time, date, ClockField::Day, 1);
    spinField(time, date, ClockField::Month, 1);
    EXPECT_EQ(date, QStringLiteral("31/12/2099"));
    date = QStringLiteral("01/00/1901");
    spinField(time, date, ClockField::Year, -1);
    spinField(time, date, ClockField::Year, -1);
    spinField(time, date, ClockField::Month, -1);
    EXPECT_EQ(date, QStringLiteral("01/00/1900"));
    date = QStringLiteral("01/01/98");
    spinField(time, date, ClockField::Year, 1);
    EXPECT_EQ(date, QStringLiteral("01/01/1999"));
}

// Local time to universal time with the zone's own offset, summer time included.
TEST(ClockRules, LabelsBecomeUniversalTimeInEachZoneAndSeason)
{
    const struct {
        const char *zone, *time, *date;
        QDateTime expected;
    } cases[] = {
        {"Europe/Paris", "12:00:00", "15/01/2024", utc(2024, 1, 15, 11, 0)},
        {"Europe/Paris", "12:00:00", "15/07/2024", utc(2024, 7, 15, 10, 0)},
        {"America/New_York", "12:00:00", "15/01/2024", utc(2024, 1, 15, 17, 0)},
        {"America/New_York", "12:00:00", "15/07/2024", utc(2024, 7, 15, 16, 0)},
        {"Europe/Paris", "24:30:15", "31/12/2023", utc(2023, 12, 31, 23, 30, 15)}, // 24 h: next day's midnight
        {"Asia/Kolkata", "00:10:00", "01/03/2024", utc(2024, 2, 29, 18, 40)},
    };
    for (const auto &c : cases) {
        const QTimeZone zone{QByteArray(c.zone)};
        ASSERT_TRUE(zone.isValid()) << c.zone << " (tzdata)";
        EXPECT_EQ(labelsToUtc(QString::fromLatin1(c.time), QString::fromLatin1(c.date), zone), c.expected)
            << c.zone << " " << c.date;
    }
    const QTimeZone paris("Europe/Paris");
    for (const char *date : {"00/05/2024", "31/02/2023", "29/02/2023", "15/00/2024"})
        EXPECT_THROW(labelsToUtc(QStringLiteral("12:00:00"), QString::fromLatin1(date), paris), VermeoError) << date;
}

TEST_F(ClockWindow, SetEditsTheLabelsAndWritesThemToTheClock)
{
    FakeClock clock("Europe/Paris", utc(2024, 1, 15, 17, 23, 0));
    open(clock);
    EXPECT_EQ(window->Label1->text(), QStringLiteral("18:23:00"));
    EXPECT_EQ(window->Label2->text(), QStringLiteral("15/01/2024"));
    EXPECT_TRUE(window->Timer1->isActive());

    set();
    EXPECT_TRUE(window->editing());
    EXPECT_FALSE(window->Timer1->isActive());
    spin(0, 7); // hour up to 24, no further
    EXPECT_EQ(window->Label1->text(), QStringLiteral("24:23:00"));
    spin(3, 6);  // July: summer time
    spin(4, -1); // 2023
    EXPECT_EQ(window->Label2->text(), QStringLiteral("15/07/2023"));
    spin(0, -2);
    set();
    EXPECT_FALSE(window->editing());
    EXPECT_TRUE(window->Timer1->isActive());
    ASSERT_EQ(clock.set.size(), 1u);
    EXPECT_EQ(clock.set[0], utc(2023, 7, 15, 20, 23, 0)); // 22:23 in Paris in July
    EXPECT_EQ(window->Label1->text(), QStringLiteral("22:23:00"));

    QTest::keyClick(window->Button2, Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(window->Timer1->isActive());
}

TEST_F(ClockWindow, RefusedValuesAreSaidAndLeaveTheClockAlone)
{
    FakeClock clock("America/New_York", utc(2023, 2, 10, 15, 0, 0));
    open(clock);
    ScriptedDialogs dialogs;
    set();
    spin(2, 21); // 31/02/2023
    set();
    EXPECT_TRUE(clock.set.empty());
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(dialogs.asked[0],
              QStringLiteral("Horloge : le 31/02/2023 à 10:00:00 n'existe pas ; l'horloge n'a pas été changée."));
    // The clock runs again and shows the time it kept.
    EXPECT_EQ(window->Label2->text(), QStringLiteral("10/02/2023"));

    clock.refusal = QStringLiteral("Horloge : vous n'avez pas le droit de changer l'heure du système ; "
                                   "l'horloge n'a pas été changée.");
    set();
    spin(1, 1);
    set();
    EXPECT_TRUE(clock.set.empty());
    ASSERT_EQ(dialogs.asked.size(), 2u);
    EXPECT_EQ(dialogs.asked[1], clock.refusal);
    EXPECT_EQ(window->Label1->text(), QStringLiteral("10:00:00"));
}

TEST_F(ClockWindow, TicksEverySecondWhileNotEditing)
{
    FakeClock clock("Europe/Paris", utc(2024, 3, 31, 0, 59, 59));
    open(clock);
    EXPECT_EQ(window->Timer1->interval(), 1000);
    EXPECT_EQ(window->Label1->text(), QStringLiteral("01:59:59"));
    clock.setUtc(utc(2024, 3, 31, 1, 0, 0)); // the spring change in Paris
    clock.set.clear();
    window->Timer1Timer();
    EXPECT_EQ(window->Label1->text(), QStringLiteral("03:00:00"));
}
