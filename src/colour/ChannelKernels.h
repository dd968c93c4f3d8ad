#pragma once
// Channel operations: per-channel offsets, permutations, exact colour replacement,
// greyscale, negative and the two-colour black-and-white picture.
#include "ColourValue.h"
#include "CommandParameter.h"
#include "Picture.h"
#include "Progress.h"

#include <QImage>
#include <QString>

namespace vermeo::colour {

// r' = r + Pr, g' = g + Pg, b' = b + Pb.
QImage balance(const QImage &src, int red, int green, int blue, Progress &progress);

// Orders 1..6: "RVB", "BRV", "BVR", "VBR", "RBV", "VRB", each naming the sources of
// the new red, green and blue.
QString permutationName(int order);
int permutationFromName(const QString &name); // 0 when unknown
// The order of "Permuter RBV", as its radio buttons list them (order 1 first).
inline constexpr CommandParameter kPermutation{
    CommandParameter::Choice,
    "RVB|BRV|BVR|VBR|RBV|VRB",
    "La permutation",
    0,
    0,
    0,
    "RadioButton1|RadioButton2|RadioButton3|RadioButton4|RadioButton5|RadioButton6"};
QImage permute(const QImage &src, int order, Progress &progress);

// Rewrites, in place, every pixel whose colour value is exactly `from`.
// Returns the area that changed.
QRect replaceColour(QImage &img, TColour from, TColour to, Progress &progress);

// m = (r + g + b) div 3 in all three channels.
QImage greyscale(const QImage &src, Progress &progress);

// Each channel c becomes 255 - c.
QImage invert(const QImage &src);

// White where the plain mean of the channels is 128 or more, black elsewhere;
// declared 1 bit deep with the palette black, white.
Picture monochrome(const QImage &src);

} // namespace vermeo::colour
