#pragma once
// What a photo says about how to show it, read from its own bytes: the EXIF orientation
// (JPEG's APP1, a TIFF file's first directory) and the embedded ICC profile (a TIFF
// file's tag, PNG's iCCP chunk). A few bounded reads of a TIFF directory rather than a
// whole EXIF library: we need two tags, and maker notes are where EXIF parsers break.
// Damaged metadata is ignored, as every viewer does: the pixels still open.
#include <QByteArray>
#include <cstddef>

namespace vermeo::formats {

// EXIF orientation 1..8 of an APP1 payload ("Exif\0\0" then a TIFF structure); 1 when
// absent or out of range. Allocates nothing (the JPEG decoder calls it between setjmp
// and longjmp).
int exifOrientation(const unsigned char *app1, size_t size);

struct TiffFileTags {
    int orientation = 1;
    QByteArray iccProfile;
};
// The orientation and ICC profile of a TIFF file's first picture.
TiffFileTags tiffFileTags(const QByteArray &file);

// The ICC profile a PNG file embeds (iCCP, inflated), empty when none or damaged.
QByteArray pngIccProfile(const QByteArray &file);

} // namespace vermeo::formats
