#pragma once
// The skew ("Inclinaison"): rows (or columns) shift one pixel further every 45 / angle
// lines, so the picture becomes a parallelogram in a larger white rectangle; then the
// empty corner on the side the picture leans away from is filled with a brush.
#include "ColourValue.h"
#include "CommandParameter.h"
#include "Progress.h"

#include <QImage>
#include <QPoint>
#include <vector>

namespace vermeo::geometry {

enum SkewDirection { skewLeft = 1, skewRight = 2, skewUp = 3, skewDown = 4 };

// 0 is no command.
inline constexpr CommandParameter kSkewAngle{CommandParameter::Whole, "DEGRÉS", "L'inclinaison", 0, 45, 0, "SpinEdit1"};
// In the order of SkewDirection.
inline constexpr CommandParameter kSkewSide{CommandParameter::Choice,
                                            "gauche|droite|haut|bas",
                                            "Le côté",
                                            0,
                                            0,
                                            0,
                                            "SpeedButton1|SpeedButton2|SpeedButton3|SpeedButton4"};

struct SkewResult {
    QImage image;
    QPoint corner; // where the corner fill starts
};

// src skewed by angle degrees (1..45) in direction. Progress per row (left, right) or
// per column (up, down). Throws VermeoError when the result is no size we hold.
SkewResult skewImage(const QImage &src, int angle, SkewDirection direction, Progress &progress);

// How far the skew of a picture of that many rows (left, right) or columns (up, down)
// widens it: Round(angle / 45 x lines).
int skewExtent(int lines, int angle);
// The offset at which each row (left, right) or column (up, down) lands, as the
// stepping rule moves it: growing from 0 (left, up) or shrinking from the extent.
std::vector<int> skewOffsets(int lines, int angle, bool growing);

// Flood-fills the area of the colour at corner with the brush (colour and style codes).
void fillSkewCorner(QImage &img, QPoint corner, TColour brushColour, int brushStyle);

} // namespace vermeo::geometry
