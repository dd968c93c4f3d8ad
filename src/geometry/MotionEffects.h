#pragma once
// The effects that move pixels: "Texture", the three drips and "Bougé". In place on a
// working picture (RGB32).
#include <QImage>

namespace vermeo::geometry::effects {

// "Texture": the picture shrunk (stretched) to a size x size tile, laid unscaled from
// (0, 0) until the picture is covered.
void texture(QImage &img, int size);

// The drips: for rows y from height - n - 1 up to 0, and every column x, pixel (x, y)
// is copied to (x, y + o), o being the column's offset (0 for column 0).
// "Neige fondue": after a reseed from the clock, each next column's o is Random(n),
// drawn row by row, column by column.
void meltingSnow(QImage &img, int n);
// "Bandes verticales": o = 0, 1, ..., n, 0, 1, ...
void verticalBands(QImage &img, int n);
// "Triangles": o = 0, 1, ..., n, n - 1, ..., 1, 0, 1, ...
void triangles(QImage &img, int n);
// The offsets of the two regular drips, by column.
int bandOffset(int x, int n);
int triangleOffset(int x, int n);

// "Bougé": along each row a colour is held and repeated; the row's period f and
// second period e follow from y and a (below 5 counts as 5).
void shake(QImage &img, int a);

} // namespace vermeo::geometry::effects
