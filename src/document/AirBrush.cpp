#include "AirBrush.h"
#include "PixelRows.h"

#include <QPolygon>
#include <cmath>

namespace vermeo {

namespace {
constexpr QRgb kWhite = 0xFFFFFFFFu;
}

TAirBrush::TAirBrush() : m_shapeBitmap(m_size, m_size, QImage::Format_RGB32) { m_shapeBitmap.fill(kWhite); }

void TAirBrush::setSize(int size)
{
    if (size < 10 || size > 200 || size == m_size)
        return;
    m_size = size;
}

void TAirBrush::setIntensity(int percent)
{
    if (percent < 1 || percent > 100 || percent == m_intensity)
        return;
    m_intensity = percent;
}

void TAirBrush::buildMask()
{
    if (m_shapeBitmap.width() != m_size)
        m_shapeBitmap = QImage(m_size, m_size, QImage::Format_RGB32);
    m_shapeBitmap.fill(kWhite);
    Canvas c(&m_shapeBitmap);
    c.setPenStyle(psClear);
    c.setBrushStyle(bsSolid);
    c.setBrushColour(m_colour);
    const int w = m_size, h = m_size;
    switch (m_shape) {
    case absRound: c.Ellipse(0, 0, w, h); break;
    case absSquare: c.FillRect(QRect(0, 0, w, h)); break;
    case absLeftSlash:
        c.Polygon(QPolygon({QPoint(0, 0), QPoint(w / 4, 0), QPoint(w - 1, h - 1), QPoint(w - w / 4 - 1, h - 1)}));
        break;
    case absRightSlash:
        c.Polygon(QPolygon({QPoint(0, h - 1), QPoint(w / 4, h - 1), QPoint(w - 1, 0), QPoint(w - w / 4 - 1, 0)}));
        break;
    case absHorizontal: c.Rectangle(0, h / 4, w - 1, h - h / 4 - 1); break;
    case absVertical: c.Rectangle(w / 4, 0, w - w / 4 - 1, h - 1); break;
    }
}

void TAirBrush::Spray(Canvas &surface, int x, int y)
{
    QImage *target = surface.target();
    if (!target || target->isNull())
        return;
    buildMask();
    const int half = m_size / 2;
    const QRect square(x - half, y - half, m_size, m_size);
    const QRect area = square.intersected(target->rect());
    if (area.isEmpty())
        return;
    QImage *img = surface.beginWrite(area);
    const double k = m_intensity / 100.0;
    // Rounds half to even, as the blend is defined.
    auto blend = [k](int bg, int mask) { return int(std::nearbyint((1.0 - k) * bg + k * mask)); };
    for (int py = area.top(); py <= area.bottom(); ++py) {
        const QRgb *m = rowOf(m_shapeBitmap, py - square.top());
        QRgb *d = rowOf(*img, py);
        for (int px = area.left(); px <= area.right(); ++px) {
            const QRgb mp = m[px - square.left()] | 0xFF000000u;
            if (mp == kWhite)
                continue;
            const QRgb bp = d[px];
            const QRgb out =
                qRgb(blend(qRed(bp), qRed(mp)), blend(qGreen(bp), qGreen(mp)), blend(qBlue(bp), qBlue(mp)));
            if (out != kWhite) {
                d[px] = out;
                surface.markWritten(px, py);
            }
        }
    }
    surface.markDirty(area);
}

} // namespace vermeo
