#include "JournalFile.h"
#include "Error.h"

#include <QFile>
#include <QtEndian>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>
#include <zlib.h>

namespace vermeo::journal {

namespace {

constexpr char kMagic[8] = {'V', 'E', 'R', 'M', 'J', 'R', 'N', 'L'};
constexpr int kFixedBytes = 32;
constexpr quint32 kMaxMetaBytes = 1 << 20;
constexpr quint32 kMaxTextBytes = 64 << 10;
// Deflate packs at most about 1032 to 1: a file smaller than that cannot hold the picture.
constexpr quint64 kMaxPackRatio = 1100;

QString systemReason() { return QString::fromLocal8Bit(std::strerror(errno)); }

void writeAll(int fd, const void *data, size_t n)
{
    const char *p = static_cast<const char *>(data);
    while (n > 0) {
        const ssize_t w = ::write(fd, p, n);
        if (w < 0 && errno == EINTR)
            continue;
        if (w <= 0)
            throw VermeoError(
                QStringLiteral("Écriture du fichier de récupération impossible : %1.").arg(systemReason()));
        p += w;
        n -= size_t(w);
    }
}

void put32(QByteArray &out, quint32 v)
{
    v = qToLittleEndian(v);
    out.append(reinterpret_cast<const char *>(&v), 4);
}

void put64(QByteArray &out, quint64 v)
{
    v = qToLittleEndian(v);
    out.append(reinterpret_cast<const char *>(&v), 8);
}

void putText(QByteArray &out, const QString &s)
{
    const QByteArray u = s.toUtf8().left(int(kMaxTextBytes));
    put32(out, quint32(u.size()));
    out.append(u);
}

QByteArray metadata(const JournalInfo &info)
{
    QByteArray m;
    put64(m, quint64(info.lastChange.toMSecsSinceEpoch()));
    put32(m, quint32(info.width));
    put32(m, quint32(info.height));
    put32(m, quint32(info.depth));
    put32(m, quint32(kBandRows));
    put32(m, quint32(info.palette.size()));
    for (QRgb c : info.palette)
        put32(m, c);
    putText(m, info.fileName);
    putText(m, info.title);
    return m;
}

quint32 crcOf(quint32 crc, const void *data, size_t n)
{
    return quint32(crc32(crc, static_cast<const Bytef *>(data), uInt(n)));
}

[[noreturn]] void damaged(const QString &why)
{
    throw VermeoError(QStringLiteral("Fichier de récupération endommagé : %1.").arg(why));
}

// An open journal file, read by position within the size found at opening.
class Reader {
public:
    explicit Reader(const QString &path)
    {
        m_fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
        if (m_fd < 0)
            throw VermeoError(
                QStringLiteral("Lecture du fichier de récupération impossible : %1.").arg(systemReason()));
        struct stat st {};
        if (fstat(m_fd, &st) != 0 || !S_ISREG(st.st_mode))
            damaged(QStringLiteral("ce n'est pas un fichier ordinaire"));
        m_size = quint64(st.st_size);
    }
    ~Reader() { ::close(m_fd); }
    Reader(const Reader &) = delete;
    Reader &operator=(const Reader &) = delete;
    quint64 size() const { return m_size; }
    void readAt(quint64 pos, void *dst, quint64 n) const
    {
        if (pos > m_size || n > m_size - pos)
            damaged(QStringLiteral("fichier tronqué"));
        char *p = static_cast<char *>(dst);
        while (n > 0) {
            const ssize_t r = ::pread(m_fd, p, size_t(std::min<quint64>(n, 1 << 24)), off_t(pos));
            if (r < 0 && errno == EINTR)
                continue;
            if (r <= 0)
                damaged(QStringLiteral("fichier tronqué"));
            p += r;
            pos += quint64(r);
            n -= quint64(r);
        }
    }
    quint32 read32(quint64 pos) const
    {
        quint32 v = 0;
        readAt(pos, &v, 4);
        return qFromLittleEndian(v);
    }

private:
    int m_fd = -1;
    quint64 m_size = 0;
};

// Reads the metadata bytes in order, never past their end.
class MetaReader {
public:
    explicit MetaReader(const QByteArray &bytes) : m_bytes(bytes) {}
    quint32 u32()
    {
        need(4);
        const quint32 v = qFromLittleEndian<quint32>(m_bytes.constData() + m_pos);
        m_pos += 4;
        return v;
    }
    quint64 u64()
    {
        const quint64 lo = u32();
        return lo | (quint64(u32()) << 32);
    }
    QString text()
    {
        const quint32 n = u32();
        if (n > kMaxTextBytes)
            damaged(QStringLiteral("nom trop long"));
        need(n);
        const QString s = QString::fromUtf8(m_bytes.constData() + m_pos, qsizetype(n));
        m_pos += n;
        return s;
    }
    bool atEnd() const { return m_pos == quint64(m_bytes.size()); }

private:
    void need(quint64 n) const
    {
        if (n > quint64(m_bytes.size()) - m_pos)
            damaged(QStringLiteral("description incomplète"));
    }
    const QByteArray &m_bytes;
    quint64 m_pos = 0;
};

struct Layout {
    JournalInfo info;
    int bandRows = kBandRows;
    quint32 pixelCrc = 0;
    quint64 pixelStart = 0, pixelLength = 0;
};

Layout readLayout(const Reader &file)
{
    char head[kFixedBytes] = {};
    file.readAt(0, head, std::min<quint64>(file.size(), kFixedBytes));
    if (std::memcmp(head, kMagic, sizeof kMagic) != 0)
        throw VermeoError(QStringLiteral("Ce fichier n'est pas un fichier de récupération de Vermeo."));
    if (file.size() < quint64(kFixedBytes))
        damaged(QStringLiteral("fichier tronqué"));
    const quint32 version = qFromLittleEndian<quint32>(head + 8);
    if (version != quint32(kVersion))
        throw VermeoError(
            QStringLiteral("Fichier de récupération d'une autre version de Vermeo (version %1).").arg(version));
    const quint32 metaLength = qFromLittleEndian<quint32>(head + 12);
    const quint32 metaCrc = qFromLittleEndian<quint32>(head + 16);
    Layout l;
    l.pixelCrc = qFromLittleEndian<quint32>(head + 20);
    l.pixelLength = qFromLittleEndian<quint64>(head + 24);
    if (metaLength > kMaxMetaBytes)
        damaged(QStringLiteral("description trop longue"));
    l.pixelStart = quint64(kFixedBytes) + metaLength;
    if (file.size() < l.pixelStart || file.size() - l.pixelStart != l.pixelLength)
        damaged(QStringLiteral("fichier tronqué"));
    QByteArray meta(qsizetype(metaLength), Qt::Uninitialized);
    file.readAt(kFixedBytes, meta.data(), metaLength);
    if (crcOf(0, meta.constData(), size_t(meta.size())) != metaCrc)
        damaged(QStringLiteral("somme de contrôle fausse"));

    MetaReader m(meta);
    JournalInfo &info = l.info;
    info.lastChange = QDateTime::fromMSecsSinceEpoch(qint64(m.u64()), Qt::UTC);
    const quint32 w = m.u32(), h = m.u32(), depth = m.u32(), bandRows = m.u32(), colours = m.u32();
    if (!isHoldableSize(w, h))
        damaged(QStringLiteral("taille %1 x %2 impossible").arg(w).arg(h));
    if (depth != 1 && depth != 4 && depth != 8 && depth != 16 && depth != 24 && depth != 32)
        damaged(QStringLiteral("profondeur %1 inconnue").arg(depth));
    if (bandRows == 0 || bandRows > quint32(kMaxSide))
        damaged(QStringLiteral("bandes de lignes impossibles"));
    if (colours > (depth <= 8 ? (1u << depth) : 0u))
        damaged(QStringLiteral("palette impossible"));
    for (quint32 i = 0; i < colours; ++i)
        info.palette << (m.u32() | 0xFF000000u);
    info.fileName = m.text();
    info.title = m.text();
    if (!m.atEnd())
        damaged(QStringLiteral("description trop longue"));
    info.width = int(w);
    info.height = int(h);
    info.depth = int(depth);
    l.bandRows = int(bandRows);
    const quint64 raw = quint64(w) * h * 4;
    if (l.pixelLength * kMaxPackRatio < raw)
        damaged(QStringLiteral("fichier tronqué"));
    return l;
}

} // namespace

bool write(int fd, const JournalInfo &info, const std::function<const QRgb *(int y)> &rows,
           const std::function<bool()> &cancelled)
{
    const QByteArray meta = metadata(info);
    char head[kFixedBytes] = {};
    if (::lseek(fd, kFixedBytes + meta.size(), SEEK_SET) < 0)
        throw VermeoError(QStringLiteral("Écriture du fichier de récupération impossible : %1.").arg(systemReason()));
    const size_t rowBytes = size_t(info.width) * 4;
    std::vector<Bytef> raw(rowBytes * kBandRows), packed(compressBound(uLong(raw.size())) + 4);
    quint32 crc = 0;
    quint64 length = 0;
    for (int y0 = 0; y0 < info.height; y0 += kBandRows) {
        if (cancelled && cancelled())
            return false;
        const int n = std::min(kBandRows, info.height - y0);
        for (int i = 0; i < n; ++i) {
            const QRgb *row = rows(y0 + i);
            Bytef *out = raw.data() + size_t(i) * rowBytes;
            if constexpr (Q_BYTE_ORDER == Q_LITTLE_ENDIAN)
                std::memcpy(out, row, rowBytes);
            else
                qToLittleEndian<quint32>(row, info.width, out);
        }
        uLongf packedLength = uLongf(packed.size() - 4);
        if (compress2(packed.data() + 4, &packedLength, raw.data(), uLong(rowBytes * size_t(n)), 1) != Z_OK)
            throw VermeoError(QStringLiteral("Compression du fichier de récupération impossible."));
        qToLittleEndian<quint32>(quint32(packedLength), packed.data());
        writeAll(fd, packed.data(), packedLength + 4);
        crc = crcOf(crc, packed.data(), packedLength + 4);
        length += packedLength + 4;
    }
    std::memcpy(head, kMagic, sizeof kMagic);
    qToLittleEndian<quint32>(quint32(kVersion), head + 8);
    qToLittleEndian<quint32>(quint32(meta.size()), head + 12);
    qToLittleEndian<quint32>(crcOf(0, meta.constData(), size_t(meta.size())), head + 16);
    qToLittleEndian<quint32>(crc, head + 20);
    qToLittleEndian<quint64>(length, head + 24);
    if (::lseek(fd, 0, SEEK_SET) < 0)
        throw VermeoError(QStringLiteral("Écriture du fichier de récupération impossible : %1.").arg(systemReason()));
    writeAll(fd, head, kFixedBytes);
    writeAll(fd, meta.constData(), size_t(meta.size()));
    return true;
}

JournalInfo readInfo(const QString &path)
{
    const Reader file(path);
    return readLayout(file).info;
}

Picture read(const QString &path, JournalInfo *infoOut)
{
    const Reader file(path);
    const Layout l = readLayout(file);
    const JournalInfo &info = l.info;
    const quint64 end = l.pixelStart + l.pixelLength;
    const quint64 bandRaw = quint64(info.width) * 4 * quint64(l.bandRows);
    const quint64 maxPacked = compressBound(uLong(std::min<quint64>(bandRaw, 1ull << 31)));
    // First pass: the band lengths and the checksum, before the picture is allocated.
    const int bands = int((quint64(info.height) + quint64(l.bandRows) - 1) / quint64(l.bandRows));
    std::vector<Bytef> buffer;
    quint32 crc = 0;
    quint64 pos = l.pixelStart;
    std::vector<std::pair<quint64, quint32>> packedBands;
    packedBands.reserve(size_t(bands));
    for (int b = 0; b < bands; ++b) {
        const quint32 n = file.read32(pos);
        if (n > maxPacked || n > end - pos - 4)
            damaged(QStringLiteral("bande de lignes trop longue"));
        buffer.resize(size_t(n) + 4);
        file.readAt(pos, buffer.data(), quint64(n) + 4);
        crc = crcOf(crc, buffer.data(), buffer.size());
        packedBands.emplace_back(pos + 4, n);
        pos += quint64(n) + 4;
    }
    if (pos != end)
        damaged(QStringLiteral("données en trop"));
    if (crc != l.pixelCrc)
        damaged(QStringLiteral("somme de contrôle fausse"));

    QImage img = newWorkingImage(info.width, info.height);
    auto out = rowsOf(img);
    const size_t rowBytes = size_t(info.width) * 4;
    std::vector<Bytef> raw(rowBytes * size_t(l.bandRows));
    for (int b = 0; b < bands; ++b) {
        const auto [at, n] = packedBands[size_t(b)];
        buffer.resize(n);
        file.readAt(at, buffer.data(), n);
        const int y0 = b * l.bandRows, rowCount = std::min(l.bandRows, info.height - y0);
        uLongf rawLength = uLongf(rowBytes * size_t(rowCount));
        if (uncompress(raw.data(), &rawLength, buffer.data(), n) != Z_OK || rawLength != rowBytes * size_t(rowCount))
            damaged(QStringLiteral("lignes illisibles"));
        for (int i = 0; i < rowCount; ++i) {
            QRgb *row = out[y0 + i];
            qFromLittleEndian<quint32>(raw.data() + size_t(i) * rowBytes, info.width, row);
            for (int x = 0; x < info.width; ++x)
                row[x] |= 0xFF000000u;
        }
    }
    if (infoOut)
        *infoOut = info;
    return Picture{img, info.depth, info.palette, {}};
}

} // namespace vermeo::journal
