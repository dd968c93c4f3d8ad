#include "UndoRecord.h"
#include "PixelRows.h"

#include <cstring>

namespace vermeo {

void UndoRecord::open(const Picture &current, int zoomLevel)
{
    m_open = true;
    m_whole = false;
    m_picture = Picture{QImage(), current.depth, current.palette};
    m_zoomLevel = zoomLevel;
    m_size = current.image.size();
    m_cols = (m_size.width() + kTile - 1) / kTile;
    m_rows = (m_size.height() + kTile - 1) / kTile;
    m_tiles.clear();
    m_keptTiles = 0;
}

QRect UndoRecord::tileRect(int tx, int ty) const
{
    return QRect(tx * kTile, ty * kTile, kTile, kTile).intersected(QRect(QPoint(0, 0), m_size));
}

void UndoRecord::keep(const QImage &current, const QRect &area)
{
    if (!m_open || m_whole || current.size() != m_size)
        return;
    const QRect a = area.intersected(current.rect());
    if (a.isEmpty())
        return;
    if (m_tiles.empty())
        m_tiles.resize(size_t(m_cols) * size_t(m_rows));
    for (int ty = a.top() / kTile; ty <= a.bottom() / kTile; ++ty)
        for (int tx = a.left() / kTile; tx <= a.right() / kTile; ++tx) {
            QImage &t = m_tiles[size_t(tileIndex(tx, ty))];
            if (t.isNull()) {
                t = current.copy(tileRect(tx, ty));
                ++m_keptTiles;
            }
        }
}

void UndoRecord::keepWhole(const Picture &current)
{
    if (!m_open || m_whole)
        return;
    Picture old = current;
    if (m_keptTiles > 0) {
        // Part of it was already changed since the record opened: put the kept tiles back
        // into a copy, which is then the whole old picture.
        old.image = current.image.copy();
        int dummy = 0;
        restore(old, dummy);
    }
    old.depth = m_picture.depth;
    old.palette = m_picture.palette;
    m_picture = old;
    m_whole = true;
    m_tiles.clear();
    m_keptTiles = 0;
}

void UndoRecord::restore(Picture &current, int &zoomLevel) const
{
    if (!m_open)
        return;
    zoomLevel = m_zoomLevel;
    if (m_whole) {
        current = m_picture;
        return;
    }
    current.depth = m_picture.depth;
    current.palette = m_picture.palette;
    if (m_tiles.empty() || current.image.size() != m_size)
        return;
    const auto rows = rowsOf(current.image);
    for (int ty = 0; ty < m_rows; ++ty)
        for (int tx = 0; tx < m_cols; ++tx) {
            const QImage &t = m_tiles[size_t(tileIndex(tx, ty))];
            if (t.isNull())
                continue;
            const QRect r = tileRect(tx, ty);
            for (int y = 0; y < r.height(); ++y)
                std::memcpy(rows[r.top() + y] + r.left(), rowOf(t, y), size_t(r.width()) * sizeof(QRgb));
        }
}

Picture UndoRecord::restored(const Picture &current) const
{
    Picture p = current;
    if (!m_whole && m_keptTiles > 0)
        p.image = current.image.copy();
    int level = 0;
    restore(p, level);
    return p;
}

long long UndoRecord::keptBytes() const
{
    if (m_whole)
        return m_picture.image.sizeInBytes();
    return (long long)m_keptTiles * kTile * kTile * 4;
}

} // namespace vermeo
