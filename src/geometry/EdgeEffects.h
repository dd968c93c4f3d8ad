#pragma once
// The effects that compare a pixel with its neighbours: "Noir", "Flou" and the four
// shadows. In place on a working picture (RGB32).
#include <QImage>
#include <cstdint>
#include <vector>

namespace vermeo::geometry::effects {

// The 8-bit reduction "Noir" compares: the nearest colour of the 6 x 6 x 6 cube
// (levels 0, 51, ..., 255), no dithering, so a flat area keeps one index.
int cubeIndex(QRgb q);

// "Noir": black outlines where the reduced colour changes, `passes` times. Rows 0 ..
// height - 2, columns 0 .. width - 3: where (x + 1, y) or (x, y + 1) differs from
// (x, y), the pixel blackened is the neighbour when (x, y) has the first colour met,
// else (x, y).
void blackOutline(QImage &img, int passes);

// "Flou": each channel of (x, y) := ((255 - channel of (x + 3, y + 1)) + channel of
// (x, y)) div 2, rows 0 .. height - 2, columns 0 .. width - 4.
void relief(QImage &img);

// The four shadows: pixel p takes its neighbour q four pixels away on the diagonal,
// with 1 added to each byte (mod 256), when q's blue is smaller than p's.
enum class ShadowSide { SouthEast, SouthWest, NorthEast, NorthWest };
void shadow(QImage &img, ShadowSide side);

} // namespace vermeo::geometry::effects
