#pragma once
// The recovery journal of one picture: what is needed to bring it back after a crash
// (pixels, size, depth, palette, file name, caption, time of the last change). One
// file a picture, little-endian:
//   "VERMJRNL", version, metadata length and CRC-32, pixel CRC-32 and length,
//   the metadata, then the rows in bands, each a length and a zlib stream.
// Reading checks every length against the file and both checksums before it
// allocates the picture, so a damaged or foreign file is refused with a reason.
#include "Picture.h"

#include <QDateTime>
#include <QString>
#include <functional>

namespace vermeo {

struct JournalInfo {
    QString title;    // the window's caption ("Image4", "plan.pcx")
    QString fileName; // full path; empty for a picture never saved
    int width = 0, height = 0;
    int depth = 24;
    QList<QRgb> palette;
    QDateTime lastChange; // UTC
};

namespace journal {

constexpr int kBandRows = 32;
constexpr int kVersion = 1;

// Writes a journal to an open file descriptor, from the start: info's size must be the
// picture's. rows(y) gives row y (width QRgb); cancelled() is asked between bands, and
// a true answer stops the write (returns false). Throws VermeoError on a write failure.
bool write(int fd, const JournalInfo &info, const std::function<const QRgb *(int y)> &rows,
           const std::function<bool()> &cancelled = {});

// The metadata alone, checked (for the list of pictures to bring back).
JournalInfo readInfo(const QString &path);
// The whole journal, checked; the picture has the journal's size, depth and palette.
Picture read(const QString &path, JournalInfo *info = nullptr);

} // namespace journal
} // namespace vermeo
