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

void reduceRows(const QImage &picture, QImage &view, const QRect &r)
{
    const int pw = picture.width(), ph = picture.height(), vw = view.width(), vh = view.height();
    // Column blocks [first, end) of each view column of the area.
    std::vector<int> first(size_t(r.width()) + 1);
    for (int i = 0; i <= r.width(); ++i)
        first[size_t(i)] = std::min(pw, firstOf(r.left() + i, vw, pw));
    const auto in = rowsOf(picture);
    const auto out = rowsOf(view);
    forBandsInParallel(r.height(), 16, [&](int y0, int y1) {
        std::vector<quint32> sum(size_t(r.width()) * 3);
        for (int j = y0; j < y1; ++j) {
            const int vy = r.top() + j;
            const int py0 = firstOf(vy, vh, ph);
            const int py1 = std::max(py0 + 1, std::min(ph, firstOf(vy + 1, vh, ph)));
            std::fill(sum.begin(), sum.end(), 0u);
            for (int py = py0; py < py1; ++py) {
                const QRgb *s = in[py];
                for (int i = 0; i < r.width(); ++i) {
                    quint32 rr = 0, gg = 0, bb = 0;
                    const int x1 = std::max(first[size_t(i)] + 1, first[size_t(i) + 1]);
                    for (int x = first[size_t(i)]; x < x1; ++x) {
                        const QRgb q = s[x];
                        rr += (q >> 16) & 0xFFu;
                        gg += (q >> 8) & 0xFFu;
                        bb += q & 0xFFu;
                    }
                    sum[size_t(i) * 3] += rr;
                    sum[size_t(i) * 3 + 1] += gg;
                    sum[size_t(i) * 3 + 2] += bb;
                }
            }
            QRgb *d = out[vy] + r.left();
            const quint32 rowsIn = quint32(py1 - py0);
            for (int i = 0; i < r.width(); ++i) {
                const quint32 n = rowsIn * quint32(std::max(1, first[size_t(i) + 1] - first[size_t(i)]));
                const quint32 half = n / 2;
                d[i] = 0xFF000000u | (((sum[size_t(i) * 3] + half) / n) << 16) |
                       (((sum[size_t(i) * 3 + 1] + half) / n) << 8) | ((sum[size_t(i) * 3 + 2] + half) / n);
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
