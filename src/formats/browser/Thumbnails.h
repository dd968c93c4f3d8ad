#pragma once
// Pictures for the thumbnail page: read at a reduced size where the format allows it,
// and placed in their cell by the page's fitting rule.
#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

namespace vermeo::formats {

struct Thumbnail {
    QImage image;   // possibly reduced, never below the area on both sides when the picture covers it
    QSize fullSize; // the picture's own size
};

// Reads a picture for a cell whose picture area is `area`. JPEG is decoded and metafiles
// rendered at a reduced size; BMP and PCX are read a band at a time keeping only the rows and columns needed;
// other formats go through the general picture reader. Throws VermeoError naming the file.
Thumbnail readThumbnail(const QString &fileName, QSize area);

// Where a picture of size `picture` stands in a cell panel of size `panel` (Echelle):
// the view's rectangle in the panel and whether the picture is scaled into it. A picture
// larger than the area either way is shown whole and keeps its shape; the file name's
// line under the area stays clear.
struct CellFit {
    QRect view;
    bool stretch = false;
};
CellFit fitInCell(QSize picture, QSize panel);

} // namespace vermeo::formats
