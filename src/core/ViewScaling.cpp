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

// (x + n / 2) / n for every x up to 255 n, by a multiplication where n is small enough
// for it to be exact (the tests check every x), by a division otherwise.
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

// Every block K columns wide, side by side (a zoom step on a width it divides): the
// inner loops are fixed and unrolled.
template <int K>
void sameWidthBlocks(const quint32 *acc, QRgb *d, int count, const RoundedDivision &q)
{
    for (int i = 0; i < count; ++i, acc += 4 * K) {
        quint32 s[4] = {};
        for (int k = 0; k < K; ++k)
            for (int c = 0; c < 4; ++c)
                s[c] += acc[4 * k + c];
        d[i] = meanPixel(s, q);
    }
}
using BlockRow = void (*)(const quint32 *, QRgb *, int, const RoundedDivision &);
constexpr BlockRow kSameWidthBlocks[] = {nullptr, sameWidthBlocks<1>, sameWidthBlocks<2>, sameWidthBlocks<3>,
                                         sameWidthBlocks<4>, sameWidthBlocks<5>, sameWidthBlocks<6>};

void reduceRows(const QImage &picture, QImage &view, const QRect &r)
{
    const int pw = picture.width(), ph = picture.height(), vw = view.width(), vh = view.height();
    // Column blocks [first, end) of each view column of the area, each at least one wide.
    std::vector<int> first(size_t(r.width()) + 1), end(size_t(r.width()));
    for (int i = 0; i <= r.width(); ++i)
        first[size_t(i)] = std::min(pw, firstOf(r.left() + i, vw, pw));
    for (int i = 0; i < r.width(); ++i)
        end[size_t(i)] = std::max(first[size_t(i)] + 1, first[size_t(i) + 1]);
    const int c0 = first[0], c1 = end[size_t(r.width()) - 1];
    const int blockWidth = first[1] - first[0];
    BlockRow uniform = blockWidth < int(std::size(kSameWidthBlocks)) ? kSameWidthBlocks[blockWidth] : nullptr;
    for (int i = 0; uniform && i < r.width(); ++i)
        if (end[size_t(i)] != first[size_t(i)] + blockWidth || first[size_t(i) + 1] != end[size_t(i)])
            uniform = nullptr;
    const auto in = rowsOf(picture);
    const auto out = rowsOf(view);
    forBandsInParallel(r.height(), 16, [&](int y0, int y1) {
        // The bytes of each picture column summed down the rows of a view row, side by
        // side as they lie in the row, which vectorises.
        std::vector<quint32> column(size_t(c1 - c0) * 4);
        std::vector<RoundedDivision> divide;
        int divideRows = -1;
        for (int j = y0; j < y1; ++j) {
            const int vy = r.top() + j;
            const int py0 = firstOf(vy, vh, ph);
            const int py1 = std::max(py0 + 1, std::min(ph, firstOf(vy + 1, vh, ph)));
            quint32 *acc = column.data();
            const size_t bytes = column.size();
            {
                const uchar *s = reinterpret_cast<const uchar *>(in[py0] + c0);
                for (size_t k = 0; k < bytes; ++k)
                    acc[k] = s[k];
            }
            for (int py = py0 + 1; py < py1; ++py) {
                const uchar *s = reinterpret_cast<const uchar *>(in[py] + c0);
                for (size_t k = 0; k < bytes; ++k)
                    acc[k] += s[k];
            }
            const int rowsIn = py1 - py0;
            QRgb *d = out[vy] + r.left();
            if (uniform) {
                const RoundedDivision q(quint32(rowsIn) * quint32(blockWidth));
                uniform(acc, d, r.width(), q);
                continue;
            }
            if (rowsIn != divideRows) {
                divide.clear();
                for (int i = 0; i < r.width(); ++i)
                    divide.emplace_back(quint32(rowsIn) * quint32(end[size_t(i)] - first[size_t(i)]));
                divideRows = rowsIn;
            }
            for (int i = 0; i < r.width(); ++i) {
                quint32 s[4] = {};
                for (int x = first[size_t(i)]; x < end[size_t(i)]; ++x)
                    for (int c = 0; c < 4; ++c)
                        s[c] += acc[size_t(x - c0) * 4 + size_t(c)];
                d[i] = meanPixel(s, divide[size_t(i)]);
            }
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
