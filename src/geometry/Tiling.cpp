#include "Tiling.h"

#include "PixelRows.h"

#include <algorithm>

namespace vermeo::geometry {

void tilePicture(Canvas &canvas, const QImage &tileIn)
{
    if (!canvas.target() || tileIn.isNull())
        return;
    const QImage tile = toWorkingImage(tileIn);
    const QSize picture(canvas.width(), canvas.height());
    // Tiles never overlap, so one row of them, put together once, is drawn at each
    // row's position: the same pixels as a draw per tile, and a one-pixel tile on a
    // large picture costs rows, not pixels. The row is cut to what the picture shows.
    const int bandHeight = std::min(tile.height(), picture.height());
    QImage band;
    int bandWidth = 0;
    forEachTilePosition(picture, tile.size(), [&](QPoint p) {
        if (p.y() == 0)
            bandWidth = std::min(p.x() + tile.width(), picture.width());
    });
    band = newWorkingImage(std::max(bandWidth, 1), std::max(bandHeight, 1));
    Canvas bandCanvas(&band);
    forEachTilePosition(picture, tile.size(), [&](QPoint p) {
        if (p.y() == 0)
            bandCanvas.Draw(p.x(), 0, tile);
    });
    forEachTilePosition(picture, tile.size(), [&](QPoint p) {
        if (p.x() == 0)
            canvas.Draw(0, p.y(), band);
    });
}

} // namespace vermeo::geometry
