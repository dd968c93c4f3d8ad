#pragma once
// The zoomed view of a picture. Enlargements repeat each pixel; reductions average each
// block of pixels (a box filter), so thin lines stay visible. The way back, from a view
// pixel to the picture pixels it stands for, is the nearest-neighbour mapping.
#include <QImage>
#include <QRect>

namespace vermeo {

// The view of picture at size (w, h), made on every core.
QImage scaledView(const QImage &picture, int w, int h);
// Remakes the area viewRect of view from picture.
void scaleInto(const QImage &picture, QImage &view, const QRect &viewRect);

// The picture pixels that take their value from the view area r when the view goes back
// to actual size (nearest neighbour): picture index p takes view index p * viewLen / pictureLen.
QRect pictureAreaOf(const QRect &viewArea, QSize view, QSize picture);
// The view area showing the picture area r.
QRect viewAreaOf(const QRect &pictureArea, QSize view, QSize picture);

} // namespace vermeo
