#pragma once
// A part of a picture, or a picture placed on a larger white one: what cropping, the
// clipboard's copy and the canvas enlargement share. RGB32 in and out; an empty area
// throws VermeoError.
#include <QImage>
#include <QPoint>
#include <QRect>

namespace vermeo {

// A white picture of w x h with src drawn unscaled at offset (parts outside are cut).
QImage enlargeCanvas(const QImage &src, int w, int h, QPoint offset);

// The area r of src (normalised, right and bottom edge excluded as QRect gives them);
// the part of r outside the picture reads as white.
QImage cropImage(const QImage &src, const QRect &r);

} // namespace vermeo
