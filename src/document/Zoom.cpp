#include "Zoom.h"
#include "PixelRows.h"

#include "GeometryKernels.h"

#include <algorithm>
#include <vector>

namespace vermeo::zoom {

namespace {

constexpr int kMaxZoomInWidth = 800;
constexpr int kMinZoomOutWidth = 256;

// The kept pictures only describe the current picture while it is zoomed and still
// of the size last shown; anything else (level 0, or a command that replaced the
// picture) means the picture itself is the actual-size picture.
bool keptValid(const ImageDocument &doc)
{
    return doc.ZoomLevel != 0 && !doc.ZoomBase.isNull() && doc.ZoomShown.size() == doc.image().size() &&
           doc.ZoomBase.size() == QSize(doc.BaseWidth, doc.BaseHeight);
}

// The kept actual-size picture with everything painted since the last zoom step
// carried over: a base pixel takes the zoomed pixel it maps to, where that one changed.
QImage mergedBase(const ImageDocument &doc)
{
    QImage base = doc.ZoomBase.copy();
    const QImage &cur = doc.image();
    const QImage &shown = doc.ZoomShown;
    const int bw = base.width(), bh = base.height(), zw = cur.width(), zh = cur.height();
    std::vector<int> colMap(static_cast<size_t>(bw));
    for (int x = 0; x < bw; ++x)
        colMap[size_t(x)] = int((long long)x * zw / bw);
    for (int y = 0; y < bh; ++y) {
        const int sy = int((long long)y * zh / bh);
        const QRgb *c = rowOf(cur, sy);
        const QRgb *s = rowOf(shown, sy);
        QRgb *b = rowOf(base, y);
        for (int x = 0; x < bw; ++x) {
            const int sx = colMap[size_t(x)];
            if (c[sx] != s[sx])
                b[x] = c[sx];
        }
    }
    return base;
}

void showImage(ImageDocument &doc, const QImage &img)
{
    Picture p = doc.picture();
    p.image = img;
    doc.assignPicture(p);
}

// Rescales to the new level's size, always from the actual-size picture.
void rescaleTo(ImageDocument &doc, DocumentHost &host, int level)
{
    const QImage base = actualSizeImage(doc);
    const int keepLevel = doc.ZoomLevel;
    doc.ZoomLevel = level;
    const QSize size = levelSize(doc, level);
    QImage next;
    try {
        next = size == base.size() ? base : geometry::stretchImage(base, size.width(), size.height());
    } catch (...) {
        doc.ZoomLevel = keepLevel;
        throw;
    }
    if (level == 0) {
        doc.ZoomBase = QImage();
        doc.ZoomShown = QImage();
    } else {
        doc.ZoomBase = base;
        doc.ZoomShown = next;
    }
    showImage(doc, next);
    host.fitWindow();
}

} // namespace

QSize levelSize(const ImageDocument &doc, int level)
{
    int w = doc.BaseWidth, h = doc.BaseHeight;
    if (level > 1) {
        w *= level;
        h *= level;
    } else if (level < -1) {
        w /= -level;
        h /= -level;
    }
    // A very flat picture would divide down to nothing.
    return {std::max(w, 1), std::max(h, 1)};
}

QImage actualSizeImage(const ImageDocument &doc)
{
    if (keptValid(doc))
        return mergedBase(doc);
    return doc.image();
}

void ZInit(ImageDocument &doc, DocumentHost &host)
{
    rescaleTo(doc, host, 0);
}

void ZAvant(ImageDocument &doc, DocumentHost &host)
{
    // The width limit only guards enlarging: from a reduced view the way back to
    // actual size stays open, whatever the picture's width.
    if (doc.ZoomLevel > 4 || (doc.ZoomLevel >= 0 && doc.width() > kMaxZoomInWidth))
        return;
    int level = doc.ZoomLevel + 1;
    if (level == 1)
        level = 2;
    if (level == -1)
        level = 0;
    rescaleTo(doc, host, level);
}

void ZArriere(ImageDocument &doc, DocumentHost &host)
{
    // Likewise the width limit only guards reducing: an enlarged view can always
    // come back down (a 100 x 80 picture shown at 200 x 160 returns to 100 x 80).
    if ((doc.ZoomLevel <= 0 && doc.width() < kMinZoomOutWidth) || doc.ZoomLevel < -4)
        return;
    int level = doc.ZoomLevel - 1;
    if (level == -1)
        level = -2;
    if (level == 1)
        level = 0;
    rescaleTo(doc, host, level);
}

void transformKeepingZoom(ImageDocument &doc, QImage (*transform)(const QImage &))
{
    const bool kept = keptValid(doc);
    QImage base = kept ? mergedBase(doc) : QImage();
    showImage(doc, transform(doc.image()));
    if (kept) {
        doc.ZoomBase = transform(base);
        doc.ZoomShown = doc.image().copy();
    }
}

} // namespace vermeo::zoom
