#pragma once
// The recovery journals of this run of the program, in the user's state folder
// ($XDG_STATE_HOME/vermeo, else ~/.local/state/vermeo; private: 0700, files 0600).
// Each run is a session with a lock file held (flock) as long as it runs: the kernel
// lets go of it when the program ends in any way, so the journals of a session whose
// lock can be taken were left by a program that is gone, and are offered at start-up.
// A session never offers the journals of one still running.
#include "JournalFile.h"

#include <QHash>
#include <QString>
#include <vector>

namespace vermeo {

// The folder of the journals (not created).
QString journalFolder();

// A journal left by a program that is gone; readable or with the reason it is not.
struct JournalEntry {
    QString path;
    bool readable = false;
    QString problem; // French, when not readable
    JournalInfo info;
};

class JournalSession {
public:
    // Makes the folder private and takes this session's lock; throws VermeoError with
    // the reason when the folder cannot be used.
    explicit JournalSession(const QString &folder = journalFolder());
    // A clean end: the lock file goes (the documents have removed their journals).
    ~JournalSession();
    JournalSession(const JournalSession &) = delete;
    JournalSession &operator=(const JournalSession &) = delete;

    QString folder() const { return m_folder; }
    QString id() const { return m_id; }
    // A new journal name of this session (names never come from the picture's).
    QString newJournalPath();

    // The journals of the sessions that are gone, oldest change first. Their locks are
    // held from here until releaseOrphans(), so that another program starting now
    // does not offer them too.
    std::vector<JournalEntry> orphans();
    // Moves an orphan journal into this session; returns its new name.
    QString adopt(const QString &path);
    // Lets go of the sessions that are gone; their lock files and unfinished
    // temporary files go once they have no journal left.
    void releaseOrphans();

    static QString journalSuffix() { return QStringLiteral(".vjournal"); }

private:
    QString lockPath(const QString &session) const;
    // Takes the lock of another session when its program is gone.
    bool takeIfGone(const QString &session);
    QString m_folder;
    QString m_id;
    int m_lockFd = -1;
    int m_next = 0;
    QHash<QString, int> m_orphanLocks; // session -> its lock, held
};

} // namespace vermeo
