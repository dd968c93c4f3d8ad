// Filtered resampling, against values worked out by hand from the kernel formulas and
// the contributor rule, and against the two passes run pixel by pixel.
#include "Resample.h"
#include "Error.h"
#include "Parallel.h"
#include "TestPictures.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace vermeo;
using namespace vermeo::geometry;
using namespace vermeo::test;

namespace {

const ResampleFilter &filter(const char *name)
{
    const ResampleFilter *f = findResampleFilter(QString::fromLatin1(name));
    EXPECT_NE(f, nullptr) << name;
    return *f;
}

QImage resample(const QImage &src, int w, int h, const char *name = "Mitchell")
{
    const ResampleFilter &f = filter(name);
    return ResampleStretch(src, w, h, f, f.support, silentProgress());
}

int channel(const QImage &img, int x, int y, int shift) { return int((img.pixel(x, y) >> shift) & 0xFF); }

// The two passes one pixel and one sum at a time.
QImage passByPass(const QImage &src, int dw, int dh, const ResampleFilter &f)
{
    const int sw = src.width(), sh = src.height();
    const Contributions across = contributions(sw, dw, f, f.support);
    const Contributions down = contributions(sh, dh, f, f.support);
    auto pass = [](const QImage &in, int outW, int outH, const Contributions &c, bool horizontal) {
        QImage out(outW, outH, QImage::Format_RGB32);
        for (int y = 0; y < outH; ++y)
            for (int x = 0; x < outW; ++x) {
                const int i = horizontal ? x : y;
                float sum[3] = {0, 0, 0};
                for (int k = c.first[size_t(i)]; k < c.first[size_t(i) + 1]; ++k) {
                    const auto &item = c.items[size_t(k)];
                    const QRgb p = horizontal ? in.pixel(item.pixel, y) : in.pixel(x, item.pixel);
                    for (int ch = 0; ch < 3; ++ch)
                        sum[ch] += item.weight * float((p >> (16 - 8 * ch)) & 0xFF);
                }
                int v[3];
                for (int ch = 0; ch < 3; ++ch)
                    v[ch] = sum[ch] > 255 ? 255 : sum[ch] < 0 ? 0 : int(std::nearbyint(sum[ch]));
                out.setPixel(x, y, qRgb(v[0], v[1], v[2]));
            }
        return out;
    };
    return pass(pass(src, dw, sh, across, true), dw, dh, down, false);
}

} // namespace

TEST(Resample, EveryKernelFollowsItsFormulaAtTheHalfSteps)
{
    // k(0), k(0.5), k(1), k(1.5), k(2), worked out from each formula by hand.
    const double pi = 3.14159265358979323846;
    const double s16 = std::sin(pi / 6) / (pi / 6);
    struct Row {
        const char *name;
        double support;
        double k[5];
    } table[] = {
        {"Box", 0.5, {1, 1, 0, 0, 0}},
        {"Triangle", 1.0, {1, 0.5, 0, 0, 0}},
        {"Hermite", 1.0, {1, 0.5, 0, 0, 0}},
        {"Bell", 1.5, {0.75, 0.5, 0.125, 0, 0}},
        {"B-Spline", 2.0, {2.0 / 3, 0.0625 - 0.25 + 2.0 / 3, 1.0 / 6, 0.125 / 6, 0}},
        {"Lanczos3", 3.0, {1, (2 / pi) * s16, 0, (-1 / (1.5 * pi)) * (2 / pi), 0}},
        {"Mitchell", 2.0, {8.0 / 9, (0.875 - 3 + 16.0 / 3) / 6, 1.0 / 18, (-7.875 + 27 - 30 + 32.0 / 3) / 6, 0}},
    };
    ASSERT_EQ(resampleFilters().size(), std::size(table));
    for (size_t i = 0; i < std::size(table); ++i) {
        const ResampleFilter &f = resampleFilters()[i];
        EXPECT_STREQ(f.name, table[i].name);
        EXPECT_FLOAT_EQ(f.support, float(table[i].support)) << f.name;
        const float at[5] = {0, 0.5f, 1, 1.5f, 2};
        for (int j = 0; j < 5; ++j) {
            EXPECT_NEAR(f.kernel(at[j]), table[i].k[j], 1e-6) << f.name << " at " << at[j];
            EXPECT_NEAR(f.kernel(-at[j]), f.name == std::string("Box") && j == 1 ? 0.0 : table[i].k[j], 1e-6)
                << f.name << " at -" << at[j];
        }
    }
    EXPECT_EQ(findResampleFilter(QStringLiteral("lanczos3")), &resampleFilters()[5]);
    EXPECT_EQ(findResampleFilter(QStringLiteral("Gauss")), nullptr);
    EXPECT_EQ(&mitchellFilter(), &resampleFilters()[6]);
}

TEST(Resample, MitchellAtTheSameSizeKeepsFlatAreasAndSpreadsAPointToItsNeighbours)
{
    EXPECT_EQ(resample(filled(20, 12, ComposeCouleur(100, 150, 200)), 20, 12),
              filled(20, 12, ComposeCouleur(100, 150, 200)));

    // 255 * 8/9 = 226.67 -> 227 and 255 / 18 = 14.17 -> 14 across; then down the columns
    // 227 * 8/9 -> 202, 227 / 18 -> 13, 14 * 8/9 -> 12, 14 / 18 -> 1.
    QImage dot = filled(9, 9, clBlack);
    dot.setPixel(4, 4, qRgb(255, 255, 255));
    const QImage out = resample(dot, 9, 9);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 9; ++x) {
            const int ax = std::abs(x - 4), ay = std::abs(y - 4);
            int v = 0;
            if (ax == 0 && ay == 0)
                v = 202;
            else if (ax == 0 && ay == 1)
                v = 13;
            else if (ax == 1 && ay == 0)
                v = 12;
            else if (ax == 1 && ay == 1)
                v = 1;
            for (int shift : {0, 8, 16})
                EXPECT_EQ(channel(out, x, y, shift), v) << x << "," << y;
        }
}

TEST(Resample, BoxWhenEnlargingTakesTheNearestSourcePixel)
{
    // 4 -> 7 wide: scale 2, centres 0, 0.5, 1 ... 3; a centre halfway takes the left pixel.
    QImage src = newWorkingImage(4, 1);
    const QRgb a = qRgb(10, 20, 30), b = qRgb(40, 50, 60), c = qRgb(70, 80, 90), d = qRgb(200, 210, 220);
    src.setPixel(0, 0, a);
    src.setPixel(1, 0, b);
    src.setPixel(2, 0, c);
    src.setPixel(3, 0, d);
    const QImage out = resample(src, 7, 3, "Box");
    const QRgb row[7] = {a, a, b, b, c, c, d};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 7; ++x)
            EXPECT_EQ(out.pixel(x, y), row[x]) << x << "," << y;
}

TEST(Resample, IndicesOutsideAreMirroredSoTheLastPixelCountsTwice)
{
    const Contributions m = contributions(5, 5, mitchellFilter(), 2.0f);
    auto pixels = [&](int i) {
        std::vector<int> p;
        for (int k = m.first[size_t(i)]; k < m.first[size_t(i) + 1]; ++k)
            p.push_back(m.items[size_t(k)].pixel);
        return p;
    };
    // j = -1, 0, 1 at the left; j = 3, 4, 5 at the right, 5 mirrored to 4.
    EXPECT_EQ(pixels(0), (std::vector<int>{1, 0, 1}));
    EXPECT_EQ(pixels(4), (std::vector<int>{3, 4, 4}));
    EXPECT_NEAR(m.items[size_t(m.first[0])].weight, 1.0 / 18, 1e-6);
    EXPECT_NEAR(m.items[size_t(m.first[0]) + 1].weight, 8.0 / 9, 1e-6);

    const ResampleFilter &l = filter("Lanczos3");
    const Contributions w = contributions(10, 10, l, l.support);
    std::vector<int> left, right;
    for (int k = w.first[0]; k < w.first[1]; ++k)
        left.push_back(w.items[size_t(k)].pixel);
    for (int k = w.first[9]; k < w.first[10]; ++k)
        right.push_back(w.items[size_t(k)].pixel);
    EXPECT_EQ(left, (std::vector<int>{2, 1, 0, 1, 2}));
    EXPECT_EQ(right, (std::vector<int>{7, 8, 9, 9, 8}));
}

TEST(Resample, OnePixelSourcesAndTargetsAndStrongShrinksStayInside)
{
    // A one-pixel-wide source uses the scale dw: target 1 of 4 has its centre at 1/4.
    const ResampleFilter &tri = filter("Triangle");
    const Contributions up = contributions(1, 4, tri, 1.0f);
    ASSERT_EQ(up.first[2] - up.first[1], 2);
    EXPECT_FLOAT_EQ(up.items[size_t(up.first[1])].weight, 0.75f);
    EXPECT_FLOAT_EQ(up.items[size_t(up.first[1]) + 1].weight, 0.25f);
    EXPECT_EQ(resample(onePixel(200, 100, 50), 4, 3, "Triangle"), filled(4, 3, ComposeCouleur(200, 100, 50)));

    // A one-pixel target: scale 1/3, Box three times wider: (v1 + v0 + v1) / 3.
    QImage three = newWorkingImage(3, 2);
    for (int y = 0; y < 2; ++y) {
        three.setPixel(0, y, qRgb(30, 0, 255));
        three.setPixel(1, y, qRgb(90, 60, 0));
        three.setPixel(2, y, qRgb(150, 255, 9));
    }
    const QImage column = resample(three, 1, 2, "Box");
    ASSERT_EQ(column.size(), QSize(1, 2));
    EXPECT_EQ(column.pixel(0, 0), qRgb(70, 40, 85));
    EXPECT_EQ(column.pixel(0, 1), qRgb(70, 40, 85));
    const QImage row = resample(three.transformed(QTransform().rotate(90)), 2, 1, "Box");
    ASSERT_EQ(row.size(), QSize(2, 1));
    EXPECT_EQ(row.pixel(0, 0), qRgb(70, 40, 85));

    // 3 -> 2 with Mitchell reaches j = 6, which one reflection leaves at -1.
    for (const ResampleFilter &f : resampleFilters())
        for (auto [from, to] : {std::pair{3, 2}, std::pair{1, 3}, std::pair{7, 1}, std::pair{2, 5}}) {
            const Contributions c = contributions(from, to, f, f.support);
            for (const auto &item : c.items)
                ASSERT_TRUE(item.pixel >= 0 && item.pixel < from) << f.name << " " << from << "->" << to;
        }
    const QImage small = varied(3, 3);
    EXPECT_EQ(resample(small, 2, 2), passByPass(small, 2, 2, mitchellFilter()));
}

TEST(Resample, EveryKernelGivesThePassByPassResultBothWays)
{
    const QImage src = noise(61, 37, 5);
    for (const ResampleFilter &f : resampleFilters()) {
        for (QSize to : {QSize(150, 80), QSize(23, 14), QSize(61, 37), QSize(200, 9)}) {
            const QImage got = ResampleStretch(src, to.width(), to.height(), f, f.support, silentProgress());
            EXPECT_EQ(got, passByPass(src, to.width(), to.height(), f))
                << f.name << " " << to.width() << "x" << to.height();
        }
    }
}

TEST(Resample, AnEmptySourceOrAnAbsurdTargetIsRefused)
{
    try {
        resample(QImage(), 10, 10);
        FAIL() << "no error";
    } catch (const VermeoError &e) {
        EXPECT_EQ(e.message(), QStringLiteral("Image source trop petite"));
    }
    EXPECT_THROW(resample(varied(4, 4), 100000, 10), VermeoError);
    EXPECT_THROW(resample(varied(4, 4), 10, 0), VermeoError);
    ProgressRecorder rec;
    ResampleStretch(varied(40, 30), 20, 60, mitchellFilter(), 2.0f, rec);
    ASSERT_FALSE(rec.positions.empty());
    EXPECT_TRUE(std::is_sorted(rec.positions.begin(), rec.positions.end()));
    EXPECT_EQ(rec.positions.back(), 100);
}

namespace {
// The kernels as the filter table writes them, in double precision.
double kernelByFormula(const std::string &name, double x)
{
    const double t = std::abs(x);
    const double pi = 3.14159265358979323846;
    auto sinc = [pi](double v) { return v == 0 ? 1.0 : std::sin(pi * v) / (pi * v); };
    if (name == "Box")
        return x > -0.5 && x <= 0.5 ? 1 : 0;
    if (name == "Triangle")
        return t < 1 ? 1 - t : 0;
    if (name == "Hermite")
        return t < 1 ? (2 * t - 3) * t * t + 1 : 0;
    if (name == "Bell")
        return t < 0.5 ? 0.75 - t * t : t < 1.5 ? 0.5 * (t - 1.5) * (t - 1.5) : 0;
    if (name == "B-Spline")
        return t < 1 ? 0.5 * t * t * t - t * t + 2.0 / 3 : t < 2 ? (2 - t) * (2 - t) * (2 - t) / 6 : 0;
    if (name == "Lanczos3")
        return t < 3 ? sinc(t) * sinc(t / 3) : 0;
    if (name == "Mitchell")
        return t < 1   ? (7 * t * t * t - 12 * t * t + 16.0 / 3) / 6
               : t < 2 ? (-7.0 / 3 * t * t * t + 12 * t * t - 20 * t + 32.0 / 3) / 6
                       : 0;
    ADD_FAILURE() << "no formula for " << name;
    return 0;
}

// What one shrinking pass by a whole factor makes of a flat channel v: the target's
// centre falls on a source pixel, and the weights k(m / factor) / factor of the sources
// m pixels away are summed.
int shrunkFlat(const std::string &name, double support, int factor, int v)
{
    double sum = 0;
    const int reach = int(std::ceil(support * factor));
    for (int m = -reach; m <= reach; ++m)
        sum += kernelByFormula(name, double(m) / factor) / factor;
    const double value = v * sum;
    return value > 255 ? 255 : value < 0 ? 0 : int(std::lround(value));
}
} // namespace

TEST(Resample, EveryKernelShrinkingAFlatPictureByWholeFactorsStaysFlatAtTheSumOfItsWeights)
{
    const QRgb colour = qRgb(200, 90, 17);
    for (const ResampleFilter &f : resampleFilters())
        for (int factor : {2, 3, 4, 8}) {
            // (dw - 1) / (sw - 1) is exactly 1 / factor.
            const int dw = 13, dh = 7;
            const QImage src = newWorkingImage((dw - 1) * factor + 1, (dh - 1) * factor + 1, colour);
            const QImage got = ResampleStretch(src, dw, dh, f, f.support, silentProgress());
            ASSERT_EQ(got.size(), QSize(dw, dh));
            QRgb expected = 0;
            {
                int v[3];
                const int channels[3] = {qRed(colour), qGreen(colour), qBlue(colour)};
                for (int ch = 0; ch < 3; ++ch)
                    v[ch] = shrunkFlat(f.name, f.support, factor, shrunkFlat(f.name, f.support, factor, channels[ch]));
                expected = qRgb(v[0], v[1], v[2]);
            }
            // The weights add up to about 1 (Lanczos3's to 0.99): the colour stays near itself.
            EXPECT_NEAR(qRed(expected), 200, 3) << f.name << " / " << factor;
            for (int y = 0; y < dh; ++y)
                for (int x = 0; x < dw; ++x)
                    ASSERT_EQ(got.pixel(x, y), expected) << f.name << " / " << factor << " at " << x << "," << y;
        }
}

TEST(Resample, FourPixelsAtATimeAndTheOddOnesLeftGiveThePassByPassResult)
{
    // Widths around multiples of four (the sums run four target pixels at once, the
    // rest one by one), one-pixel lines, and shrinks whose pixels have unequal numbers of
    // contributors (the short ones are made up with weights of 0).
    for (QSize from : {QSize(1, 1), QSize(1, 40), QSize(40, 1), QSize(7, 5), QSize(33, 19)})
        for (QSize to : {QSize(1, 1), QSize(3, 2), QSize(4, 4), QSize(5, 9), QSize(8, 3), QSize(13, 70), QSize(17, 1)}) {
            const QImage src = noise(from.width(), from.height(), 3);
            for (const char *name : {"Mitchell", "Lanczos3", "Box"}) {
                const ResampleFilter &f = filter(name);
                ASSERT_EQ(ResampleStretch(src, to.width(), to.height(), f, f.support, silentProgress()),
                          passByPass(src, to.width(), to.height(), f))
                    << name << " " << from.width() << "x" << from.height() << " -> " << to.width() << "x"
                    << to.height();
            }
        }
}

TEST(Resample, RowsMadeBandByBandAreTheWholeResultOnOneThreadOrMany)
{
    const QImage src = noise(90, 131, 6);
    for (QSize to : {QSize(45, 65), QSize(37, 100), QSize(181, 262)}) {
        const QImage whole = resample(src, to.width(), to.height());
        const ResampledRows made(src, to.width(), to.height(), mitchellFilter(), 2.0f);
        ASSERT_EQ(QSize(made.width(), made.height()), to);
        for (int threads : {0, 1, 3}) {
            const PassThreadsOverride override(threads);
            EXPECT_EQ(resample(src, to.width(), to.height()), whole) << threads;
            // Bands that start and end inside the maker's own bands.
            QImage rows = newWorkingImage(to.width(), to.height(), 0xFFFFFFFFu);
            const auto out = rowsOf(rows);
            for (int y = 0, n = 1; y < to.height(); y += n, n = n * 3 % 47 + 1)
                made.make(y, std::min(n, to.height() - y), {out[y], out.stride});
            EXPECT_EQ(rows, whole) << to.width() << "x" << to.height() << " on " << threads;
        }
    }
}

TEST(Resample, RowsMadeFromAFeedReadEachSourceRowOnceAndGiveTheWholeResult)
{
    const QImage src = noise(77, 120, 9);
    // Shrinks, enlargements, one target row (every source row at once), one target column.
    for (QSize to : {QSize(40, 61), QSize(150, 233), QSize(30, 1), QSize(1, 50), QSize(77, 120)})
        for (const char *name : {"Mitchell", "Lanczos3"}) {
            const ResampleFilter &f = filter(name);
            const QImage whole = ResampleStretch(src, to.width(), to.height(), f, f.support, silentProgress());
            int read = 0;
            const RowFeed feed = test::feedOf(src, read);
            FedResampledRows made(feed, to.width(), to.height(), f, f.support);
            QImage rows = newWorkingImage(to.width(), to.height(), 0xFFFFFFFFu);
            const auto out = rowsOf(rows);
            for (int y = 0, n = 3; y < to.height(); y += n, n = n * 5 % 37 + 1)
                made.make(y, std::min(n, to.height() - y), {out[y], out.stride});
            EXPECT_EQ(rows, whole) << name << " " << to.width() << "x" << to.height();
            EXPECT_LE(read, src.height());
        }
}
