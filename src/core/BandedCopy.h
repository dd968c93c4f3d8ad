#pragma once
// A private copy of a picture, made by a worker thread in bands of rows while the
// picture stays in use on the user-interface thread. Before that thread writes rows
// of the picture it calls beforeWrite(): a band not yet copied is copied there and
// then (a small block), a band the worker is copying is waited for (one band at
// most), so the copy holds the picture as it was when the copy began. Sharing the
// picture instead (QImage's implicit copy) would make the next stroke copy the whole
// picture on the user-interface thread.
#include <QImage>
#include <QRect>

#include <atomic>
#include <memory>

namespace vermeo {

class BandedCopy {
public:
    static constexpr int kBandRows = 32;

    // source must stay where it is, and be written only after beforeWrite() for the
    // rows written, until finish() or the worker's run() and wait() have returned.
    explicit BandedCopy(const QImage &source);
    BandedCopy(const BandedCopy &) = delete;
    BandedCopy &operator=(const BandedCopy &) = delete;

    // Worker thread: copies every band nobody took yet, then waits for the others.
    void run();
    // User-interface thread: rows [area.top(), area.bottom()] are about to be written.
    void beforeWrite(const QRect &area);
    // User-interface thread: the whole picture is about to change (or go).
    void finish() { copyRows(0, m_height - 1); }

    // The copy; whole once run() or finish() has returned.
    const QImage &image() const { return m_copy; }

private:
    void copyRows(int y0, int y1);
    void copyBand(int band);
    bool takeBand(int band);

    const uchar *m_source;
    qsizetype m_sourceStride;
    int m_height;
    int m_bands;
    QImage m_copy;
    uchar *m_target;
    qsizetype m_targetStride;
    qsizetype m_rowBytes;
    // 0: to copy, 1: being copied, 2: copied.
    std::unique_ptr<std::atomic<unsigned char>[]> m_state;
};

} // namespace vermeo
