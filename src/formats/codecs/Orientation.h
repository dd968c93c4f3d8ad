#pragma once
// A photo turned upright by its EXIF orientation (1 to 8), through the program's own
// quarter turns and mirrors, so that the result is the exact permutation the "Image"
// commands would give.
#include <QImage>

namespace vermeo::formats {

// The picture as it is meant to be seen; orientation 1 (or any value outside 1..8)
// returns it unchanged.
QImage uprightImage(const QImage &stored, int orientation);

} // namespace vermeo::formats
