#pragma once
// Where a save may write and how it replaces what is there. Only a regular file, or a
// name not taken yet, is ever written; symbolic links are followed to the file they
// name. A replaced file keeps its mode, owner and group and its other hard-linked
// names; every refusal comes before anything is written, with a French reason.
#include <QString>

#include <sys/types.h>

namespace vermeo {

struct SaveTarget {
    QString path; // the file written, links followed
    bool exists = false;
    mode_t mode = 0; // of the existing file (permission and set-id bits)
    uid_t owner = 0;
    gid_t group = 0;
    nlink_t links = 0;
    // No write bit at all, or not writable by this user.
    bool writeProtected = false;
    // Written all the same after the user confirms: this user may lift the protection
    // (the file's owner with a single name, or root).
    bool protectionOverridable = false;
};

// The target of a save to fileName; throws VermeoError for a folder, a device, a FIFO,
// a socket, a loop of links, a link or a name in a missing folder. A FIFO is never
// opened, so the check cannot block.
SaveTarget checkSaveTarget(const QString &fileName);

// The reason refused for a write-protected target.
QString writeProtectedReason();

// Whether two names are one file (the same inode, through links); false if either is missing.
bool isSameFile(const QString &a, const QString &b);

} // namespace vermeo
