#pragma once
// The declared size of a compressed picture against the bytes that must hold it: even a
// flat picture costs the modern codecs some bytes per block, and any picture up to 16
// megapixels is let through, so that only a file far too small for its size is refused,
// before the decoder allocates or spends time on it.
#include <QtGlobal>

namespace vermeo::formats {

inline bool compressedFileCouldHold(long long width, long long height, qsizetype bytes)
{
    return width * height <= (long long)bytes * 4096 + (16LL << 20);
}

} // namespace vermeo::formats
