#include "Zoom.h"
#include "Figures.h"

namespace vermeo::zoom {

namespace {

constexpr int kMaxZoomInWidth = 800;
constexpr int kMinZoomOutWidth = 256;

QPoint scaled(QPoint p, QSize from, QSize to)
{
    return QPoint(int((long long)p.x() * to.width() / from.width()),
                  int((long long)p.y() * to.height() / from.height()));
}

void showLevel(ImageDocument &doc, DocumentHost &host, int level)
{
    const QSize before = doc.viewSize();
    doc.setZoomLevel(level);
    // A selection shown stays on the same part of the picture.
    const QSize after = doc.viewSize();
    if ((doc.RectSelected || doc.OvalSelected) && before != after)
        changeMarks(doc, [&] {
            doc.SelRect =
                QRect(scaled(doc.SelRect.topLeft(), before, after), scaled(doc.SelRect.bottomRight(), before, after));
        });
    host.fitWindow();
}

} // namespace

void ZInit(ImageDocument &doc, DocumentHost &host) { showLevel(doc, host, 0); }

QString zoomCaption(int level)
{
    if (level < 0)
        return QStringLiteral("Zoom : 1/%1").arg(-level);
    return QStringLiteral("Zoom : %1x").arg(level == 0 ? 1 : level);
}

void ZAvant(ImageDocument &doc, DocumentHost &host)
{
    // The width limit only guards enlarging: from a reduced view the way back to
    // actual size stays open, whatever the picture's width.
    const int level0 = doc.zoomLevel();
    if (level0 > 4 || (level0 >= 0 && doc.viewWidth() > kMaxZoomInWidth))
        return;
    int level = level0 + 1;
    if (level == 1)
        level = 2;
    if (level == -1)
        level = 0;
    showLevel(doc, host, level);
}

void ZArriere(ImageDocument &doc, DocumentHost &host)
{
    // Likewise the width limit only guards reducing: an enlarged view can always
    // come back down (a 100 x 80 picture shown at 200 x 160 returns to 100 x 80).
    const int level0 = doc.zoomLevel();
    if ((level0 <= 0 && doc.viewWidth() < kMinZoomOutWidth) || level0 < -4)
        return;
    int level = level0 - 1;
    if (level == -1)
        level = -2;
    if (level == 1)
        level = 0;
    showLevel(doc, host, level);
}

} // namespace vermeo::zoom
