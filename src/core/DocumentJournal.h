#pragma once
// Keeps the recovery journal of one document while it has unsaved changes: a short
// pause after the last change, the picture is copied in tiles by a worker thread and
// written crash-safely (temporary file, then rename) beside the session's others. A
// stroke never waits for the file; it puts aside the few tiles it draws on that are
// not copied yet, or waits for the one the worker is copying (TiledCopy).
// The journal goes when the document is saved, closed, or its changes are given up.
#include "ImageDocument.h"
#include "JournalSession.h"
#include "TiledCopy.h"

#include <QObject>
#include <QTimer>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace vermeo {

class DocumentJournal : public QObject {
public:
    // The pause in editing after which the journal is written.
    static constexpr int kPauseMs = 2000;

    // title gives the window's caption when the journal is written. existingPath: a
    // journal that already holds the document as it is now (a recovered picture).
    DocumentJournal(ImageDocument &doc, JournalSession &session, std::function<QString()> title,
                    const QString &existingPath = {});
    // A clean close: the journal goes.
    ~DocumentJournal() override;

    QString path() const { return m_path; }
    // Whether the journal on disk holds the document as it is now.
    bool upToDate() const { return m_journalled == m_revision; }
    bool writing() const { return m_job != nullptr; }
    // What the pause starts: a write, unless there is nothing new or a press goes on.
    void writeNow();
    // Until the write in progress has ended (tests, benchmarks).
    void waitForWrite();

    // A write failed (French reason); told once until a write succeeds again.
    std::function<void(const QString &)> onFailure;

private:
    struct Job;
    void edited();
    void beforeWrite(const QRect &area);
    void collect();
    void removeJournal();
    static void work(Job &job, std::mutex &fileMutex);

    ImageDocument &m_doc;
    JournalSession &m_session;
    std::function<QString()> m_title;
    QString m_path;
    QTimer m_pause;
    quint64 m_revision = 1;   // counts the changes
    quint64 m_journalled = 0; // the revision the journal on disk holds; 0: none
    qint64 m_lastChange = 0;  // ms since the epoch
    bool m_failureTold = false;
    std::shared_ptr<Job> m_job;
    std::thread m_thread;
    std::mutex m_fileMutex; // the rename of a finished write against the removal
};

} // namespace vermeo
