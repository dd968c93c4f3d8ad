#pragma once
// The pocket calculator's state machine, without its window: the display text (with ","
// as decimal separator), the accumulator, the operand, the pending operator and two
// flags. Operators apply from left to right; "=" keeps the pending operator, so a second
// "=" applies it again with the shown result as operand.
#include <QString>

namespace vermeo::utilities {

class PocketCalculator {
public:
    static constexpr int kDisplayLength = 15;

    PocketCalculator() { clear(); }

    void clear();               // "C", and every activation of the window
    void digit(QChar d);        // "0".."9"
    void comma();               // ","
    void equals();              // "="
    void setOperator(QChar op); // "+", "-", "*", "/": "=" first, then the operator waits
    void reciprocal();          // "1/x"
    void squareRoot();          // "sqr"

    const QString &display() const { return m_display; }
    double accumulator() const { return m_accumulator; }
    double operand() const { return m_operand; }
    QChar pendingOperator() const { return m_operator; } // null when none
    bool accumulatorValid() const { return m_accumulatorValid; }
    bool newEntry() const { return m_newEntry; }

    // The display text of a value, at most 15 characters, "," as decimal separator;
    // rounded to fewer digits when needed, never cut.
    static QString format(double value);
    // The display read as a number; false for a text that is not one.
    static bool parse(const QString &text, double &value);

private:
    void show(double value);

    QString m_display;
    double m_accumulator = 0;
    double m_operand = 0;
    QChar m_operator;
    bool m_accumulatorValid = false;
    bool m_newEntry = false;
};

} // namespace vermeo::utilities
