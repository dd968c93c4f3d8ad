#include "Parallel.h"
#include "RecordingHost.h"
#include "ViewScaling.h"

#include <gtest/gtest.h>

using namespace vermeo;
using namespace vermeo::test;

namespace {

// The reduced view pixel by pixel as the rule says: each view pixel is the rounded mean
// of its block, the picture pixels p with p * view / picture landing on it (at least one).
QRgb boxMean(const QImage &picture, QSize view, int vx, int vy)
{
    auto span = [](int v, int vl, int pl, int &a, int &b) {
        a = int((long long)v * pl / vl);
        b = std::max(a + 1, std::min(pl, int((long long)(v + 1) * pl / vl)));
    };
    int x0, x1, y0, y1;
    span(vx, view.width(), picture.width(), x0, x1);
    span(vy, view.height(), picture.height(), y0, y1);
    unsigned long long r = 0, g = 0, b = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const QRgb q = picture.pixel(x, y);
            r += unsigned(qRed(q)), g += unsigned(qGreen(q)), b += unsigned(qBlue(q));
        }
    const unsigned long long n = (unsigned long long)(x1 - x0) * unsigned(y1 - y0);
    return qRgb(int((r + n / 2) / n), int((g + n / 2) / n), int((b + n / 2) / n));
}

void expectBoxMeans(const QImage &picture, const QImage &view, const QRect &area, const char *what)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ASSERT_EQ(view.pixel(x, y), boxMean(picture, view.size(), x, y))
                << what << ": view " << view.width() << "x" << view.height() << " at " << x << "," << y;
}

} // namespace

// Whole views at the zoom steps' sizes, on widths they divide (blocks of one width) and
// on others (blocks of two widths), on one thread and on many, and a part of a view
// remade alone.
TEST(ViewScaling, ReducedViewsAreTheRoundedMeanOfEachBlock)
{
    for (const QSize p : {QSize(600, 400), QSize(601, 403)}) {
        const QImage picture = noise(p.width(), p.height(), 5);
        const QSize sizes[] = {{p.width() / 2, p.height() / 2}, {p.width() / 3, p.height() / 3},
                               {p.width() / 4, p.height() / 4}, {p.width() / 5, p.height() / 5},
                               {p.width() / 6, p.height() / 7}, {p.width() / 8, 50}, {p.width() / 2, 1}, {577, 400}, {7, 403},
                               {p.width(), 1}, {1, 1}};
        for (const QSize s : sizes) {
            const QImage many = scaledView(picture, s.width(), s.height());
            expectBoxMeans(picture, many, many.rect(), "many threads");
            const PassThreadsOverride one(0);
            EXPECT_EQ(scaledView(picture, s.width(), s.height()), many) << s.width() << "x" << s.height();
        }
    }
    const QImage picture = noise(601, 403, 5);
    QImage view = scaledView(picture, 200, 134);
    const QImage whole = view.copy();
    view.fill(Qt::black);
    const QRect part(37, 11, 90, 70);
    scaleInto(picture, view, part);
    expectBoxMeans(picture, view, part, "a part");
    EXPECT_EQ(view.copy(part), whole.copy(part));
    EXPECT_EQ(view.pixel(36, 11), qRgb(0, 0, 0)) << "outside the part, nothing is written";
}

// The largest sums: white stays white and one black pixel weighs its share, in blocks
// small and large (a pasted picture may be shrunk far more than a zoom step does).
TEST(ViewScaling, LargeBlocksRoundLikeSmallOnes)
{
    for (const QSize big : {QSize(128, 128), QSize(130, 64), QSize(2000, 1500), QSize(4100, 2)}) {
        QImage picture(big, QImage::Format_RGB32);
        picture.fill(Qt::white);
        for (const QSize s : {QSize(2, 2), QSize(1, 1), QSize(3, 1)}) {
            const QImage view = scaledView(picture, s.width(), s.height());
            for (int y = 0; y < s.height(); ++y)
                for (int x = 0; x < s.width(); ++x)
                    ASSERT_EQ(view.pixel(x, y), qRgb(255, 255, 255)) << big.width() << "x" << big.height();
        }
        picture.setPixel(0, 0, qRgb(0, 0, 0));
        picture.setPixel(1, 0, qRgb(0, 100, 255));
        const QImage view = scaledView(picture, 2, 1);
        expectBoxMeans(picture, view, view.rect(), "one dark pixel");
    }
}
