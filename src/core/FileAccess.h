#pragma once
// Where codecs read and write bytes: a file or an array in memory behind one small
// interface. Files are read only when they are regular files, and never beyond the size
// found when opening; saving goes through a temporary file renamed over the target, so
// a failed save never damages the file that was there. Every error is a VermeoError
// with a French reason.
#include <QByteArray>
#include <QFile>
#include <QSaveFile>
#include <QString>
#include <memory>

namespace vermeo {

// Files above this are refused before reading (no picture we hold needs more).
constexpr qint64 kMaxFileBytes = 2'000'000'000LL;

// Bytes to read from, at any offset.
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

// A new file beside the target, renamed over it by commit(); dropped if not committed.
class AtomicFileSink : public ByteSink {
public:
    explicit AtomicFileSink(const QString &fileName);
    using ByteSink::write;
    void write(const uchar *data, qint64 n) override;
    void writeAt(qint64 pos, const uchar *data, qint64 n) override;
    qint64 pos() const override { return m_pos; }
    void commit();

private:
    void fail(const QString &what);
    QSaveFile m_file;
    qint64 m_pos = 0;
};

// Refuses what cannot be a picture file (missing, a folder, a device, a pipe) with
// the reason, before anything is opened.
void checkReadableFile(const QString &fileName);

// The whole file; throws VermeoError with a French reason.
QByteArray readWholeFile(const QString &fileName);

// Writes bytes to fileName through a temporary file in the same folder.
void writeFileAtomically(const QString &fileName, const QByteArray &bytes);

// The file-name part, as shown in captions and messages.
QString fileNamePart(const QString &fileName);

} // namespace vermeo
