#pragma once
// WebP through libwebp: read (lossy, lossless, the first frame of an animation, an ICC
// profile converted to sRGB, transparency laid on white) and written, lossy at quality
// 90 or lossless. libwebp codes a picture whole, so neither side works by bands; the
// written bytes still go straight to the sink.
#include "FileAccess.h"
#include "Picture.h"

#include <QByteArray>

namespace vermeo::formats {

// WebP's own bound on either side.
constexpr int kMaxWebpSide = 16383;

Picture decodeWebp(const QByteArray &data);
// Whether the file is a lossless WebP, so that saving it again keeps it so.
bool isLosslessWebp(const QByteArray &data);
void writeWebp(const Picture &pic, ByteSink &sink, bool lossless);
QByteArray encodeWebp(const Picture &pic, bool lossless);

} // namespace vermeo::formats
