#pragma once
// The shadow cast beside dark pixels and the 50-band gradient fills.
#include "Canvas.h"
#include "Progress.h"

#include <QImage>

namespace vermeo::colour {

enum ShadowSide { Gauche = 1, Droite = 2, Haut = 3, Bas = 4 };

// A copy of the source with L black pixels beside every dark pixel (r + g + b < 90)
// on the given side, when the whole shadow fits in the picture. Darkness is always
// judged on the source, so shadows cast no shadows.
QImage shadow(const QImage &src, int length, int side, Progress &progress);

// Paints 50 bands from colour `start`, stepping the whole colour value by +5
// (type 1) or -5 (type 2) per band: top to bottom when `leftToRight` is false.
// The last row and column stay as they were. Leaves pen mode copy and the pen and
// brush colours at the last band's colour, as the fills do. Out-of-range colour
// values are clamped to $000000..$FFFFFF.
void gradient(Canvas &canvas, TColour start, int type, bool leftToRight);

// The colour of band k (0..49), as it is painted.
TColour gradientBand(TColour start, int type, int k);

} // namespace vermeo::colour
