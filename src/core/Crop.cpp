#include "Crop.h"

#include "Error.h"
#include "Parallel.h"
#include "PixelRows.h"

#include <algorithm>
#include <cstring>

namespace vermeo {

QImage enlargeCanvas(const QImage &srcIn, int w, int h, QPoint offset)
{
    const QImage src = toWorkingImage(srcIn);
    QImage dst = newWorkingImage(w, h);
    const QRect target = QRect(offset, src.size()).intersected(dst.rect());
    const auto in = rowsOf(src);
    const auto out = rowsOf(dst);
    // Each row once: white around the picture, the picture's pixels inside.
    forBandsInParallel(h, 64, [&](int y0, int y1) {
        for (int y = y0; y < y1; ++y) {
            QRgb *d = out[y];
            if (y < target.top() || y > target.bottom() || target.isEmpty()) {
                std::fill_n(d, w, 0xFFFFFFFFu);
                continue;
            }
            std::fill_n(d, target.left(), 0xFFFFFFFFu);
            std::memcpy(d + target.left(), in[y - offset.y()] + (target.left() - offset.x()),
                        size_t(target.width()) * sizeof(QRgb));
            std::fill(d + target.right() + 1, d + w, 0xFFFFFFFFu);
        }
    });
    return dst;
}

QImage cropImage(const QImage &srcIn, const QRect &r)
{
    const QRect n = r.normalized();
    if (n.width() < 1 || n.height() < 1)
        throw VermeoError(QStringLiteral("La sélection est vide."));
    // Same as drawing the picture into a white bitmap of the area's size.
    return enlargeCanvas(srcIn, n.width(), n.height(), -n.topLeft());
}

} // namespace vermeo
