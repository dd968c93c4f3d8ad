#include "FileAccess.h"
#include "Bytes.h"
#include "Error.h"
#include "SaveTarget.h"

#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QRandomGenerator>
#include <cerrno>
#include <cstring>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
    // Reads at an offset, no shared position: several threads may read parts of the file at once.
    const int fd = m_file.handle();
    qint64 got = 0;
    while (got < n) {
        const ssize_t r = ::pread(fd, dst + got, size_t(std::min<qint64>(n - got, 1 << 30)), off_t(pos + got));
        if (r < 0 && errno == EINTR)
            continue;
        if (r < 0) {
            const int error = errno;
            qCInfo(lcFiles) << m_file.fileName() << std::strerror(error);
            throw VermeoError(error == EACCES ? QStringLiteral("accès refusé") : QStringLiteral("erreur de lecture"));
        }
        if (r == 0)
            break;
        got += r;
    }
    return got;
}

void ByteSink::write(const QByteArray &a) { write(bytesOf(a), a.size()); }

void ArraySink::write(const uchar *data, qint64 n) { writeAt(m_pos, data, n); }

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

namespace {
// The French reason for a failed system call on the file being saved.
QString saveReason(int error, const QString &french)
{
    switch (error) {
    case ENOSPC:
    case EDQUOT: return QStringLiteral("%1 (disque plein)").arg(french);
    case EROFS: return QStringLiteral("%1 (disque en lecture seule)").arg(french);
    default: return french;
    }
}

QByteArray local(const QString &s) { return QFile::encodeName(s); }

bool writeAll(int fd, const uchar *data, qint64 n, qint64 pos)
{
    while (n > 0) {
        const ssize_t w = ::pwrite(fd, data, size_t(std::min<qint64>(n, 1 << 30)), off_t(pos));
        if (w < 0 && errno == EINTR)
            continue;
        if (w <= 0)
            return false;
        data += w;
        pos += w;
        n -= w;
    }
    return true;
}
} // namespace

AtomicFileSink::AtomicFileSink(const QString &fileName, bool overwriteProtected)
    : m_target(std::make_unique<SaveTarget>(checkSaveTarget(fileName)))
{
    const SaveTarget &t = *m_target;
    if (t.writeProtected && !(overwriteProtected && t.protectionOverridable))
        throw VermeoError(writeProtectedReason());
    const QFileInfo target(t.path);
    // Private until it takes the target's place, which then gives its mode; a new name
    // gets the mode the user's umask gives new files.
    const mode_t mode = t.exists ? 0600 : 0666;
    for (int attempt = 0; m_fd < 0; ++attempt) {
        m_temp = QStringLiteral("%1/.%2.vermeo-%3")
                     .arg(target.absolutePath(), target.fileName())
                     .arg(QRandomGenerator::global()->generate() & 0xFFFFFF, 6, 16, QLatin1Char('0'));
        m_fd = ::open(local(m_temp).constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (m_fd >= 0)
            break;
        const int error = errno;
        m_temp.clear();
        if (error == EEXIST && attempt < 100)
            continue;
        if (error == EACCES || error == EPERM)
            throw VermeoError(QStringLiteral("dossier protégé en écriture"));
        throw VermeoError(saveReason(error, QStringLiteral("création impossible")));
    }
}

AtomicFileSink::~AtomicFileSink()
{
    if (m_fd >= 0)
        ::close(m_fd);
    if (!m_temp.isEmpty())
        ::unlink(local(m_temp).constData());
}

void AtomicFileSink::fail(const QString &what)
{
    const QString why = saveReason(errno, what);
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    if (!m_temp.isEmpty())
        ::unlink(local(m_temp).constData());
    m_temp.clear();
    throw VermeoError(why);
}

void AtomicFileSink::write(const uchar *data, qint64 n) { writeAt(m_pos, data, n); }

void AtomicFileSink::writeAt(qint64 pos, const uchar *data, qint64 n)
{
    if (m_fd < 0 || !writeAll(m_fd, data, n, pos))
        fail(QStringLiteral("erreur d'écriture"));
    m_pos = std::max(m_pos, pos + n);
}

// The new file takes the target's mode, owner and group, then its name. False, with the
// target untouched, when it could not be given them or the target has other names.
bool AtomicFileSink::takeTargetsPlace()
{
    const SaveTarget &t = *m_target;
    if (t.exists) {
        if (t.links > 1)
            return false;
        struct stat st {};
        if (::fstat(m_fd, &st) != 0)
            return false;
        // The owner first: changing it clears the set-id bits that the mode then restores.
        if ((st.st_uid != t.owner || st.st_gid != t.group) && ::fchown(m_fd, t.owner, t.group) != 0)
            return false;
        if (::fchmod(m_fd, t.mode) != 0)
            return false;
    }
    if (::close(std::exchange(m_fd, -1)) != 0)
        fail(QStringLiteral("enregistrement impossible"));
    if (::rename(local(m_temp).constData(), local(t.path).constData()) != 0)
        fail(QStringLiteral("enregistrement impossible"));
    m_temp.clear();
    return true;
}

// The complete new file is safe beside the target: copy it into the target itself,
// which keeps its inode (its other names, owner, group and mode).
void AtomicFileSink::writeThrough()
{
    const int out = ::open(local(m_target->path).constData(), O_WRONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    struct stat st {};
    if (out < 0 || ::fstat(out, &st) != 0 || !S_ISREG(st.st_mode)) {
        const int error = errno;
        if (out >= 0)
            ::close(out);
        errno = error;
        fail(error == EACCES ? writeProtectedReason() : QStringLiteral("ouverture impossible"));
    }
    std::vector<uchar> buf(size_t(1) << 20);
    bool ok = true;
    for (qint64 at = 0; ok && at < m_pos;) {
        const ssize_t r = ::pread(m_fd, buf.data(), buf.size(), off_t(at));
        ok = r > 0 && writeAll(out, buf.data(), r, at);
        at += r;
    }
    ok = ok && ::ftruncate(out, off_t(m_pos)) == 0 && ::fsync(out) == 0;
    const int error = errno;
    ok = ::close(out) == 0 && ok;
    if (!ok) {
        // The target is damaged now; the complete picture stays beside it.
        const QString kept = fileNamePart(m_temp);
        ::close(std::exchange(m_fd, -1));
        m_temp.clear();
        errno = error;
        throw VermeoError(
            saveReason(error, QStringLiteral("écriture interrompue ; l'image complète reste dans « %1 »").arg(kept)));
    }
    ::close(std::exchange(m_fd, -1));
    ::unlink(local(m_temp).constData());
    m_temp.clear();
}

void AtomicFileSink::commit()
{
    if (m_fd < 0 || ::fsync(m_fd) != 0)
        fail(QStringLiteral("enregistrement impossible"));
    if (!takeTargetsPlace())
        writeThrough();
}

QByteArray readWholeFile(const QString &fileName)
{
    FileSource f(fileName);
    QByteArray data(f.size(), Qt::Uninitialized);
    f.readAt(0, bytesOf(data), data.size());
    return data;
}

void writeFileAtomically(const QString &fileName, const QByteArray &bytes, bool overwriteProtected)
{
    AtomicFileSink f(fileName, overwriteProtected);
    f.write(bytes);
    f.commit();
}

QString fileNamePart(const QString &fileName) { return QFileInfo(fileName).fileName(); }

} // namespace vermeo
