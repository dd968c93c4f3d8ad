#include "PocketCalculator.h"

#include <QLocale>
#include <cmath>

namespace vermeo::utilities {

void PocketCalculator::clear()
{
    m_display.clear();
    m_accumulator = 0;
    m_operand = 0;
    m_operator = QChar();
    m_accumulatorValid = false;
    m_newEntry = false;
}

void PocketCalculator::digit(QChar d)
{
    if (m_newEntry)
        m_display.clear();
    // The display holds 15 characters; further keys are not taken.
    if (m_display.size() < kDisplayLength)
        m_display += d;
    m_newEntry = false;
}

void PocketCalculator::comma()
{
    if (m_newEntry)
        m_display.clear();
    if (m_display.size() < kDisplayLength)
        m_display += QLatin1Char(',');
    m_newEntry = false;
}

void PocketCalculator::equals()
{
    double value = 0;
    if (!parse(m_display, value)) {
        // Nothing is computed from a display that is not a number.
        m_display.clear();
        m_newEntry = true;
        return;
    }
    if (m_accumulatorValid) {
        m_operand = value;
        switch (m_operator.unicode()) {
        case '+': m_accumulator += m_operand; break;
        case '-': m_accumulator -= m_operand; break;
        case '*': m_accumulator *= m_operand; break;
        case '/': m_accumulator /= m_operand; break; // by zero: an infinity, as the machine divides
        default: break;
        }
        show(m_accumulator);
    } else {
        m_accumulator = value;
        m_accumulatorValid = true;
    }
    m_newEntry = true;
}

void PocketCalculator::setOperator(QChar op)
{
    equals();
    m_operator = op;
}

void PocketCalculator::reciprocal()
{
    if (!parse(m_display, m_operand)) {
        m_display.clear();
        m_newEntry = true;
        return;
    }
    m_accumulator = 1.0 / m_operand;
    show(m_accumulator);
    m_accumulatorValid = true;
    m_newEntry = true;
}

void PocketCalculator::squareRoot()
{
    if (!parse(m_display, m_operand)) {
        m_display.clear();
        m_newEntry = true;
        return;
    }
    m_accumulator = std::sqrt(m_operand); // of a negative number: not a number, as the machine says
    show(m_accumulator);
    m_accumulatorValid = true;
    m_newEntry = true;
}

void PocketCalculator::show(double value) { m_display = format(value); }

QString PocketCalculator::format(double value)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    // Times 1000, then times 0.001: drops the stray last bits of binary fractions.
    const double rounded = value * 1000 * 0.001;
    if (std::isfinite(rounded))
        value = rounded;
    for (int digits = 15; digits >= 1; --digits) {
        QString text = QString::number(value, 'g', digits);
        // Qt writes "1.5e+20"; the display says "1,5E20".
        text.replace(QLatin1Char('.'), QLatin1Char(','));
        if (const qsizetype e = text.indexOf(QLatin1Char('e')); e >= 0) {
            QString exponent = text.mid(e + 1);
            const bool negative = exponent.startsWith(QLatin1Char('-'));
            exponent.remove(0, exponent.startsWith(QLatin1Char('+')) || negative ? 1 : 0);
            while (exponent.size() > 1 && exponent.startsWith(QLatin1Char('0')))
                exponent.remove(0, 1);
            text = text.left(e) + QLatin1Char('E') + (negative ? QStringLiteral("-") : QString()) + exponent;
        }
        if (text.size() <= kDisplayLength)
            return text;
    }
    return QString::number(value, 'g', 1);
}

bool PocketCalculator::parse(const QString &text, double &value)
{
    const QString t = text.trimmed();
    if (t == QLatin1String("INF") || t == QLatin1String("-INF")) {
        value = t.startsWith(QLatin1Char('-')) ? -INFINITY : INFINITY;
        return true;
    }
    if (t == QLatin1String("NAN")) {
        value = NAN;
        return true;
    }
    if (t.isEmpty() || t.contains(QLatin1Char('.')))
        return false;
    bool ok = false;
    QString c = t;
    c.replace(QLatin1Char(','), QLatin1Char('.'));
    value = QLocale::c().toDouble(c, &ok);
    return ok;
}

} // namespace vermeo::utilities
