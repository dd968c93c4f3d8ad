#include "FileAccess.h"
#include "Bytes.h"
#include "Error.h"

#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>
#include <cstring>

namespace vermeo {

Q_LOGGING_CATEGORY(lcFiles, "vermeo.files", QtWarningMsg)

namespace {
// Qt's own text stays in the log; the user reads the French reason.
QString reason(const QFileDevice &f, const QString &french)
{
    qCInfo(lcFiles) << f.fileName() << f.errorString();
    switch (f.error()) {
    case QFileDevice::PermissionsError: return QStringLiteral("accès refusé");
    case QFileDevice::ResourceError: return QStringLiteral("%1 (disque plein ?)").arg(french);
    default: return french;
    }
}

VermeoError truncated() { return VermeoError(QStringLiteral("fichier tronqué")); }
} // namespace

void ArraySource::readAt(qint64 pos, uchar *dst, qint64 n)
{
    if (readSomeAt(pos, dst, n) != n)
        throw truncated();
}

qint64 ArraySource::readSomeAt(qint64 pos, uchar *dst, qint64 n)
{
    if (pos < 0 || n <= 0 || pos >= m_bytes.size())
        return 0;
    n = std::min<qint64>(n, m_bytes.size() - pos);
    std::memcpy(dst, m_bytes.constData() + pos, size_t(n));
    return n;
}

void checkReadableFile(const QString &fileName)
{
    const QFileInfo info(fileName);
    if (!info.exists())
        throw VermeoError(QStringLiteral("fichier introuvable"));
    if (info.isDir())
        throw VermeoError(QStringLiteral("c'est un dossier"));
    // Devices and pipes can be endless or block forever: only regular files are read.
    if (!info.isFile())
        throw VermeoError(QStringLiteral("ce n'est pas un fichier ordinaire"));
    if (!info.isReadable())
        throw VermeoError(QStringLiteral("accès refusé"));
}

FileSource::FileSource(const QString &fileName) : m_file(fileName)
{
    checkReadableFile(fileName);
    if (!m_file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        throw VermeoError(reason(m_file, QStringLiteral("ouverture impossible")));
    // The size found now bounds every read, whatever the file does afterwards.
    m_size = m_file.size();
    if (m_size > kMaxFileBytes)
        throw VermeoError(QStringLiteral("fichier trop grand"));
}

void FileSource::readAt(qint64 pos, uchar *dst, qint64 n)
{
    if (readSomeAt(pos, dst, n) != n)
        throw truncated();
}

qint64 FileSource::readSomeAt(qint64 pos, uchar *dst, qint64 n)
{
    if (pos < 0 || n <= 0 || pos >= m_size)
        return 0;
    n = std::min(n, m_size - pos);
    if (m_file.pos() != pos && !m_file.seek(pos))
        throw VermeoError(reason(m_file, QStringLiteral("erreur de lecture")));
    qint64 got = 0;
    while (got < n) {
        const qint64 r = m_file.read(charsOf(dst) + got, n - got);
        if (r < 0)
            throw VermeoError(reason(m_file, QStringLiteral("erreur de lecture")));
        if (r == 0)
            break;
        got += r;
    }
    return got;
}

void ByteSink::write(const QByteArray &a) { write(bytesOf(a), a.size()); }

void ArraySink::write(const uchar *data, qint64 n)
{
    writeAt(m_pos, data, n);
}

void ArraySink::writeAt(qint64 pos, const uchar *data, qint64 n)
{
    if (pos + n > m_out.size()) {
        const qsizetype old = m_out.size();
        m_out.resize(pos + n);
        if (pos > old)
            std::memset(m_out.data() + old, 0, size_t(pos - old));
    }
    std::memcpy(m_out.data() + pos, data, size_t(n));
    m_pos = std::max(m_pos, pos + n);
}

AtomicFileSink::AtomicFileSink(const QString &fileName) : m_file(fileName)
{
    const QFileInfo info(fileName);
    if (info.isDir())
        throw VermeoError(QStringLiteral("c'est un dossier"));
    const QFileInfo folder(info.absolutePath());
    if (!folder.isDir())
        throw VermeoError(QStringLiteral("dossier introuvable"));
    // The temporary file is written beside the target and renamed on commit.
    m_file.setDirectWriteFallback(false);
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw VermeoError(folder.isWritable() ? reason(m_file, QStringLiteral("création impossible"))
                                              : QStringLiteral("dossier protégé en écriture"));
}

void AtomicFileSink::fail(const QString &what)
{
    const QString why = reason(m_file, what);
    m_file.cancelWriting();
    throw VermeoError(why);
}

void AtomicFileSink::write(const uchar *data, qint64 n)
{
    writeAt(m_pos, data, n);
}

void AtomicFileSink::writeAt(qint64 pos, const uchar *data, qint64 n)
{
    if (m_file.pos() != pos && !m_file.seek(pos))
        fail(QStringLiteral("erreur d'écriture"));
    if (m_file.write(charsOf(data), n) != n)
        fail(QStringLiteral("erreur d'écriture (disque plein ?)"));
    m_pos = std::max(m_pos, pos + n);
}

void AtomicFileSink::commit()
{
    if (!m_file.commit())
        throw VermeoError(reason(m_file, QStringLiteral("enregistrement impossible")));
}

QByteArray readWholeFile(const QString &fileName)
{
    FileSource f(fileName);
    QByteArray data(f.size(), Qt::Uninitialized);
    f.readAt(0, bytesOf(data), data.size());
    return data;
}

void writeFileAtomically(const QString &fileName, const QByteArray &bytes)
{
    AtomicFileSink f(fileName);
    f.write(bytes);
    f.commit();
}

QString fileNamePart(const QString &fileName) { return QFileInfo(fileName).fileName(); }

} // namespace vermeo
