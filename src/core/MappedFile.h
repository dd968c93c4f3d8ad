#pragma once
// A file's bytes mapped into memory for reading, straight from the system's cache: no
// copy, no fresh pages. A page that goes missing while it is read (the file cut short by
// another program) reads as zeros instead of ending the process, and damaged() tells.
#include "FileAccess.h"

namespace vermeo {

class MappedFile {
public:
    // The bytes of an open file, up to the size found when it was opened; none (data()
    // null) where the system maps no such file, or too many are mapped already.
    explicit MappedFile(const FileSource &file);
    ~MappedFile();
    MappedFile(const MappedFile &) = delete;
    MappedFile &operator=(const MappedFile &) = delete;

    const uchar *data() const { return m_data; }
    qint64 size() const { return m_size; }
    // Whether a page was found missing since the mapping was made.
    bool damaged() const;

private:
    const uchar *m_data = nullptr;
    qint64 m_size = 0;
    int m_slot = -1;
};

} // namespace vermeo
