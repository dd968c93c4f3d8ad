#pragma once
// What the screen shows is what the file holds: a palette picture whose pixels left its
// palette gets a palette that holds them (entries in use keep their places), or, when
// they are too many for its depth, is reduced with dithering as a palette file must be.
#include "Picture.h"

#include <QImage>
#include <QList>
#include <vector>

namespace vermeo::formats {

// The distinct colours of a picture, in the order first met; false (out incomplete)
// as soon as there are more than limit.
bool distinctColours(const QImage &img, int limit, std::vector<QRgb> &out);

// A picture reduced to at most maxColours (2..256): a palette and one index a pixel.
struct IndexedPicture {
    std::vector<uchar> pixels;
    QList<QRgb> palette;
};
IndexedPicture quantise(const QImage &img, int maxColours);

// A picture of declared depth 1, 4 or 8 whose every pixel is a colour of its palette
// (of 2^depth entries); other pictures come back as they are.
Picture fitPalette(const Picture &pic);

// A picture of at most maxColours colours, with a palette of them: the picture itself
// when it has that few, else its reduction (declared depth 8).
Picture reduceTo(const Picture &pic, int maxColours);

} // namespace vermeo::formats
