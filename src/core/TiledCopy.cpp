#include "TiledCopy.h"
#include "PixelRows.h"

#include <algorithm>
#include <cstring>

namespace vermeo {

TiledCopy::TiledCopy(const QImage &source)
    : m_source(source.constBits()),
      m_sourceStride(source.bytesPerLine()),
      m_width(source.width()),
      m_height(source.height()),
      m_cols((source.width() + kTileWidth - 1) / kTileWidth),
      m_rows((source.height() + kTileHeight - 1) / kTileHeight),
      m_copy(source.isNull() ? QImage() : newWorkingImage(source.width(), source.height())),
      m_state(new std::atomic<unsigned char>[size_t(m_cols) * size_t(m_rows)]),
      m_aside(new std::unique_ptr<QRgb[]>[size_t(m_cols) * size_t(m_rows)])
{
    // The raw addresses are taken once here: the threads never touch the QImages, whose
    // detach bookkeeping is not thread-safe.
    m_target = m_copy.isNull() ? nullptr : m_copy.bits();
    m_targetStride = m_copy.bytesPerLine();
    for (int t = 0; t < m_cols * m_rows; ++t)
        m_state[size_t(t)].store(ToCopy, std::memory_order_relaxed);
}

QRect TiledCopy::tileRect(int tile) const
{
    return QRect((tile % m_cols) * kTileWidth, (tile / m_cols) * kTileHeight, kTileWidth, kTileHeight)
        .intersected(QRect(0, 0, m_width, m_height));
}

void TiledCopy::copyTile(int tile)
{
    const QRect r = tileRect(tile);
    for (int y = r.top(); y <= r.bottom(); ++y)
        std::memcpy(m_target + y * m_targetStride + r.left() * 4, m_source + y * m_sourceStride + r.left() * 4,
                    size_t(r.width()) * 4);
}

void TiledCopy::putAside(int tile)
{
    const QRect r = tileRect(tile);
    auto block = std::make_unique_for_overwrite<QRgb[]>(size_t(r.width()) * size_t(r.height()));
    for (int y = r.top(); y <= r.bottom(); ++y)
        std::memcpy(block.get() + size_t(y - r.top()) * size_t(r.width()), m_source + y * m_sourceStride + r.left() * 4,
                    size_t(r.width()) * 4);
    m_aside[size_t(tile)] = std::move(block);
}

void TiledCopy::waitWhileTaken(int tile)
{
    std::atomic<unsigned char> &s = m_state[size_t(tile)];
    for (unsigned char v = s.load(std::memory_order_acquire); v == Taken; v = s.load(std::memory_order_acquire))
        s.wait(v, std::memory_order_acquire);
}

void TiledCopy::secure(int tile, bool aside)
{
    unsigned char expected = ToCopy;
    if (!m_state[size_t(tile)].compare_exchange_strong(expected, Taken, std::memory_order_acquire)) {
        waitWhileTaken(tile);
        return;
    }
    if (aside)
        putAside(tile);
    else
        copyTile(tile);
    m_state[size_t(tile)].store(aside ? PutAside : Copied, std::memory_order_release);
    m_state[size_t(tile)].notify_all();
}

void TiledCopy::beforeWrite(const QRect &area)
{
    const QRect a = area.intersected(QRect(0, 0, m_width, m_height));
    if (a.isEmpty())
        return;
    for (int ty = a.top() / kTileHeight; ty <= a.bottom() / kTileHeight; ++ty)
        for (int tx = a.left() / kTileWidth; tx <= a.right() / kTileWidth; ++tx)
            secure(ty * m_cols + tx, true);
}

void TiledCopy::finish()
{
    // Rare (the whole picture replaced): straight into the copy.
    for (int t = 0; t < m_cols * m_rows; ++t)
        secure(t, false);
}

void TiledCopy::run()
{
    finish();
    // What the other thread put aside goes in now.
    for (int t = 0; t < m_cols * m_rows; ++t) {
        if (m_state[size_t(t)].load(std::memory_order_acquire) != PutAside || !m_aside[size_t(t)])
            continue;
        const QRect r = tileRect(t);
        const QRgb *block = m_aside[size_t(t)].get();
        for (int y = r.top(); y <= r.bottom(); ++y)
            std::memcpy(m_target + y * m_targetStride + r.left() * 4, block + size_t(y - r.top()) * size_t(r.width()),
                        size_t(r.width()) * 4);
        m_aside[size_t(t)].reset();
    }
}

} // namespace vermeo
