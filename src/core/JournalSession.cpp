#include "JournalSession.h"
#include "Error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vermeo {

namespace {

QString systemReason() { return QString::fromLocal8Bit(std::strerror(errno)); }

QByteArray local(const QString &path) { return QFile::encodeName(path); }

// Creates the folder and its missing parents, private to the user.
void makePrivateFolder(const QString &folder)
{
    const QString clean = QDir::cleanPath(folder);
    const QStringList parts = clean.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString path;
    for (const QString &part : parts) {
        path += QLatin1Char('/') + part;
        if (::mkdir(local(path).constData(), 0700) != 0 && errno != EEXIST)
            throw VermeoError(
                QStringLiteral("Le dossier de récupération « %1 » ne peut être créé : %2.").arg(clean, systemReason()));
    }
    struct stat st {};
    if (::lstat(local(clean).constData(), &st) != 0 || !S_ISDIR(st.st_mode))
        throw VermeoError(
            QStringLiteral("« %1 » n'est pas un dossier : les images ne peuvent être récupérées après un arrêt.")
                .arg(clean));
    if (st.st_uid != ::geteuid())
        throw VermeoError(
            QStringLiteral("Le dossier de récupération « %1 » appartient à un autre utilisateur.").arg(clean));
    if ((st.st_mode & 0777) != 0700 && ::chmod(local(clean).constData(), 0700) != 0)
        throw VermeoError(QStringLiteral("Le dossier de récupération « %1 » ne peut être rendu privé : %2.")
                              .arg(clean, systemReason()));
}

QString sessionOf(const QString &fileName) { return fileName.section(QLatin1Char('.'), 0, 0); }

} // namespace

QString journalFolder()
{
    // A relative XDG_STATE_HOME is to be ignored.
    const QString state = qEnvironmentVariable("XDG_STATE_HOME");
    const QString base = QDir::isAbsolutePath(state) ? state : QDir::homePath() + QStringLiteral("/.local/state");
    return QDir::cleanPath(base + QStringLiteral("/vermeo"));
}

JournalSession::JournalSession(const QString &folder) : m_folder(QDir::cleanPath(folder))
{
    makePrivateFolder(m_folder);
    for (int attempt = 0; attempt < 16 && m_lockFd < 0; ++attempt) {
        m_id = QStringLiteral("%1-%2")
                   .arg(::getpid())
                   .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
        m_lockFd = ::open(local(lockPath(m_id)).constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (m_lockFd < 0 && errno != EEXIST)
            break;
    }
    if (m_lockFd < 0 || ::flock(m_lockFd, LOCK_EX | LOCK_NB) != 0)
        throw VermeoError(QStringLiteral("Le dossier de récupération « %1 » n'est pas utilisable : %2.")
                              .arg(m_folder, systemReason()));
    // For a person who looks: which program holds the session.
    const QByteArray pid = QByteArray::number(qint64(::getpid())) + '\n';
    if (::write(m_lockFd, pid.constData(), size_t(pid.size())) < 0) {
        // The lock is what counts, not its text.
    }
}

JournalSession::~JournalSession()
{
    releaseOrphans();
    ::unlink(local(lockPath(m_id)).constData());
    ::close(m_lockFd);
}

QString JournalSession::lockPath(const QString &session) const
{
    return m_folder + QLatin1Char('/') + session + QStringLiteral(".lock");
}

QString JournalSession::newJournalPath()
{
    return m_folder + QLatin1Char('/') + m_id + QLatin1Char('.') + QString::number(++m_next) + journalSuffix();
}

bool JournalSession::takeIfGone(const QString &session)
{
    if (session == m_id || m_orphanLocks.contains(session))
        return session != m_id;
    const int fd = ::open(local(lockPath(session)).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return false;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd); // its program still runs
        return false;
    }
    m_orphanLocks.insert(session, fd);
    return true;
}

std::vector<JournalEntry> JournalSession::orphans()
{
    const QDir dir(m_folder);
    // Sessions that ended with nothing to bring back leave a lock file: it goes too.
    for (const QString &lock : dir.entryList({QStringLiteral("*.lock")}, QDir::Files | QDir::Hidden))
        takeIfGone(sessionOf(lock));
    std::vector<JournalEntry> out;
    for (const QString &name :
         dir.entryList({QLatin1Char('*') + journalSuffix()}, QDir::Files | QDir::Hidden, QDir::Name)) {
        if (!takeIfGone(sessionOf(name)))
            continue;
        JournalEntry e;
        e.path = dir.filePath(name);
        try {
            e.info = journal::readInfo(e.path);
            e.readable = true;
        } catch (const VermeoError &err) {
            e.problem = err.message();
            e.info.title = name;
            e.info.lastChange = QFileInfo(e.path).lastModified().toUTC();
        }
        out.push_back(std::move(e));
    }
    std::stable_sort(out.begin(), out.end(), [](const JournalEntry &a, const JournalEntry &b) {
        return a.info.lastChange < b.info.lastChange;
    });
    return out;
}

QString JournalSession::adopt(const QString &path)
{
    const QString target = newJournalPath();
    if (::rename(local(path).constData(), local(target).constData()) != 0)
        throw VermeoError(QStringLiteral("Le fichier de récupération « %1 » ne peut être repris : %2.")
                              .arg(QFileInfo(path).fileName(), systemReason()));
    return target;
}

void JournalSession::releaseOrphans()
{
    for (auto it = m_orphanLocks.cbegin(); it != m_orphanLocks.cend(); ++it) {
        const QString session = it.key();
        const QDir dir(m_folder);
        if (dir.entryList({session + QStringLiteral(".*") + journalSuffix()}, QDir::Files | QDir::Hidden).isEmpty()) {
            // Unfinished writes of the program that is gone, then its lock.
            for (const QString &part : dir.entryList({session + QStringLiteral(".*.part")}, QDir::Files | QDir::Hidden))
                ::unlink(local(dir.filePath(part)).constData());
            ::unlink(local(lockPath(session)).constData());
        }
        ::close(it.value());
    }
    m_orphanLocks.clear();
}

} // namespace vermeo
