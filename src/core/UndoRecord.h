#pragma once
// One step of a document's undo history: the state at a SauveUndo (the picture with
// its size, depth and palette, and the zoom level). Opening a record copies nothing:
// the pixels of an area are kept, by tiles, the first time that area is about to
// change, and a picture replaced as a whole is kept itself. So a press on a large
// picture costs what the stroke touches, not the picture's size.
#include "Picture.h"

#include <QRect>
#include <utility>
#include <vector>

namespace vermeo {

class UndoRecord {
public:
    // Starts a new record on the picture as it is now.
    void open(const Picture &current, int zoomLevel);
    bool isOpen() const { return m_open; }
    // The area of current's pixels is about to be written.
    void keep(const QImage &current, const QRect &area);
    // current is about to be replaced as a whole.
    void keepWhole(const Picture &current);
    // Brings back the recorded state; the record stays, so a second restore gives the same.
    // Returns the area whose pixels were put back (the whole picture when it was replaced).
    QRect restore(Picture &current, int &zoomLevel) const;
    // Whether the record holds the whole old picture (it was replaced since open).
    bool holdsWholePicture() const { return m_whole; }
    // What restore would give, leaving current as it is.
    Picture restored(const Picture &current) const;
    // Whether current differs from the recorded state: in pixels written since open, in
    // depth or palette (changesPicture), or in zoom level as well (holdsChange).
    bool changesPicture(const Picture &current) const;
    bool holdsChange(const Picture &current, int zoomLevel) const;
    // Exchanges the recorded state with current: current becomes the recorded state and
    // the record keeps what current held in the same tiles, so a second swap goes forward
    // again. Returns the area whose pixels changed (the whole picture when replaced).
    QRect swap(Picture &current, int &zoomLevel);

    // Bytes of pixels kept.
    long long keptBytes() const;
    // Bytes the record holds in all, its bookkeeping included (the history's budget).
    long long heldBytes() const;

private:
    static constexpr int kTile = 128;
    int tileIndex(int tx, int ty) const { return ty * m_cols + tx; }
    QRect tileRect(int index) const;
    bool isKept(int index) const { return (m_keptBits[size_t(index) / 64] >> (index % 64)) & 1u; }

    bool m_open = false;
    bool m_whole = false;
    Picture m_picture; // the whole picture once replaced; otherwise only depth and palette
    int m_zoomLevel = 0;
    QSize m_size;
    int m_cols = 0, m_rows = 0;
    // The old pixels of the tiles written since open, and one bit a tile saying which.
    std::vector<std::pair<int, QImage>> m_tiles;
    std::vector<quint64> m_keptBits;
};

} // namespace vermeo
