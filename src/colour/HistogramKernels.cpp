#include "HistogramKernels.h"
#include "Canvas.h"
#include "Error.h"
#include "PixelPass.h"
#include "PixelRows.h"

#include <bit>
#include <vector>

namespace vermeo::colour {

QImage stretchTo(const QImage &src, int w, int h)
{
    QImage out = newWorkingImage(w, h);
    out.fill(Qt::white);
    Canvas c(&out);
    c.StretchDraw(QRect(0, 0, w, h), toWorkingImage(src));
    return out;
}

HistogramTables computeHistogram(const QImage &sampleIn, Progress &progress)
{
    const QImage sample = toWorkingImage(sampleIn);
    HistogramTables t;
    const int w = sample.width(), h = sample.height();
    forBandsInOrder(
        h, kBandRows,
        [&](int y0, int y1) {
            for (int y = y0; y < y1; ++y) {
                const QRgb *s = rowOf(sample, y);
                for (int x = 0; x < w; ++x) {
                    ++t.red[size_t(redOf(s[x]))];
                    ++t.green[size_t(greenOf(s[x]))];
                    ++t.blue[size_t(blueOf(s[x]))];
                }
            }
        },
        progressByColumns(progress, w, h));
    int top = 0;
    for (size_t k = 0; k < 32; ++k) {
        for (size_t i = 8 * k; i < 8 * k + 8; ++i) {
            t.redBins[k] += t.red[i];
            t.greenBins[k] += t.green[i];
            t.blueBins[k] += t.blue[i];
        }
        top = std::max({top, t.redBins[k], t.greenBins[k], t.blueBins[k]});
    }
    if (top > 0) {
        for (size_t k = 0; k < 32; ++k) {
            t.redBins[k] = int((long long)t.redBins[k] * 150 / top);
            t.greenBins[k] = int((long long)t.greenBins[k] * 150 / top);
            t.blueBins[k] = int((long long)t.blueBins[k] * 150 / top);
        }
    }
    for (size_t i = 0; i < 256; ++i) {
        t.redLevels += t.red[i] > 0;
        t.greenLevels += t.green[i] > 0;
        t.blueLevels += t.blue[i] > 0;
    }
    return t;
}

long long countColours(const QImage &imgIn, Progress &progress)
{
    const QImage img = toWorkingImage(imgIn);
    // One presence bit for every 24-bit colour: 2 MiB, cleared for each count.
    std::vector<std::uint64_t> seen(size_t(1) << 18, 0);
    const int w = img.width(), h = img.height();
    for (int y = 0; y < h; ++y) {
        progress.setPosition(int((long long)y * 100 / h));
        const QRgb *s = rowOf(img, y);
        for (int x = 0; x < w; ++x) {
            const std::uint32_t c = s[x] & 0x00FFFFFFu;
            seen[c >> 6] |= std::uint64_t(1) << (c & 63u);
        }
    }
    long long n = 0;
    for (std::uint64_t word : seen)
        n += std::popcount(word);
    return n;
}

} // namespace vermeo::colour
