// The calendar: Sunday first, its caption, month and year moves by keys and buttons.
#include "DeskRules.h"
#include "TCalendrier.h"

#include <QAbstractItemView>
#include <QCalendarWidget>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace vermeo::utilities;

TEST(Calendar, CaptionIsTheFrenchMonthAndTheYear)
{
    EXPECT_EQ(calendarCaption(QDate(1998, 10, 20)), QStringLiteral("octobre  1998"));
    EXPECT_EQ(calendarCaption(QDate(2024, 2, 29)), QStringLiteral("février  2024"));
    EXPECT_EQ(calendarCaption(QDate(999, 8, 1)), QStringLiteral("août  0999"));
}

TEST(Calendar, PageKeysAndButtonsMoveAndTheCaptionFollows)
{
    TCalendrier cal;
    cal.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&cal));
    EXPECT_EQ(cal.Label1->width(), 372);
    EXPECT_EQ(cal.Calendar1->firstDayOfWeek(), Qt::Sunday);
    cal.Calendar1->setSelectedDate(QDate(2024, 1, 31));
    EXPECT_EQ(cal.Label1->text(), QStringLiteral("janvier  2024"));

    QWidget *view = cal.Calendar1->findChild<QAbstractItemView *>();
    ASSERT_TRUE(view);
    view->setFocus();
    QTest::keyClick(view, Qt::Key_PageDown);
    EXPECT_EQ(cal.Calendar1->selectedDate(), QDate(2024, 2, 29)); // the 31st lands on the month's end
    EXPECT_EQ(cal.Label1->text(), QStringLiteral("février  2024"));
    EXPECT_EQ(cal.Calendar1->monthShown(), 2);

    // From 29 February by a year: 28 February.
    QTest::mouseClick(cal.BitBtn4, Qt::LeftButton);
    EXPECT_EQ(cal.Calendar1->selectedDate(), QDate(2025, 2, 28));
    EXPECT_EQ(cal.Label1->text(), QStringLiteral("février  2025"));
    QTest::keyClick(cal.BitBtn4, Qt::Key_PageUp); // whatever has the focus
    EXPECT_EQ(cal.Calendar1->selectedDate(), QDate(2025, 1, 28));
    QTest::mouseClick(cal.BitBtn1, Qt::LeftButton);
    QTest::mouseClick(cal.BitBtn1, Qt::LeftButton);
    EXPECT_EQ(cal.Label1->text(), QStringLiteral("novembre  2024"));
    QTest::keyClick(view, Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(cal.Calendar1->selectedDate(), QDate(2023, 11, 28));
    QTest::mouseClick(cal.BitBtn2, Qt::LeftButton);
    EXPECT_EQ(cal.Label1->text(), QStringLiteral("décembre  2023"));

    QTest::keyClick(view, Qt::Key_Escape);
    EXPECT_FALSE(cal.isVisible());
}
