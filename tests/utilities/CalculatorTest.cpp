// The calculator the way a user drives it: keys typed on its real buttons.
#include "DialogRunner.h"
#include "TPocket.h"
#include "UtilityCommands.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <cmath>
#include <gtest/gtest.h>

using namespace vermeo;
using namespace vermeo::utilities;

namespace {
class CalculatorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        pocket.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&pocket));
    }
    // Keys typed on whichever button has the focus.
    QString type(const char *keys)
    {
        QWidget *focus = QApplication::focusWidget() ? QApplication::focusWidget() : pocket.Button[11];
        QTest::keyClicks(focus, QString::fromLatin1(keys));
        return pocket.Label1->text();
    }
    TPocket pocket;
};
} // namespace

TEST_F(CalculatorTest, EqualsRepeatsTheOperatorAndOperatorsChainLeftToRight)
{
    EXPECT_EQ(type("2+3="), QStringLiteral("5"));
    EXPECT_EQ(type("="), QStringLiteral("10"));
    EXPECT_EQ(type("="), QStringLiteral("20")); // the shown result is the operand
    EXPECT_EQ(type("c2+3*4="), QStringLiteral("20"));
    EXPECT_EQ(type("c10-4/4="), QStringLiteral("1,5"));
    EXPECT_EQ(type("c1.5*2="), QStringLiteral("3")); // "." types the comma
    // A digit after a result starts a new number.
    EXPECT_EQ(type("7"), QStringLiteral("7"));
}

TEST_F(CalculatorTest, KeysReachTheirButtonsWhateverHasTheFocus)
{
    pocket.Button[12]->setFocus(); // "+"
    type("9");
    EXPECT_EQ(pocket.Label1->text(), QStringLiteral("9"));
    // Enter is "=", not the focused "+".
    type("*2");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(pocket.Label1->text(), QStringLiteral("18"));
    // A click on a button works as its key does.
    QTest::mouseClick(pocket.Button[18], Qt::LeftButton); // "C"
    EXPECT_EQ(pocket.Label1->text(), QString());
    EXPECT_FALSE(pocket.state().accumulatorValid());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(pocket.isVisible());
}

TEST_F(CalculatorTest, FloatingPointRulesWithoutCrashing)
{
    EXPECT_EQ(type("0x"), QStringLiteral("INF"));     // 1/x of 0
    EXPECT_EQ(type("c0-1=s"), QStringLiteral("NAN")); // sqr of -1
    EXPECT_EQ(type("c5/0="), QStringLiteral("INF"));
    EXPECT_EQ(type("c9s"), QStringLiteral("3"));
    EXPECT_EQ(type("c4x"), QStringLiteral("0,25"));
    EXPECT_EQ(type("+1="), QStringLiteral("1,25")); // 1/x leaves its result in the accumulator
}

TEST_F(CalculatorTest, DisplayThatIsNotANumberIsEmptied)
{
    EXPECT_EQ(type("1,2,3+"), QString());
    EXPECT_FALSE(pocket.state().accumulatorValid());
    EXPECT_EQ(type("4="), QStringLiteral("4")); // the accumulator takes it
    EXPECT_EQ(type("5="), QStringLiteral("9")); // the "+" still waits
    EXPECT_EQ(type("c,,s"), QString());
    EXPECT_EQ(type("x"), QString());
}

TEST_F(CalculatorTest, FifteenCharactersAtMost)
{
    EXPECT_EQ(type("12345678901234567890"), QStringLiteral("123456789012345"));
    // Rounded to fit, not cut.
    EXPECT_EQ(type("c2/3="), QStringLiteral("0,6666666666667"));
    EXPECT_EQ(type("c1/3="), QStringLiteral("0,3333333333333"));
    const double values[] = {123456789012345678.0, -1.0 / 7, 1e-300, 2e300 * 10, -98765432109876.5, 0.1 + 0.2};
    for (double v : values) {
        const QString text = PocketCalculator::format(v);
        EXPECT_LE(text.size(), 15) << text.toStdString();
        double back = 0;
        ASSERT_TRUE(PocketCalculator::parse(text, back)) << text.toStdString();
        EXPECT_NEAR(back / v, 1.0, 1e-9) << text.toStdString();
    }
    EXPECT_EQ(PocketCalculator::format(0.1 + 0.2), QStringLiteral("0,3"));
    EXPECT_EQ(PocketCalculator::format(1e20), QStringLiteral("1E20"));
    EXPECT_EQ(PocketCalculator::format(-2.5e-7), QStringLiteral("-2,5E-7"));
}

TEST(CalculatriceCommand, OpensModallyAndStartsFresh)
{
    ScriptedDialogs dialogs;
    QString shown;
    dialogs.onDialog = [&](QDialog &d) {
        auto &p = dynamic_cast<TPocket &>(d);
        QTest::keyClicks(p.Button[11], QStringLiteral("6*7="));
        shown = p.Label1->text();
        QTest::keyClick(p.Button[11], Qt::Key_Escape);
    };
    Calculatrice(nullptr);
    Calculatrice(nullptr);
    EXPECT_EQ(shown, QStringLiteral("42"));
    const std::vector<QString> titles(2, QStringLiteral("Calculatrice"));
    EXPECT_EQ(dialogs.dialogs, titles);
}
