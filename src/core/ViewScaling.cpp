#include "ViewScaling.h"
#include "Parallel.h"
#include "PixelRows.h"

#include <cstring>
#include <vector>

namespace vermeo {

namespace {

// The first picture index a view index stands for: v * pictureLen / viewLen.
inline int firstOf(int v, int viewLen, int pictureLen) { return int((long long)v * pictureLen / viewLen); }

void enlargeRows(const QImage &picture, QImage &view, const QRect &r)
{
    const int pw = picture.width(), ph = picture.height(), vw = view.width(), vh = view.height();
    std::vector<int> cols(size_t(r.width()));
    for (int i = 0; i < r.width(); ++i)
        cols[size_t(i)] = firstOf(r.left() + i, vw, pw);
    const auto in = rowsOf(picture);
    const auto out = rowsOf(view);
    forBandsInParallel(r.height(), 64, [&](int y0, int y1) {
        int lastRow = -1;
        for (int j = y0; j < y1; ++j) {
            const int vy = r.top() + j;
            const int py = firstOf(vy, vh, ph);
            QRgb *d = out[vy] + r.left();
            if (py == lastRow) {
                std::memcpy(d, out[vy - 1] + r.left(), size_t(r.width()) * sizeof(QRgb));
                continue;
            }
            const QRgb *s = in[py];
            for (int i = 0; i < r.width(); ++i)
                d[i] = s[cols[size_t(i)]];
            lastRow = py;
        }
    });
}

// (x + n / 2) / n for every x up to 255 n: by a multiplication up to n = 4096, exact since
// x times the reciprocal's excess (below n) stays under 2^32; by a division beyond.
struct RoundedDivision {
    quint32 n, half;
    quint64 reciprocal; // ceil(2^32 / n), or 0: divide
    explicit RoundedDivision(quint32 n_)
        : n(n_),
          half(n_ / 2),
          reciprocal(n_ <= kMaxReciprocal ? ((quint64(1) << 32) + n_ - 1) / n_ : 0)
    {
    }
    quint32 operator()(quint32 sum) const
    {
        const quint32 x = sum + half;
        return reciprocal ? quint32((x * reciprocal) >> 32) : x / n;
    }
    static constexpr quint32 kMaxReciprocal = 4096;
};

// Where each channel of a QRgb lies in memory.
constexpr int kBlue = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? 0 : 3;
constexpr int kGreen = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? 1 : 2;
constexpr int kRed = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? 2 : 1;

QRgb meanPixel(const quint32 (&sums)[4], const RoundedDivision &q)
{
    return 0xFF000000u | (q(sums[kRed]) << 16) | (q(sums[kGreen]) << 8) | q(sums[kBlue]);
}

// The rounded means of every sum a block of n pixels can have (n * 255 at most), one
// byte each: for the blocks of one width, a lookup in place of three divisions.
class MeanTable {
public:
    void prepare(quint32 n)
    {
        if (n == m_n)
            return;
        m_n = n;
        const RoundedDivision q(n);
        m_means.resize(size_t(n) * 255 + 1);
        for (quint32 x = 0; x < m_means.size(); ++x)
            m_means[x] = uchar(q(x));
    }
    QRgb pixel(quint32 blue, quint32 green, quint32 red) const
    {
        return 0xFF000000u | (quint32(m_means[red]) << 16) | (quint32(m_means[green]) << 8) | m_means[blue];
    }

private:
    quint32 m_n = 0;
    std::vector<uchar> m_means;
};

// The four channel sums of one picture column as a vector.
template <class Sum>
struct ColumnLanes;
template <>
struct ColumnLanes<quint16> {
    using type = quint16 __attribute__((vector_size(8)));
};
template <>
struct ColumnLanes<quint32> {
    using type = quint32 __attribute__((vector_size(16)));
};

// Every block K columns wide, side by side (a zoom step on a width it divides): the
// four channels of a pixel are added as one vector.
template <int K, class Sum>
void sameWidthBlocks(const Sum *acc, QRgb *d, int count, const MeanTable &means)
{
    using Lanes = quint32 __attribute__((vector_size(16)));
    using Narrow = typename ColumnLanes<Sum>::type;
    for (int i = 0; i < count; ++i, acc += 4 * K) {
        Lanes s = {};
        for (int k = 0; k < K; ++k) {
            Narrow t;
            std::memcpy(&t, acc + 4 * k, sizeof t);
            s += __builtin_convertvector(t, Lanes);
        }
        d[i] = means.pixel(s[kBlue], s[kGreen], s[kRed]);
    }
}
template <class Sum>
using BlockRow = void (*)(const Sum *, QRgb *, int, const MeanTable &);
template <class Sum>
constexpr BlockRow<Sum> kSameWidthBlocks[] = {nullptr,
                                              sameWidthBlocks<1, Sum>,
                                              sameWidthBlocks<2, Sum>,
                                              sameWidthBlocks<3, Sum>,
                                              sameWidthBlocks<4, Sum>,
                                              sameWidthBlocks<5, Sum>,
                                              sameWidthBlocks<6, Sum>};

// One view row from the picture rows [py0, py1), by chunks of view columns, so that the
// sums of a chunk stay in the first cache. The bytes of each picture column are summed
// down the rows side by side as they lie in the row (which vectorises), then across
// each block: by sameWidthBlocks when every block is blockWidth wide, else one by one.
template <class Sum>
void reduceRow(const RowsOf<const QRgb> &in, int py0, int py1, const std::vector<int> &first,
               const std::vector<int> &end, int width, QRgb *d, int blockWidth, const MeanTable &means,
               const std::vector<RoundedDivision> &divide, std::vector<Sum> &column)
{
    constexpr int kChunk = 256;
    for (int i0 = 0; i0 < width; i0 += kChunk) {
        const int i1 = std::min(width, i0 + kChunk);
        const int s0 = first[size_t(i0)], s1 = end[size_t(i1) - 1];
        const size_t bytes = size_t(s1 - s0) * 4;
        column.resize(bytes);
        Sum *acc = column.data();
        {
            const uchar *s = reinterpret_cast<const uchar *>(in[py0] + s0);
            for (size_t k = 0; k < bytes; ++k)
                acc[k] = s[k];
        }
        for (int py = py0 + 1; py < py1; ++py) {
            const uchar *s = reinterpret_cast<const uchar *>(in[py] + s0);
            for (size_t k = 0; k < bytes; ++k)
                acc[k] = Sum(acc[k] + s[k]);
        }
        if (blockWidth) {
            kSameWidthBlocks<Sum>[blockWidth](acc, d + i0, i1 - i0, means);
            continue;
        }
        for (int i = i0; i < i1; ++i) {
            quint32 sum[4] = {};
            for (int x = first[size_t(i)]; x < end[size_t(i)]; ++x)
                for (int c = 0; c < 4; ++c)
                    sum[c] += acc[size_t(x - s0) * 4 + size_t(c)];
            d[i] = meanPixel(sum, divide[size_t(i)]);
        }
    }
}

void reduceRows(const QImage &picture, QImage &view, const QRect &r)
{
    const int pw = picture.width(), ph = picture.height(), vw = view.width(), vh = view.height();
    // Column blocks [first, end) of each view column of the area, each at least one wide.
    std::vector<int> first(size_t(r.width()) + 1), end(size_t(r.width()));
    for (int i = 0; i <= r.width(); ++i)
        first[size_t(i)] = std::min(pw, firstOf(r.left() + i, vw, pw));
    for (int i = 0; i < r.width(); ++i)
        end[size_t(i)] = std::max(first[size_t(i)] + 1, first[size_t(i) + 1]);
    const int blockWidth = first[1] - first[0];
    bool uniform = blockWidth > 0 && blockWidth < int(std::size(kSameWidthBlocks<quint32>));
    for (int i = 0; uniform && i < r.width(); ++i)
        if (end[size_t(i)] != first[size_t(i)] + blockWidth || first[size_t(i) + 1] != end[size_t(i)])
            uniform = false;
    const auto in = rowsOf(picture);
    const auto out = rowsOf(view);
    forBandsInParallel(r.height(), 16, [&](int y0, int y1) {
        std::vector<quint16> narrow;
        std::vector<quint32> wide;
        std::vector<RoundedDivision> divide;
        int divideRows = -1;
        MeanTable means;
        for (int j = y0; j < y1; ++j) {
            const int vy = r.top() + j;
            const int py0 = firstOf(vy, vh, ph);
            const int py1 = std::max(py0 + 1, std::min(ph, firstOf(vy + 1, vh, ph)));
            const int rowsIn = py1 - py0;
            if (uniform)
                means.prepare(quint32(rowsIn) * quint32(blockWidth));
            else if (rowsIn != divideRows) {
                divide.clear();
                for (int i = 0; i < r.width(); ++i)
                    divide.emplace_back(quint32(rowsIn) * quint32(end[size_t(i)] - first[size_t(i)]));
                divideRows = rowsIn;
            }
            QRgb *d = out[vy] + r.left();
            // Sixteen bits hold the sums of up to 257 rows.
            if (rowsIn <= 257)
                reduceRow<quint16>(in, py0, py1, first, end, r.width(), d, uniform ? blockWidth : 0, means, divide,
                                   narrow);
            else
                reduceRow<quint32>(in, py0, py1, first, end, r.width(), d, uniform ? blockWidth : 0, means, divide,
                                   wide);
        }
    });
}

} // namespace

void scaleInto(const QImage &picture, QImage &view, const QRect &viewRect)
{
    const QRect r = viewRect.intersected(view.rect());
    if (r.isEmpty() || picture.isNull())
        return;
    if (view.width() >= picture.width() && view.height() >= picture.height())
        enlargeRows(picture, view, r);
    else
        reduceRows(picture, view, r);
}

QImage scaledView(const QImage &picture, int w, int h)
{
    QImage view = newWorkingImage(w, h);
    scaleInto(picture, view, view.rect());
    return view;
}

QRect pictureAreaOf(const QRect &viewArea, QSize view, QSize picture)
{
    // Picture index p takes view index p * viewLen / pictureLen; those landing in [a, b].
    auto span = [](int a, int b, int vl, int pl, int &lo, int &hi) {
        lo = int(((long long)a * pl + vl - 1) / vl);
        hi = int(((long long)(b + 1) * pl + vl - 1) / vl) - 1;
        lo = std::max(lo, 0);
        hi = std::min(hi, pl - 1);
    };
    int l, r, t, b;
    span(viewArea.left(), viewArea.right(), view.width(), picture.width(), l, r);
    span(viewArea.top(), viewArea.bottom(), view.height(), picture.height(), t, b);
    if (r < l || b < t)
        return {};
    return QRect(QPoint(l, t), QPoint(r, b));
}

QRect viewAreaOf(const QRect &pictureArea, QSize view, QSize picture)
{
    // Every view index whose pixels are made from a picture index in [a, b].
    auto span = [](int a, int b, int vl, int pl, int &lo, int &hi) {
        lo = int((long long)a * vl / pl);
        hi = int(((long long)(b + 1) * vl + pl - 1) / pl) - 1;
        lo = std::max(lo, 0);
        hi = std::min(std::max(hi, lo), vl - 1);
    };
    int l, r, t, b;
    span(pictureArea.left(), pictureArea.right(), view.width(), picture.width(), l, r);
    span(pictureArea.top(), pictureArea.bottom(), view.height(), picture.height(), t, b);
    return QRect(QPoint(l, t), QPoint(r, b));
}

} // namespace vermeo
