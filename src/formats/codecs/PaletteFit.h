#pragma once
// What the screen shows is what the file holds. A palette picture whose pixels left its
// palette gets the new colours in entries no pixel uses (the entries in use keep their
// index and value); when they are too many for its depth, the caller chooses: true
// colour, or only the new colours replaced by the nearest entries. Untouched pixels
// never change.
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

// What becomes of a palette picture whose colours no longer fit its palette.
enum class PaletteChoice {
    TrueColour, // written in 24 bits, every pixel as it is
    ReduceNew,  // the palette stays; new colours take the nearest entries
};

// Whether the colours of a palette picture (depth 1, 4 or 8) are more than its palette
// can hold, with depth grown to capacity bits at most (GIF holds 8 whatever the depth).
bool paletteOverflows(const Picture &pic, int capacity = 0);

// A picture whose every pixel is a colour of its palette (of 2^depth entries), by the
// rule above; a depth of 24 when the colours overflow and choice is TrueColour. Other
// pictures come back as they are.
Picture fitPalette(const Picture &pic, PaletteChoice choice = PaletteChoice::TrueColour, int capacity = 0);

// A picture of at most maxColours colours, with a palette of them: the picture itself
// when it has that few, else its reduction (declared depth 8).
Picture reduceTo(const Picture &pic, int maxColours);

} // namespace vermeo::formats
