#include "ScreenCapture.h"

#include "PixelRows.h"

#include <QPainter>

namespace vermeo::acquire {

QImage composeCapture(const QImage &screenBlock)
{
    QImage picture = newWorkingImage(kCaptureWidth, kCaptureHeight, qRgb(255, 255, 255));
    if (!screenBlock.isNull()) {
        // Pixel for pixel, also from a screen with a device pixel ratio.
        QImage block = screenBlock;
        block.setDevicePixelRatio(1);
        block = toWorkingImage(block);
        QPainter p(&picture);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(QPoint(0, 0), block,
                    QRect(0, 0, std::min(block.width(), kCaptureWidth), std::min(block.height(), kCaptureHeight)));
    }
    return picture;
}

} // namespace vermeo::acquire
