#include "PagePlacement.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace vermeo::printing {

namespace {
int clampToInt(long long v) { return int(std::clamp<long long>(v, INT_MIN / 2, INT_MAX / 2)); }

long long perMillimetre(int pixels, int millimetres) { return millimetres > 0 ? pixels / millimetres : 0; }
} // namespace

int Mh(const PageMetrics &page, int millimetres)
{
    return clampToInt(perMillimetre(page.widthPixels, page.widthMM) * (millimetres + 10LL));
}

int Mv(const PageMetrics &page, int millimetres)
{
    return clampToInt(perMillimetre(page.heightPixels, page.heightMM) * (millimetres + 5LL));
}

int scaledLength(int length, int scale)
{
    // Exact, where length x scale x 0.01 in floating point could fall either side of a half.
    const long long p = (long long)length * scale;
    long long q = p / 100;
    const long long r = p % 100;
    if (r > 50 || (r == 50 && (q & 1)))
        ++q;
    return clampToInt(q);
}

QRect printTarget(const PageMetrics &page, int marginLeft, int marginTop, QSize picture, int scale)
{
    return QRect(Mh(page, marginLeft), Mv(page, marginTop), scaledLength(picture.width(), scale),
                 scaledLength(picture.height(), scale));
}

PreviewLayout previewLayout(QSize window, const PageMetrics &page)
{
    PreviewLayout l;
    l.buttonLeft = window.width() - 120;
    const int h = std::max(0, window.height() - 100);
    const double a = page.heightPixels > 0 ? double(page.widthPixels) / page.heightPixels : 1.0;
    const int w = int(std::lround(a * h));
    l.pagePanel = QRect((window.width() - w) / 2, 48, w, h);
    return l;
}

QRect previewTarget(const PageMetrics &page, int paintWidth, int marginLeft, int marginTop, QSize picture, int scale)
{
    const double r = page.widthPixels > 0 ? double(paintWidth) / page.widthPixels : 0.0;
    const QRect p = printTarget(page, marginLeft, marginTop, picture, scale);
    auto at = [r](int v) { return int(std::lround(r * v)); };
    return QRect(at(p.left()), at(p.top()), std::max(1, at(p.width())), std::max(1, at(p.height())));
}

} // namespace vermeo::printing
