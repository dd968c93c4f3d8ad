#include "BandedCopy.h"
#include "PixelRows.h"

#include <algorithm>
#include <cstring>

namespace vermeo {

BandedCopy::BandedCopy(const QImage &source)
    : m_source(source.constBits()), m_sourceStride(source.bytesPerLine()), m_height(source.height()),
      m_bands((source.height() + kBandRows - 1) / kBandRows),
      m_copy(source.isNull() ? QImage() : newWorkingImage(source.width(), source.height())),
      m_rowBytes(qsizetype(source.width()) * 4), m_state(new std::atomic<unsigned char>[size_t(m_bands)])
{
    // The raw addresses are taken once here: the threads never touch the QImages, whose
    // detach bookkeeping is not thread-safe.
    m_target = m_copy.isNull() ? nullptr : m_copy.bits();
    m_targetStride = m_copy.bytesPerLine();
    for (int b = 0; b < m_bands; ++b)
        m_state[size_t(b)].store(0, std::memory_order_relaxed);
}

bool BandedCopy::takeBand(int band)
{
    unsigned char expected = 0;
    return m_state[size_t(band)].compare_exchange_strong(expected, 1, std::memory_order_acquire);
}

void BandedCopy::copyBand(int band)
{
    const int y0 = band * kBandRows, y1 = std::min(m_height, y0 + kBandRows);
    if (m_sourceStride == m_targetStride)
        std::memcpy(m_target + y0 * m_targetStride, m_source + y0 * m_sourceStride, size_t((y1 - y0) * m_sourceStride));
    else
        for (int y = y0; y < y1; ++y)
            std::memcpy(m_target + y * m_targetStride, m_source + y * m_sourceStride, size_t(m_rowBytes));
    m_state[size_t(band)].store(2, std::memory_order_release);
    m_state[size_t(band)].notify_all();
}

void BandedCopy::copyRows(int y0, int y1)
{
    const int first = std::max(0, y0) / kBandRows, last = std::min(m_height - 1, y1) / kBandRows;
    for (int b = first; b <= last && b < m_bands; ++b) {
        if (takeBand(b)) {
            copyBand(b);
            continue;
        }
        for (unsigned char s = m_state[size_t(b)].load(std::memory_order_acquire); s != 2;
             s = m_state[size_t(b)].load(std::memory_order_acquire))
            m_state[size_t(b)].wait(s, std::memory_order_acquire);
    }
}

void BandedCopy::beforeWrite(const QRect &area)
{
    if (area.isEmpty())
        return;
    copyRows(area.top(), area.bottom());
}

void BandedCopy::run()
{
    for (int b = 0; b < m_bands; ++b)
        if (takeBand(b))
            copyBand(b);
    // Bands the other thread took are copied by now or soon.
    copyRows(0, m_height - 1);
}

} // namespace vermeo
