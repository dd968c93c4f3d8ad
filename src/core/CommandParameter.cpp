#include "CommandParameter.h"
#include "Error.h"

namespace vermeo {

QStringList CommandParameter::choices() const
{
    return kind == Choice ? QString::fromUtf8(name).split(QLatin1Char('|')) : QStringList{};
}

QStringList CommandParameter::controlNames() const
{
    return QString::fromLatin1(controls).split(QLatin1Char('|'), Qt::SkipEmptyParts);
}

long long wholeNumber(const QString &text, long long low, long long high, const QString &what)
{
    bool ok = false;
    const long long v = text.toLongLong(&ok);
    if (!ok || v < low || v > high)
        throw VermeoError(
            QStringLiteral("%1 doit être un entier de %2 à %3, pas « %4 ».").arg(what).arg(low).arg(high).arg(text));
    return v;
}

long long CommandParameter::wholeValue(const QString &text) const
{
    return wholeNumber(text, low, high, QString::fromUtf8(what));
}

int CommandParameter::choiceIndex(const QString &text) const
{
    const QStringList words = choices();
    for (int i = 0; i < words.size(); ++i)
        if (words[i].compare(text, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QString CommandParameter::startText() const
{
    if (kind == Choice)
        return choices().value(int(start));
    return kind == Whole ? QString::number(start) : QString();
}

} // namespace vermeo
