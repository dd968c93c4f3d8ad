#pragma once
// "Mosaïque": a picture covered with unscaled copies of a tile, row after row.
#include "Canvas.h"

#include <QImage>
#include <QPoint>
#include <QSize>

namespace vermeo::geometry {

// The positions the tiling loop draws the tile at, in order: along a row until x has
// passed the picture's width (so a tile as wide as the picture is also placed at
// x = width, off the picture), then the next row, until y has passed the height.
template <class Visit>
void forEachTilePosition(QSize picture, QSize tile, Visit visit)
{
    if (tile.width() < 1 || tile.height() < 1)
        return;
    int x = 0, y = 0;
    do {
        visit(QPoint(x, y));
        x += tile.width();
        if (x > picture.width()) {
            x = 0;
            y += tile.height();
        }
    } while (!(y > picture.height()));
}

// Draws tile at every position on the canvas's picture, with the canvas's copy mode.
void tilePicture(Canvas &canvas, const QImage &tile);

} // namespace vermeo::geometry
