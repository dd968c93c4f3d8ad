#include "NumberBox.h"

namespace vermeo {

bool NumberBox::typedNumber(const QString &input, qlonglong &number) const
{
    QString digits = input;
    if (!prefix().isEmpty() && digits.startsWith(prefix()))
        digits.remove(0, prefix().size());
    if (!suffix().isEmpty() && digits.endsWith(suffix()))
        digits.chop(suffix().size());
    digits = digits.trimmed();
    digits.remove(locale().groupSeparator());
    bool ok = false;
    number = digits.toLongLong(&ok);
    return ok;
}

QString NumberBox::shownAs(int value) const { return prefix() + textFromValue(value) + suffix(); }

QValidator::State NumberBox::validate(QString &input, int &pos) const
{
    const QValidator::State state = QSpinBox::validate(input, pos);
    if (state != QValidator::Invalid)
        return state;
    // A digit too many is not dropped in silence: the field shows the limit it takes.
    qlonglong number = 0;
    if (!typedNumber(input, number) || (number >= minimum() && number <= maximum()))
        return state;
    input = shownAs(number > maximum() ? maximum() : minimum());
    pos = int(input.size() - suffix().size());
    return QValidator::Acceptable;
}

void NumberBox::fixup(QString &input) const
{
    // A number left short of the lowest value (Enter, OK, leaving the field) takes that value.
    qlonglong number = 0;
    if (typedNumber(input, number) && (number < minimum() || number > maximum())) {
        input = shownAs(number < minimum() ? minimum() : maximum());
        return;
    }
    QSpinBox::fixup(input);
}

} // namespace vermeo
