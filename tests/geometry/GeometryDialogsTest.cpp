#include "DialogRunner.h"
#include "TCadre.h"
#include "TRedim.h"
#include "TSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSpinBox>
#include <gtest/gtest.h>

using namespace vermeo;

namespace {
void typeInto(QLineEdit *e, const QString &text)
{
    for (QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, ch.isDigit() ? Qt::Key_0 + ch.digitValue() : Qt::Key_A, Qt::NoModifier,
                        QString(ch));
        QApplication::sendEvent(e, &press);
    }
}
} // namespace

TEST(TRedim, ProportionsFollowTheEditLeftWithAMinimumOf32)
{
    TRedim d;
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Redimensiooner"));
    d.Init(400, 300);
    EXPECT_TRUE(d.CheckBox1->isChecked());
    d.Edit1->setText(QStringLiteral("100"));
    d.Edit1Exit();
    EXPECT_EQ(d.Edit2->text(), QStringLiteral("75"));
    d.Edit1->setText(QStringLiteral("20"));
    d.Edit1Exit();
    EXPECT_EQ(d.Edit1->text(), QStringLiteral("32"));
    EXPECT_EQ(d.Edit2->text(), QStringLiteral("32"));
    d.Edit2->setText(QStringLiteral("150"));
    d.Edit2Exit();
    EXPECT_EQ(d.Edit1->text(), QStringLiteral("200"));
    d.Edit2->clear(); // empty counts as 0, then the minimum
    d.Edit2Exit();
    EXPECT_EQ(d.Edit1->text(), QStringLiteral("32"));

    d.CheckBox1->setChecked(false);
    d.Edit1->setText(QStringLiteral("7"));
    d.Edit1Exit();
    EXPECT_EQ(d.Edit2->text(), QStringLiteral("32"));
}

TEST(TRedim, RoundingIsHalfToEven)
{
    EXPECT_EQ(roundHalfEven(2.5L), 2);
    EXPECT_EQ(roundHalfEven(3.5L), 4);
    EXPECT_EQ(roundHalfEven(74.9999L), 75);
    // Ratio 1.5: heights 61 and 63 give the halves 91.5 and 94.5.
    TRedim d;
    d.Init(3, 2);
    d.Edit2->setText(QStringLiteral("61"));
    d.Edit2Exit();
    EXPECT_EQ(d.Edit1->text(), QStringLiteral("92")); // 91.5 -> 92
    d.Edit2->setText(QStringLiteral("63"));
    d.Edit2Exit();
    EXPECT_EQ(d.Edit1->text(), QStringLiteral("94")); // 94.5 -> 94
}

TEST(TRedim, KeysOtherThanDigitsAreDiscardedAndEnterAccepts)
{
    TRedim d;
    d.Init(400, 300);
    d.show();
    d.Edit1->clear();
    d.Edit1->setFocus();
    typeInto(d.Edit1, QStringLiteral("1a2-0."));
    EXPECT_EQ(d.Edit1->text(), QStringLiteral("120"));
    QKeyEvent bs(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
    QApplication::sendEvent(d.Edit1, &bs);
    EXPECT_EQ(d.Edit1->text(), QStringLiteral("12"));
    d.Edit1->setText(QStringLiteral("100"));
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QApplication::sendEvent(d.Edit1, &enter);
    EXPECT_EQ(d.result(), QDialog::Accepted);
    int w = 0, h = 0;
    d.Result(w, h);
    EXPECT_EQ(w, 100);
    EXPECT_EQ(h, 75); // the proportions follow the value confirmed with Enter
}

TEST(TRedim, CancelGivesZero)
{
    TRedim d;
    d.Init(400, 300);
    d.Button1Click();
    int w = -1, h = -1;
    d.Result(w, h);
    EXPECT_EQ(w, 0);
    EXPECT_EQ(h, 0);
}

TEST(TSupport, SizesNeverBelowThePictureNorAbove2000)
{
    TSupport d;
    d.Init(300, 200);
    EXPECT_EQ(d.SpinEdit1->minimum(), 300);
    EXPECT_EQ(d.SpinEdit2->maximum(), 2000);
    EXPECT_FALSE(d.CheckBox1->isChecked());
    d.SpinEdit1->setValue(100);
    d.SpinEdit2->setValue(5000);
    d.CheckBox1->setChecked(true);
    d.Button2Click();
    int w = 0, h = 0;
    bool centre = false;
    d.Result(w, h, centre);
    EXPECT_EQ(w, 300);
    EXPECT_EQ(h, 2000);
    EXPECT_TRUE(centre);
    d.Init(300, 200);
    d.Button1Click();
    d.Result(w, h, centre);
    EXPECT_EQ(w, 0);
}

TEST(TCadre, SwatchOpensTheColourDialogAndCancelGivesNoFrame)
{
    ScriptedDialogs scripts;
    QColor offered;
    scripts.onColour = [&](QColor &c) {
        offered = c;
        c = QColor(0, 255, 0);
        return true;
    };
    TCadre d;
    d.Init(clRed);
    d.Panel1Click();
    EXPECT_EQ(offered, QColor(255, 0, 0));
    EXPECT_EQ(d.swatchColour(), TColour(0x0000FF00));
    scripts.onColour = [](QColor &) { return false; };
    d.Panel1Click();
    EXPECT_EQ(d.swatchColour(), TColour(0x0000FF00));

    scripts.onDialog = [](QDialog &dlg) {
        auto &c = static_cast<TCadre &>(dlg);
        c.SpinEdit1->setValue(20);
        c.Button2Click();
    };
    EXPECT_EQ(DialogRunner::exec(d), QDialog::Accepted);
    int t = 0;
    TColour col = 0;
    d.Result(t, col);
    EXPECT_EQ(t, 20);
    EXPECT_EQ(col, TColour(0x0000FF00));
    scripts.onDialog = {};
    DialogRunner::exec(d); // cancelled by the runner
    d.Result(t, col);
    EXPECT_EQ(t, 0);
}
