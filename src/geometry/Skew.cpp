#include "Skew.h"

#include "Canvas.h"
#include "Error.h"
#include "PixelRows.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace vermeo::geometry {

namespace {
constexpr int kColumnBlock = 64;
} // namespace

int skewExtent(int lines, int angle)
{
    const double slope = double(angle) / 45.0;
    return int(std::nearbyint(slope * double(lines)));
}

std::vector<int> skewOffsets(int lines, int angle, bool growing)
{
    const int extent = skewExtent(lines, angle);
    const double step = 45.0 / double(angle);
    double threshold = step;
    int o = growing ? 0 : extent;
    std::vector<int> offsets(size_t(std::max(lines, 0)));
    for (int n = 0; n < lines; ++n) {
        offsets[size_t(n)] = o;
        if (n > threshold) {
            o += growing ? 1 : -1;
            threshold += step;
        }
        o = growing ? std::min(o, extent) : std::max(o, 0);
    }
    return offsets;
}

SkewResult skewImage(const QImage &srcIn, int angle, SkewDirection direction, Progress &progress)
{
    if (angle < 1 || angle > 45)
        throw VermeoError(QStringLiteral("L'inclinaison doit valoir de 1 à 45 degrés, pas %1.").arg(angle));
    const QImage src = toWorkingImage(srcIn);
    const int w = src.width(), h = src.height();
    const bool horizontal = direction == skewLeft || direction == skewRight;
    const bool growing = direction == skewLeft || direction == skewUp;
    const int extent = skewExtent(horizontal ? h : w, angle);
    const long long ow = horizontal ? (long long)w + extent : w;
    const long long oh = horizontal ? h : (long long)h + extent;
    if (!isHoldableSize(ow, oh))
        throw VermeoError(QStringLiteral("Taille d'image impossible : %1 x %2.").arg(ow).arg(oh));
    SkewResult r;
    r.image = newWorkingImage(int(ow), int(oh), 0xFFFFFFFFu);
    const std::vector<int> offsets = skewOffsets(horizontal ? h : w, angle, growing);
    const auto in = rowsOf(src);
    const auto out = rowsOf(r.image);
    if (horizontal) {
        for (int y = 0; y < h; ++y) {
            progress.setPosition(int((long long)y * 100 / h));
            std::memcpy(out[y] + offsets[size_t(y)], in[y], size_t(w) * sizeof(QRgb));
        }
    } else {
        // Columns a block at a time, so each source row is read along its length.
        for (int x0 = 0; x0 < w; x0 += kColumnBlock) {
            const int x1 = std::min(w, x0 + kColumnBlock);
            for (int x = x0; x < x1; ++x)
                progress.setPosition(int((long long)x * 100 / w));
            for (int y = 0; y < h; ++y)
                for (int x = x0; x < x1; ++x)
                    out[offsets[size_t(x)] + y][x] = in[y][x];
        }
    }
    const int W = int(ow), H = int(oh);
    switch (direction) {
    case skewLeft: r.corner = QPoint(W - 2, 2); break;
    case skewRight: r.corner = QPoint(W - 2, H - 2); break;
    case skewUp: r.corner = QPoint(2, H - 2); break;
    case skewDown: r.corner = QPoint(W - 2, H - 2); break;
    }
    return r;
}

void fillSkewCorner(QImage &img, QPoint corner, TColour brushColour, int brushStyle)
{
    Canvas c(&img);
    c.setBrushColour(brushColour);
    c.setBrushStyle(brushStyle);
    c.FloodFill(corner.x(), corner.y());
}

} // namespace vermeo::geometry
