#pragma once
// The shadow cast beside dark pixels and the 50-band gradient fills.
#include "Canvas.h"
#include "CommandParameter.h"
#include "Progress.h"

#include <QImage>

namespace vermeo::colour {

enum ShadowSide { Gauche = 1, Droite = 2, Haut = 3, Bas = 4 };

inline constexpr CommandParameter kShadowLength{
    CommandParameter::Whole, "L", "La longueur de l'ombre", 1, 10, 1, "SpinEdit1"};
// In the order of ShadowSide.
inline constexpr CommandParameter kShadowSide{CommandParameter::Choice,
                                              "gauche|droite|haut|bas",
                                              "Le côté de l'ombre",
                                              0,
                                              0,
                                              0,
                                              "RadioButton1|RadioButton2|RadioButton3|RadioButton4"};
// 1 steps from dark to light, 2 from light to dark.
inline constexpr CommandParameter kGradientType{CommandParameter::Whole, "1|2", "Le type de dégradé", 1, 2, 1};

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
