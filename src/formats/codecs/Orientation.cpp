#include "Orientation.h"
#include "GeometryKernels.h"
#include "Progress.h"
#include "Rotate.h"

namespace vermeo::formats {

namespace {
// Each orientation as a turn (degrees anticlockwise, as "Rotation" turns) followed by
// an optional upside-down mirror ("Miroir horizontal"), or a left-right mirror alone.
struct Upright {
    int turn;
    bool upsideDown;
    bool leftRight;
};
constexpr Upright kUpright[9] = {
    {0, false, false},   // (unused)
    {0, false, false},   // 1: as stored
    {0, false, true},    // 2: mirrored left to right
    {180, false, false}, // 3: upside down
    {0, true, false},    // 4: mirrored top to bottom
    {90, true, false},   // 5: transposed
    {270, false, false}, // 6: stored a quarter turn anticlockwise: turn it clockwise
    {270, true, false},  // 7: transverse
    {90, false, false},  // 8: stored a quarter turn clockwise
};
} // namespace

QImage uprightImage(const QImage &stored, int orientation)
{
    if (orientation < 2 || orientation > 8 || stored.isNull())
        return stored;
    const Upright &u = kUpright[orientation];
    QImage img = stored;
    if (u.turn != 0) {
        img = geometry::rotateImage(img, 0xFFFFFFFFu, u.turn, silentProgress());
    }
    if (u.upsideDown)
        img = geometry::mirrorHorizontal(img);
    if (u.leftRight)
        img = geometry::mirrorVertical(img);
    return img;
}

} // namespace vermeo::formats
