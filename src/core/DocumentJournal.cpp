#include "DocumentJournal.h"
#include "Error.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace vermeo {

struct DocumentJournal::Job {
    JournalInfo info;
    quint64 revision = 0;
    QString target;
    std::unique_ptr<TiledCopy> copy; // the picture was the document's alone
    QImage shared;                   // it was shared already: it will not change under us
    std::atomic<bool> cancelled{false};
    std::atomic<bool> done{false};
    QString error;
};

namespace {

// One journal is encoded at a time, whatever the number of documents.
std::timed_mutex &encodeMutex()
{
    static std::timed_mutex m;
    return m;
}

QByteArray local(const QString &path) { return QFile::encodeName(path); }

void syncFolder(const QString &folder)
{
    const int fd = ::open(local(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

DocumentJournal::DocumentJournal(ImageDocument &doc, JournalSession &session, std::function<QString()> title,
                                 const QString &existingPath)
    : m_doc(doc),
      m_session(session),
      m_title(std::move(title)),
      m_path(existingPath),
      m_lastChange(QDateTime::currentMSecsSinceEpoch())
{
    if (!m_path.isEmpty())
        m_journalled = m_revision;
    m_pause.setSingleShot(true);
    m_pause.setInterval(kPauseMs);
    connect(&m_pause, &QTimer::timeout, this, [this] { writeNow(); });
    m_doc.beforePictureWrite = [this](const QRect &area) { beforeWrite(area); };
    m_doc.onEdited = [this] { edited(); };
}

DocumentJournal::~DocumentJournal()
{
    m_pause.stop();
    m_doc.beforePictureWrite = nullptr;
    m_doc.onEdited = nullptr;
    removeJournal();
    if (m_job) {
        // The worker may still read the picture: it stops once its copy is made, or at
        // its next band of rows while encoding.
        m_job->cancelled = true;
        m_thread.join();
    }
}

void DocumentJournal::edited()
{
    ++m_revision;
    m_lastChange = QDateTime::currentMSecsSinceEpoch();
    if (!m_doc.modified()) {
        m_pause.stop();
        removeJournal();
        return;
    }
    m_pause.start();
}

void DocumentJournal::beforeWrite(const QRect &area)
{
    ++m_revision;
    m_lastChange = QDateTime::currentMSecsSinceEpoch();
    m_pause.start();
    if (!m_job || !m_job->copy)
        return;
    // A picture replaced, or shared since (its next write copies it): the copy first.
    if (area.isNull() || !m_doc.image().isDetached())
        m_job->copy->finish();
    else
        m_job->copy->beforeWrite(area.intersected(m_doc.image().rect()));
}

void DocumentJournal::writeNow()
{
    if (!m_doc.modified()) {
        removeJournal();
        return;
    }
    if (m_journalled == m_revision || m_job)
        return; // nothing new, or collect() asks again
    if (m_doc.ButtonDown) {
        m_pause.start(); // after the stroke
        return;
    }
    auto job = std::make_shared<Job>();
    const Picture &pic = m_doc.picture();
    job->info = JournalInfo{m_title ? m_title() : QString(),
                            m_doc.FileName,
                            pic.width(),
                            pic.height(),
                            pic.depth,
                            pic.palette,
                            QDateTime::fromMSecsSinceEpoch(m_lastChange, Qt::UTC)};
    job->revision = m_revision;
    if (m_path.isEmpty())
        m_path = m_session.newJournalPath();
    job->target = m_path;
    try {
        if (pic.image.isDetached())
            job->copy = std::make_unique<TiledCopy>(pic.image);
        else
            job->shared = pic.image;
    } catch (const VermeoError &e) {
        if (!m_failureTold && onFailure)
            onFailure(e.message());
        m_failureTold = true;
        return;
    }
    m_job = job;
    m_thread = std::thread([this, job] {
        work(*job, m_fileMutex);
        job->done = true;
        QMetaObject::invokeMethod(
            this, [this] { collect(); }, Qt::QueuedConnection);
    });
}

void DocumentJournal::work(Job &job, std::mutex &fileMutex)
{
    if (job.copy)
        job.copy->run();
    if (job.cancelled)
        return;
    // The copy is ours now: the encoding gives way to the user-interface thread.
    ::setpriority(PRIO_PROCESS, id_t(::syscall(SYS_gettid)), 10);
    std::unique_lock encoding(encodeMutex(), std::defer_lock);
    while (!encoding.try_lock_for(std::chrono::milliseconds(50)))
        if (job.cancelled)
            return;
    const QString part = job.target + QStringLiteral(".part");
    const int fd = ::open(local(part).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        job.error = QStringLiteral("Le fichier de récupération « %1 » ne peut être créé : %2.")
                        .arg(part, QString::fromLocal8Bit(std::strerror(errno)));
        return;
    }
    const QImage &image = job.copy ? job.copy->image() : job.shared;
    const uchar *bits = image.constBits();
    const qsizetype stride = image.bytesPerLine();
    bool complete = false;
    try {
        complete = journal::write(
            fd, job.info, [&](int y) { return reinterpret_cast<const QRgb *>(bits + y * stride); },
            [&] { return job.cancelled.load(); });
        if (complete && ::fdatasync(fd) != 0)
            throw VermeoError(QStringLiteral("Écriture du fichier de récupération impossible : %1.")
                                  .arg(QString::fromLocal8Bit(std::strerror(errno))));
    } catch (const VermeoError &e) {
        job.error = e.message();
        complete = false;
    }
    ::close(fd);
    {
        const std::lock_guard files(fileMutex);
        if (complete && !job.cancelled && ::rename(local(part).constData(), local(job.target).constData()) == 0) {
            syncFolder(QFileInfo(job.target).absolutePath());
            return;
        }
    }
    ::unlink(local(part).constData());
}

void DocumentJournal::collect()
{
    if (!m_job || !m_job->done)
        return;
    if (m_thread.joinable())
        m_thread.join();
    const std::shared_ptr<Job> job = std::move(m_job);
    if (!job->cancelled && !job->error.isEmpty()) {
        if (!m_failureTold && onFailure)
            onFailure(job->error);
        m_failureTold = true;
    } else if (!job->cancelled) {
        m_failureTold = false;
        m_journalled = job->revision;
    }
    // Changes made while it was written: the next pause writes them.
    if (m_doc.modified() && m_revision != job->revision && !m_pause.isActive())
        m_pause.start();
}

void DocumentJournal::waitForWrite()
{
    if (m_thread.joinable())
        m_thread.join();
    collect();
}

void DocumentJournal::removeJournal()
{
    if (m_job)
        m_job->cancelled = true;
    m_journalled = 0;
    if (m_path.isEmpty())
        return;
    const std::lock_guard files(m_fileMutex);
    ::unlink(local(m_path).constData());
}

} // namespace vermeo
