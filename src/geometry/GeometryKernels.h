#pragma once
// Whole-picture geometry: stretch, frame and mirrors (canvas enlargement and crop are
// the core's, as the clipboard crops too).
// Pure functions on RGB32 pictures; a bad size throws VermeoError with a French
// message before anything is allocated.
#include "ColourValue.h"
#include "Crop.h"

#include <QImage>
#include <QPoint>
#include <QRect>

namespace vermeo::geometry {

// Nearest-neighbour stretch to w x h: rows and columns are repeated or dropped,
// the same mapping as the drawing surface's StretchDraw.
QImage stretchImage(const QImage &src, int w, int h);

// A rectangle outline round the whole picture with a pen of the given width, centred
// on the picture's edge, so about half of it lies inside.
void drawFrame(QImage &img, int thickness, TColour colour);

// Upside down (about the horizontal axis) and left to right (about the vertical axis).
QImage mirrorHorizontal(const QImage &src);
QImage mirrorVertical(const QImage &src);

} // namespace vermeo::geometry
