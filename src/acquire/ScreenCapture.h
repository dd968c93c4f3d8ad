#pragma once
// The screen capture picture: a fixed 800 x 600 bitmap holding, from its top left corner,
// a block of the screen as large as the main window; what the block leaves is white.
#include <QImage>

namespace vermeo::acquire {

constexpr int kCaptureWidth = 800;
constexpr int kCaptureHeight = 600;

// screenBlock is what was grabbed from the screen's top left corner (may be null).
QImage composeCapture(const QImage &screenBlock);

} // namespace vermeo::acquire
