#pragma once
// Filtered resampling ("Rééchantillonner"): a two-pass separable filter with one of
// seven reconstruction kernels. Kernels, weights and sums are single precision;
// indices outside the picture are mirrored back in; each sum is clamped, then rounded.
#include "MadeRows.h"
#include "PixelRows.h"
#include "Progress.h"

#include <QImage>
#include <QString>
#include <array>
#include <functional>
#include <mutex>
#include <vector>

namespace vermeo::geometry {

using FilterKernel = float (*)(float x);

struct ResampleFilter {
    const char *name; // as offered by name: "Box", "Mitchell"...
    float support;    // the kernel is 0 beyond this radius
    FilterKernel kernel;
};

// The seven kernels in their order: Box, Triangle, Hermite, Bell, B-Spline, Lanczos3, Mitchell.
const std::array<ResampleFilter, 7> &resampleFilters();
// A kernel by its name, any case; nullptr when there is none of that name.
const ResampleFilter *findResampleFilter(const QString &name);
// What the command always uses, with support 2.0.
const ResampleFilter &mitchellFilter();

// One pass's contributors: for each target index i, the source indices and weights
// items[first[i]] .. items[first[i + 1] - 1], in the order the sum takes them.
struct Contributions {
    struct Item {
        int pixel;
        float weight;
    };
    std::vector<int> first;
    std::vector<Item> items;
};

// The contributors of a pass from srcSize to dstSize (both at least 1).
Contributions contributions(int srcSize, int dstSize, const ResampleFilter &filter, float support);

// The rows of a resampling made on demand, a band at a time: the pixels of
// ResampleStretch, without the whole result ever being held.
class ResampledRows {
public:
    // Throws VermeoError as ResampleStretch does, before any row is made.
    ResampledRows(const QImage &src, int dw, int dh, const ResampleFilter &filter, float support);
    // The same for a source of sw x sh given to make() a few rows at a time.
    ResampledRows(int sw, int sh, int dw, int dh, const ResampleFilter &filter, float support);
    int width() const { return m_dw; }
    int height() const { return m_dh; }
    // Target rows y0 .. y0 + count - 1 into rows[0 .. count), on every core; progress(rowsDone)
    // on the calling thread as bands finish (when given).
    void make(int y0, int count, RowsOf<QRgb> rows, const std::function<void(int)> &progress = {}) const;
    // The same from source rows held from row first on: source[0] is source row first.
    void make(int y0, int count, RowsOf<QRgb> rows, RowsOf<const QRgb> source, int first,
              const std::function<void(int)> &progress = {}) const;
    // The first and last source rows that target rows y0 .. y0 + count - 1 read.
    std::pair<int, int> sourceRows(int y0, int count) const;
    // The target rows a band makes from work rows of its own.
    static constexpr int kBand = 32;

private:
    void makeBand(int y0, int y1, RowsOf<QRgb> rows, RowsOf<const QRgb> source, int first) const;
    void horizontalRow(const QRgb *s, QRgb *d, std::vector<float> &f) const;
    template <class WorkRow>
    void verticalRow(int i, QRgb *d, WorkRow workRow) const;

    QImage m_src;
    int m_sw = 0, m_sh = 0, m_dw = 0, m_dh = 0;
    Contributions m_across, m_down;
    // The contributors across, m_taps for each target pixel (see the constructor).
    int m_taps = 0;
    std::vector<Contributions::Item> m_padded;
    // Work rows and floats, one set per thread at a time.
    struct Buffers {
        std::vector<QRgb> work;
        std::vector<float> floats;
    };
    mutable std::mutex m_poolLock;
    mutable std::vector<Buffers> m_pool;
};

// A resampling whose source is read from a feed as the target rows are made, top to
// bottom: only the source rows that the rows being made and the later ones read are held.
class FedResampledRows {
public:
    FedResampledRows(RowFeed feed, int dw, int dh, const ResampleFilter &filter, float support);
    // Target rows y0 .. y0 + count - 1, each call taking up where the one before ended.
    void make(int y0, int count, RowsOf<QRgb> rows);

private:
    RowFeed m_feed;
    ResampledRows m_rows;
    std::vector<int> m_keepFrom;
    QImage m_window; // source rows m_first .. m_next - 1 from its top
    int m_first = 0, m_next = 0;
};

// src resampled to dw x dh (a plain new picture). Throws VermeoError when src is empty
// ("Image source trop petite") or dw x dh is no size we hold.
QImage ResampleStretch(const QImage &src, int dw, int dh, const ResampleFilter &filter, float support,
                       Progress &progress);

} // namespace vermeo::geometry
