#include "PhotoMetadata.h"

#include <cstdint>
#include <cstring>
#include <zlib.h>

namespace vermeo::formats {

namespace {
// No ICC profile we could use is this large; a bigger one is damage.
constexpr uint32_t kMaxProfileBytes = 16u << 20;

constexpr uint16_t kOrientationTag = 0x0112;
constexpr uint16_t kIccTag = 0x8773;
constexpr uint16_t kShort = 3, kLong = 4, kUndefined = 7, kByte = 1;

// A TIFF structure in either byte order; every read is checked against the size.
struct TiffView {
    const unsigned char *data;
    size_t size;
    bool little;

    bool has(size_t pos, size_t n) const { return pos <= size && size - pos >= n; }
    uint16_t u16(size_t p) const
    {
        return little ? uint16_t(data[p] | data[p + 1] << 8) : uint16_t(data[p] << 8 | data[p + 1]);
    }
    uint32_t u32(size_t p) const
    {
        return little ? uint32_t(u16(p)) | uint32_t(u16(p + 2)) << 16 : uint32_t(u16(p)) << 16 | u16(p + 2);
    }
};

// The header's byte order and the first directory's offset; false when no TIFF header.
bool openTiff(const unsigned char *data, size_t size, TiffView &view, uint32_t &firstDirectory)
{
    if (size < 8)
        return false;
    if (data[0] == 'I' && data[1] == 'I')
        view = {data, size, true};
    else if (data[0] == 'M' && data[1] == 'M')
        view = {data, size, false};
    else
        return false;
    if (view.u16(2) != 42)
        return false;
    firstDirectory = view.u32(4);
    return view.has(firstDirectory, 2);
}

// Calls entry(tag, type, count, valueOffset) for each entry of the directory at pos
// that lies wholly within the data.
template <class Entry>
void eachEntry(const TiffView &v, uint32_t pos, Entry entry)
{
    const unsigned count = v.u16(pos);
    for (unsigned i = 0; i < count; ++i) {
        const size_t at = size_t(pos) + 2 + size_t(i) * 12;
        if (!v.has(at, 12))
            return;
        entry(v.u16(at), v.u16(at + 2), v.u32(at + 4), at + 8);
    }
}

int orientationValue(const TiffView &v, uint16_t type, uint32_t count, size_t valueAt)
{
    if (count < 1 || (type != kShort && type != kLong))
        return 1;
    const uint32_t value = type == kShort ? v.u16(valueAt) : v.u32(valueAt);
    return value >= 1 && value <= 8 ? int(value) : 1;
}
} // namespace

int exifOrientation(const unsigned char *app1, size_t size)
{
    static const unsigned char kExif[6] = {'E', 'x', 'i', 'f', 0, 0};
    if (size < 6 || std::memcmp(app1, kExif, 6) != 0)
        return 1;
    TiffView v{};
    uint32_t first = 0;
    if (!openTiff(app1 + 6, size - 6, v, first))
        return 1;
    int orientation = 1;
    eachEntry(v, first, [&](uint16_t tag, uint16_t type, uint32_t count, size_t valueAt) {
        if (tag == kOrientationTag)
            orientation = orientationValue(v, type, count, valueAt);
    });
    return orientation;
}

TiffFileTags tiffFileTags(const QByteArray &file)
{
    TiffFileTags tags;
    TiffView v{};
    uint32_t first = 0;
    if (!openTiff(reinterpret_cast<const unsigned char *>(file.constData()), size_t(file.size()), v, first))
        return tags;
    eachEntry(v, first, [&](uint16_t tag, uint16_t type, uint32_t count, size_t valueAt) {
        if (tag == kOrientationTag)
            tags.orientation = orientationValue(v, type, count, valueAt);
        else if (tag == kIccTag && (type == kUndefined || type == kByte) && count > 4 && count <= kMaxProfileBytes) {
            const uint32_t offset = v.u32(valueAt);
            if (v.has(offset, count))
                tags.iccProfile = QByteArray(file.constData() + offset, qsizetype(count));
        }
    });
    return tags;
}

namespace {
uint32_t be32(const unsigned char *p)
{
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

// zlib data inflated up to kMaxProfileBytes; empty when damaged or larger.
QByteArray inflateBounded(const unsigned char *data, size_t size)
{
    z_stream z{};
    if (inflateInit(&z) != Z_OK)
        return {};
    QByteArray out;
    z.next_in = const_cast<unsigned char *>(data);
    z.avail_in = uInt(size);
    int rc = Z_OK;
    while (rc == Z_OK) {
        if (out.size() >= qsizetype(kMaxProfileBytes)) {
            rc = Z_BUF_ERROR;
            break;
        }
        const qsizetype done = out.size();
        out.resize(std::min<qsizetype>(done + 65536, kMaxProfileBytes));
        z.next_out = reinterpret_cast<unsigned char *>(out.data()) + done;
        z.avail_out = uInt(out.size() - done);
        rc = inflate(&z, Z_NO_FLUSH);
        out.resize(out.size() - qsizetype(z.avail_out));
        if (rc == Z_BUF_ERROR && z.avail_in == 0)
            break; // the data ended before the stream did
    }
    inflateEnd(&z);
    return rc == Z_STREAM_END ? out : QByteArray();
}
} // namespace

QByteArray pngIccProfile(const QByteArray &file)
{
    const auto *d = reinterpret_cast<const unsigned char *>(file.constData());
    const size_t size = size_t(file.size());
    static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (size < 8 || std::memcmp(d, kSignature, 8) != 0)
        return {};
    // The profile stands before the first IDAT; chunks are walked up to there.
    for (size_t pos = 8; pos + 8 <= size;) {
        const uint32_t length = be32(d + pos);
        const unsigned char *type = d + pos + 4;
        if (length > size - pos - 8)
            return {};
        if (std::memcmp(type, "IDAT", 4) == 0 || std::memcmp(type, "IEND", 4) == 0)
            return {};
        if (std::memcmp(type, "iCCP", 4) == 0) {
            // A name of 1 to 79 bytes, a zero, the compression method (0), then zlib data.
            const unsigned char *body = d + pos + 8;
            const auto *zero = static_cast<const unsigned char *>(std::memchr(body, 0, std::min<size_t>(length, 80)));
            if (!zero || zero == body || size_t(zero - body) + 2 > length || zero[1] != 0)
                return {};
            const size_t start = size_t(zero - body) + 2;
            return inflateBounded(body + start, length - start);
        }
        pos += size_t(length) + 12;
    }
    return {};
}

} // namespace vermeo::formats
