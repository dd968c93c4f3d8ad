#pragma once
// A private copy of a picture, made by a worker thread tile by tile while the picture
// stays in use on the user-interface thread. Before that thread writes an area of the
// picture it calls beforeWrite(): the old pixels of a tile not yet copied are put
// aside there and then (a small block, in memory already at hand, where the large new
// copy would have to be faulted in page by page), and a tile the worker is copying is
// waited for (one tile at most). So the copy holds the picture as it was when the copy
// began. Sharing the picture instead (QImage's implicit copy) would make the next
// stroke copy the whole picture on the user-interface thread.
#include <QImage>
#include <QRect>

#include <atomic>
#include <memory>

namespace vermeo {

class TiledCopy {
public:
    static constexpr int kTileWidth = 128, kTileHeight = 32;

    // source must stay where it is, and be written only after beforeWrite() for the
    // area written, until finish() or the worker's run() has returned.
    explicit TiledCopy(const QImage &source);
    TiledCopy(const TiledCopy &) = delete;
    TiledCopy &operator=(const TiledCopy &) = delete;

    // Worker thread: copies every tile, from the picture or from what was put aside.
    void run();
    // User-interface thread: the area of the picture is about to be written.
    void beforeWrite(const QRect &area);
    // User-interface thread: the whole picture is about to change (or go).
    void finish();

    // The copy; whole once run() has returned.
    const QImage &image() const { return m_copy; }

private:
    enum State : unsigned char { ToCopy, Taken, Copied, PutAside };
    QRect tileRect(int tile) const;
    void copyTile(int tile);
    void putAside(int tile);
    void waitWhileTaken(int tile);
    // Makes a tile safe to write over: copied, or put aside (aside), or waited for.
    void secure(int tile, bool aside);

    const uchar *m_source;
    qsizetype m_sourceStride;
    int m_width, m_height;
    int m_cols, m_rows;
    QImage m_copy;
    uchar *m_target = nullptr;
    qsizetype m_targetStride = 0;
    std::unique_ptr<std::atomic<unsigned char>[]> m_state;
    std::unique_ptr<std::unique_ptr<QRgb[]>[]> m_aside;
};

} // namespace vermeo
