#include "FilterFile.h"

#include "Convolution.h"
#include "Error.h"
#include "FileAccess.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>
#include <algorithm>
#include <cmath>

namespace vermeo::geometry {

namespace {
// A list of named 3 x 3 filters never comes near this; anything larger is not ours.
constexpr qint64 kMaxFilterFileBytes = 4 * 1024 * 1024;
constexpr int kShownNameLength = 255;

QString damaged(const QString &fileName, const QString &why)
{
    return QStringLiteral("Le fichier de filtres « %1 » ne peut pas être lu : %2.").arg(fileNamePart(fileName), why);
}
} // namespace

QStringList readFilterFile(const QString &fileName)
{
    const QFileInfo info(fileName);
    if (!info.exists())
        return {};
    if (info.size() > kMaxFilterFileBytes)
        throw VermeoError(damaged(fileName, QStringLiteral("il est trop grand pour un fichier de filtres")));
    QByteArray bytes;
    try {
        bytes = readWholeFile(fileName);
    } catch (const VermeoError &e) {
        throw VermeoError(damaged(fileName, e.message()));
    }
    if (bytes.size() > kMaxFilterFileBytes)
        throw VermeoError(damaged(fileName, QStringLiteral("il est trop grand pour un fichier de filtres")));
    if (bytes.contains('\0'))
        throw VermeoError(damaged(fileName, QStringLiteral("ce n'est pas un fichier texte")));
    // Written in UTF-8; an older file in a one-byte code page still reads.
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    if (utf8.hasError())
        text = QString::fromLatin1(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    // Lines end with CR LF, LF or CR; the break after the last line makes no empty line.
    QStringList lines = text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

void writeFilterFile(const QString &fileName, const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines) {
        bytes += line.toUtf8();
        bytes += "\r\n";
    }
    try {
        writeFileAtomically(fileName, bytes);
    } catch (const VermeoError &e) {
        throw VermeoError(QStringLiteral("Les filtres n'ont pas pu être enregistrés dans « %1 » : %2.")
                              .arg(QDir::toNativeSeparators(fileName), e.message()));
    }
}

QString filterName(const QString &line)
{
    const qsizetype tab = line.indexOf(QLatin1Char('\t'));
    const QString name = tab < 0 ? line : line.mid(tab + 1);
    return name.left(kShownNameLength);
}

QStringList filterFields(const QString &line)
{
    const qsizetype tab = line.indexOf(QLatin1Char('\t'));
    QString rest = tab < 0 ? QString() : line.left(tab);
    QStringList fields;
    for (int i = 0; i < 9; ++i) {
        // The text up to the next space, or all that is left when there is none.
        const qsizetype space = rest.indexOf(QLatin1Char(' '));
        if (space < 0) {
            fields << rest;
            rest.clear();
        } else {
            fields << rest.left(space);
            rest = rest.mid(space + 1);
        }
    }
    return fields;
}

bool filterLineReadable(const QString &line)
{
    const qsizetype tab = line.indexOf(QLatin1Char('\t'));
    if (tab < 0)
        return false;
    const QStringList pieces = line.left(tab).split(QLatin1Char(' '));
    return pieces.size() == 9 &&
           std::all_of(pieces.begin(), pieces.end(), [](const QString &p) { return parseFilterValue(p).has_value(); });
}

QString filterLine(const QStringList &fields, const QString &name)
{
    QString safeName = name;
    for (QChar &ch : safeName)
        if (ch == QLatin1Char('\t') || ch == QLatin1Char('\r') || ch == QLatin1Char('\n'))
            ch = QLatin1Char(' ');
    return fields.join(QLatin1Char(' ')) + QLatin1Char('\t') + safeName;
}

std::optional<double> parseFilterValue(const QString &text)
{
    static const QRegularExpression number(QStringLiteral("^\\s*[-+]?([0-9]+([.,][0-9]*)?|[.,][0-9]+)\\s*$"));
    if (!number.match(text).hasMatch())
        return std::nullopt;
    QString c = text.trimmed();
    c.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double v = QLocale::c().toDouble(c, &ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

QString formatFilterValue(double value, const QLocale &locale)
{
    const int hundredths = coefficientOf(value);
    QLocale plain = locale;
    plain.setNumberOptions(QLocale::OmitGroupSeparator);
    return plain.toString(hundredths / 100.0, 'f', 2);
}

} // namespace vermeo::geometry
