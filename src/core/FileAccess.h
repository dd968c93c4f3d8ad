#pragma once
// Where codecs read and write bytes: a file or an array in memory behind one small
// interface. Files are read only when they are regular files, and never beyond the size
// found when opening; saving goes through a temporary file renamed over the target, so
// a failed save never damages the file that was there. Every error is a VermeoError
// with a French reason.
#include "SaveTarget.h"
#include <QByteArray>

#include <QFile>
#include <QString>
#include <memory>

namespace vermeo {

// Files above this are refused before reading (no picture we hold needs more).
constexpr qint64 kMaxFileBytes = 2'000'000'000LL;

// Bytes to read from, at any offset, on several threads at once.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual qint64 size() const = 0;
    // Exactly n bytes at pos, or throws ("fichier tronqué").
    virtual void readAt(qint64 pos, uchar *dst, qint64 n) = 0;
    // Up to n bytes at pos; returns how many.
    virtual qint64 readSomeAt(qint64 pos, uchar *dst, qint64 n) = 0;
};

class ArraySource : public ByteSource {
public:
    explicit ArraySource(const QByteArray &bytes) : m_bytes(bytes) {}
    qint64 size() const override { return m_bytes.size(); }
    void readAt(qint64 pos, uchar *dst, qint64 n) override;
    qint64 readSomeAt(qint64 pos, uchar *dst, qint64 n) override;

private:
    QByteArray m_bytes;
};

class FileSource : public ByteSource {
public:
    // Opens a regular file for reading; throws with the reason otherwise.
    explicit FileSource(const QString &fileName);
    qint64 size() const override { return m_size; }
    void readAt(qint64 pos, uchar *dst, qint64 n) override;
    qint64 readSomeAt(qint64 pos, uchar *dst, qint64 n) override;
    // The open file's descriptor, for mapping it (see MappedFile).
    int handle() const { return m_file.handle(); }

private:
    QFile m_file;
    qint64 m_size = 0;
};

// Bytes to write, in order, with the odd write back into what is already there.
class ByteSink {
public:
    virtual ~ByteSink() = default;
    virtual void write(const uchar *data, qint64 n) = 0;
    void write(const QByteArray &a);
    // Writes at pos, which may lie beyond what was written so far (the gap is zeros).
    virtual void writeAt(qint64 pos, const uchar *data, qint64 n) = 0;
    virtual qint64 pos() const = 0;
};

class ArraySink : public ByteSink {
public:
    explicit ArraySink(QByteArray &out) : m_out(out) {}
    using ByteSink::write;
    void write(const uchar *data, qint64 n) override;
    void writeAt(qint64 pos, const uchar *data, qint64 n) override;
    qint64 pos() const override { return m_pos; }

private:
    QByteArray &m_out;
    qint64 m_pos = 0;
};

// A new file beside the target, which takes the target's place on commit(); dropped if
// not committed. The target is checked first (see checkSaveTarget): a write-protected
// one is refused unless overwriteProtected and this user may lift the protection. A
// replaced file keeps its mode, owner and group; when the new file could not keep them,
// or the target has other hard-linked names, the complete new file is copied into the
// existing one instead of renamed over it.
class AtomicFileSink : public ByteSink {
public:
    explicit AtomicFileSink(const QString &fileName, bool overwriteProtected = false);
    ~AtomicFileSink() override;
    AtomicFileSink(const AtomicFileSink &) = delete;
    AtomicFileSink &operator=(const AtomicFileSink &) = delete;
    using ByteSink::write;
    void write(const uchar *data, qint64 n) override;
    void writeAt(qint64 pos, const uchar *data, qint64 n) override;
    qint64 pos() const override { return m_pos; }
    void commit();

private:
    [[noreturn]] void fail(const QString &what);
    bool takeTargetsPlace();
    void writeThrough();
    std::unique_ptr<SaveTarget> m_target;
    QString m_temp;
    int m_fd = -1;
    qint64 m_pos = 0;
};

// Refuses what cannot be a picture file (missing, a folder, a device, a pipe) with
// the reason, before anything is opened.
void checkReadableFile(const QString &fileName);

// The whole file; throws VermeoError with a French reason.
QByteArray readWholeFile(const QString &fileName);

// Writes bytes to fileName through a temporary file in the same folder (AtomicFileSink).
void writeFileAtomically(const QString &fileName, const QByteArray &bytes, bool overwriteProtected = false);

// The file-name part, as shown in captions and messages.
QString fileNamePart(const QString &fileName);

} // namespace vermeo
