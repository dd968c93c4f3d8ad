#include "SaneTexts.h"

#include <QFile>
#include <QStandardPaths>
#include <QtEndian>

namespace vermeo::acquire {

namespace {
// A catalogue of a few hundred kilobytes; anything far larger is not one.
constexpr qint64 kMaxCatalogueBytes = 16 * 1024 * 1024;
constexpr quint32 kMagic = 0x950412de;

const QHash<QString, QString> &frenchCatalogue()
{
    static const QHash<QString, QString> catalogue = readMessageCatalogue(QStandardPaths::locate(
        QStandardPaths::GenericDataLocation, QStringLiteral("locale/fr/LC_MESSAGES/sane-backends.mo")));
    return catalogue;
}
} // namespace

QHash<QString, QString> readMessageCatalogue(const QString &fileName)
{
    QHash<QString, QString> out;
    QFile f(fileName);
    if (fileName.isEmpty() || f.size() > kMaxCatalogueBytes || !f.open(QIODevice::ReadOnly))
        return out;
    const QByteArray d = f.readAll();
    const auto *p = reinterpret_cast<const uchar *>(d.constData());
    const qsizetype size = d.size();
    if (size < 20)
        return out;
    // Either byte order, as the magic number says.
    const bool little = qFromLittleEndian<quint32>(p) == kMagic;
    if (!little && qFromBigEndian<quint32>(p) != kMagic)
        return out;
    const auto word = [&](qsizetype at) -> quint32 {
        return at < 0 || at + 4 > size ? 0
               : little                ? qFromLittleEndian<quint32>(p + at)
                                       : qFromBigEndian<quint32>(p + at);
    };
    const quint32 count = word(8), originals = word(12), translations = word(16);
    if (qint64(count) * 8 > size || qint64(originals) + qint64(count) * 8 > size ||
        qint64(translations) + qint64(count) * 8 > size)
        return out;
    // A string of the table: its length and offset, checked against the file.
    const auto text = [&](quint32 table, quint32 i, QByteArray &into) {
        const quint32 length = word(table + 8 * qsizetype(i)), at = word(table + 8 * qsizetype(i) + 4);
        if (qint64(at) + length > size)
            return false;
        into = QByteArray(d.constData() + at, length);
        return true;
    };
    for (quint32 i = 0; i < count; ++i) {
        QByteArray original, translation;
        if (!text(originals, i, original) || !text(translations, i, translation))
            continue;
        if (original.isEmpty() || original.contains('\x04') || original.contains('\0') || translation.isEmpty())
            continue;
        out.insert(QString::fromUtf8(original), QString::fromUtf8(translation));
    }
    return out;
}

QString saneFrench(const QString &text) { return frenchCatalogue().value(text, text); }

} // namespace vermeo::acquire
