#include "UndoRecord.h"
#include "PixelRows.h"

#include <algorithm>
#include <cstring>

namespace vermeo {

void UndoRecord::open(const Picture &current, int zoomLevel)
{
    m_open = true;
    m_whole = false;
    m_picture = Picture{QImage(), current.depth, current.palette, current.resolution};
    m_zoomLevel = zoomLevel;
    m_size = current.image.size();
    m_cols = (m_size.width() + kTile - 1) / kTile;
    m_rows = (m_size.height() + kTile - 1) / kTile;
    m_tiles.clear();
    m_keptBits.assign((size_t(m_cols) * size_t(m_rows) + 63) / 64, 0);
}

QRect UndoRecord::tileRect(int index) const
{
    const int tx = index % m_cols, ty = index / m_cols;
    return QRect(tx * kTile, ty * kTile, kTile, kTile).intersected(QRect(QPoint(0, 0), m_size));
}

void UndoRecord::keep(const QImage &current, const QRect &area)
{
    if (!m_open || m_whole || current.size() != m_size)
        return;
    const QRect a = area.intersected(current.rect());
    if (a.isEmpty())
        return;
    for (int ty = a.top() / kTile; ty <= a.bottom() / kTile; ++ty)
        for (int tx = a.left() / kTile; tx <= a.right() / kTile; ++tx) {
            const int index = tileIndex(tx, ty);
            if (isKept(index))
                continue;
            m_keptBits[size_t(index) / 64] |= quint64(1) << (index % 64);
            m_tiles.emplace_back(index, current.copy(tileRect(index)));
        }
}

void UndoRecord::keepWhole(const Picture &current)
{
    if (!m_open || m_whole)
        return;
    Picture old = current;
    if (!m_tiles.empty()) {
        // Part of it was already changed since the record opened: put the kept tiles back
        // into a copy, which is then the whole old picture.
        old.image = current.image.copy();
        int level = 0;
        restore(old, level);
    }
    old.depth = m_picture.depth;
    old.palette = m_picture.palette;
    m_picture = old;
    m_whole = true;
    m_tiles.clear();
}

QRect UndoRecord::restore(Picture &current, int &zoomLevel) const
{
    if (!m_open)
        return {};
    zoomLevel = m_zoomLevel;
    if (m_whole) {
        current = m_picture;
        return current.image.rect();
    }
    current.depth = m_picture.depth;
    current.palette = m_picture.palette;
    if (m_tiles.empty() || current.image.size() != m_size)
        return {};
    const auto rows = rowsOf(current.image);
    QRect changed;
    for (const auto &[index, tile] : m_tiles) {
        const QRect r = tileRect(index);
        for (int y = 0; y < r.height(); ++y)
            std::memcpy(rows[r.top() + y] + r.left(), rowOf(tile, y), size_t(r.width()) * sizeof(QRgb));
        changed |= r;
    }
    return changed;
}

Picture UndoRecord::restored(const Picture &current) const
{
    Picture p = current;
    if (!m_whole && !m_tiles.empty())
        p.image = current.image.copy();
    int level = 0;
    restore(p, level);
    return p;
}

bool UndoRecord::changesPicture(const Picture &current) const
{
    if (!m_open)
        return false;
    return m_whole || !m_tiles.empty() || current.depth != m_picture.depth || current.palette != m_picture.palette;
}

bool UndoRecord::holdsChange(const Picture &current, int zoomLevel) const
{
    return m_open && (zoomLevel != m_zoomLevel || changesPicture(current));
}

QRect UndoRecord::swap(Picture &current, int &zoomLevel)
{
    if (!m_open)
        return {};
    std::swap(zoomLevel, m_zoomLevel);
    if (m_whole) {
        std::swap(current, m_picture);
        m_size = m_picture.image.size();
        return current.image.rect();
    }
    std::swap(current.depth, m_picture.depth);
    std::swap(current.palette, m_picture.palette);
    if (m_tiles.empty() || current.image.size() != m_size)
        return {};
    const auto rows = rowsOf(current.image);
    QRect changed;
    for (auto &[index, tile] : m_tiles) {
        const QRect r = tileRect(index);
        const auto kept = rowsOf(tile);
        for (int y = 0; y < r.height(); ++y)
            std::swap_ranges(rows[r.top() + y] + r.left(), rows[r.top() + y] + r.left() + r.width(), kept[y]);
        changed |= r;
    }
    return changed;
}

long long UndoRecord::heldBytes() const
{
    return (long long)sizeof(*this) + keptBytes() + (long long)(m_keptBits.capacity() * sizeof(quint64)) +
           (long long)(m_tiles.capacity() * sizeof(m_tiles[0])) + m_picture.palette.size() * (long long)sizeof(QRgb);
}

long long UndoRecord::keptBytes() const
{
    if (m_whole)
        return m_picture.image.sizeInBytes();
    long long bytes = 0;
    for (const auto &kept : m_tiles)
        bytes += kept.second.sizeInBytes();
    return bytes;
}

} // namespace vermeo
