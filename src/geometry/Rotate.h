#pragma once
// Rotation by any angle in degrees: the picture grows to hold the turned rectangle,
// the corners take the background colour, and each result pixel takes its nearest
// source pixel (inverse mapping). Positive angles turn anticlockwise on screen.
// Quarter and half turns are exact permutations of the pixels.
#include "Progress.h"

#include <QImage>
#include <QSize>

namespace vermeo::geometry {

// The angle brought into [0, 360).
double reducedAngle(double degrees);

// The size of the result of turning a w x h picture by degrees.
QSize rotatedSize(int w, int h, double degrees);

// src turned by degrees on a background of the colour background (QRgb). Throws
// VermeoError when the result is no size we hold.
QImage rotateImage(const QImage &src, QRgb background, double degrees, Progress &progress);

// The background of "Rotation": the colour of picture pixel (1, 1), white when the
// picture has no such pixel.
QRgb rotationBackground(const QImage &picture);
// The angle of a choice of "Rotation": 1 "90° gauche" 90, 2 "90° droite" 270,
// 3 "180°" 180, otherwise ("Autre") the typed angle.
double rotationAngle(int choice, int typed);

} // namespace vermeo::geometry
