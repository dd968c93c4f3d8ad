// The convolution against its rule written per pixel here, and the filter file and
// value texts as the dialog and the file use them.
#include "Convolution.h"
#include "Error.h"
#include "FilterFile.h"
#include "Parallel.h"
#include "PixelRows.h"
#include "TestPictures.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>

using namespace vermeo;
using namespace vermeo::geometry;

namespace {

// The rule, pixel by pixel: grid row dx + 1 and grid column dy + 1 weigh the neighbour
// (x + dx, y + dy); outside the picture white; each channel rounded half to even and clamped.
QImage slowConvolve(const QImage &src, const FilterCoefficients &k)
{
    QImage out(src.size(), QImage::Format_RGB32);
    for (int x = 0; x < src.width(); ++x)
        for (int y = 0; y < src.height(); ++y) {
            long long sum[3] = {0, 0, 0};
            for (int dx = -1; dx <= 1; ++dx)
                for (int dy = -1; dy <= 1; ++dy) {
                    const bool inside = src.rect().contains(x + dx, y + dy);
                    const QRgb q = inside ? src.pixel(x + dx, y + dy) : qRgb(255, 255, 255);
                    const int c = k[size_t(dx + 1)][size_t(dy + 1)];
                    sum[0] += qRed(q) * c;
                    sum[1] += qGreen(q) * c;
                    sum[2] += qBlue(q) * c;
                }
            int v[3];
            for (int i = 0; i < 3; ++i)
                v[i] = std::clamp(int(std::nearbyint(double(sum[i]) * 0.01)), 0, 255);
            out.setPixel(x, y, qRgb(v[0], v[1], v[2]));
        }
    return out;
}

FilterCoefficients grid(std::initializer_list<int> nine)
{
    FilterCoefficients k{};
    int i = 0;
    for (int v : nine) {
        k[size_t(i / 3)][size_t(i % 3)] = std::int8_t(v);
        ++i;
    }
    return k;
}

const FilterCoefficients kSharpen = grid({0, -6, 0, -6, 124, -6, 0, -6, 0});

} // namespace

TEST(Convolution, FollowsTheRuleOnEveryPixelWithProgressByColumn)
{
    const QImage pictures[] = {test::noise(61, 83), test::varied(1, 40), test::varied(37, 1)};
    const FilterCoefficients filters[] = {kSharpen, grid({11, 11, 11, 11, 12, 11, 11, 11, 11}),
                                          grid({-128, 0, 127, 50, -50, 3, 127, 127, -128}),
                                          grid({0, 0, 0, -100, 0, 100, 0, 0, 0})};
    for (const QImage &p : pictures)
        for (const FilterCoefficients &k : filters) {
            ProgressRecorder progress;
            const QImage out = convolve(p, k, progress);
            EXPECT_EQ(test::differingPixels(out, slowConvolve(p, k)), 0) << p.width() << " x " << p.height();
            ASSERT_EQ(int(progress.positions.size()), p.width());
            for (int x = 0; x < p.width(); ++x)
                EXPECT_EQ(progress.positions[size_t(x)], x * 100 / p.width());
        }
}

TEST(Convolution, HalvesRoundHalfToEvenOnEveryChannelValue)
{
    // Centre 0,50: every odd value falls on a half, which goes to the even neighbour.
    QImage ramp(256, 3, QImage::Format_RGB32);
    for (int y = 0; y < 3; ++y)
        for (int v = 0; v < 256; ++v)
            ramp.setPixel(v, y, qRgb(v, 255 - v, (v * 7) & 255));
    auto half = [](int v) { return (v >> 1) + ((v & 1) & ((v >> 1) & 1)); };
    const QImage out = convolve(ramp, grid({0, 0, 0, 0, 50, 0, 0, 0, 0}), silentProgress());
    for (int v = 0; v < 256; ++v) {
        const QRgb q = out.pixel(v, 1);
        EXPECT_EQ(qRed(q), half(v)) << v;
        EXPECT_EQ(qGreen(q), half(255 - v)) << v;
        EXPECT_EQ(qBlue(q), half((v * 7) & 255)) << v;
    }
}

TEST(Convolution, EverySumTheRoundingMeetsGivesTheRulesChannel)
{
    // Column 2b of row a holds a, column 2b + 1 holds b: with the pixel itself weighed
    // w1 and its right neighbour w2, the even columns meet every sum w1 a + w2 b.
    QImage pairs(512, 256, QImage::Format_RGB32);
    for (int a = 0; a < 256; ++a)
        for (int b = 0; b < 256; ++b) {
            pairs.setPixel(2 * b, a, qRgb(a, 255 - a, b));
            pairs.setPixel(2 * b + 1, a, qRgb(b, 255 - b, a));
        }
    // Every sum from 0 to 25755 (the rounding's whole range, its top and clamp), every
    // negative one down to -25500, and large ones both ways.
    for (const auto &[w1, w2] : {std::pair{100, 1}, {1, -100}, {127, 127}, {-128, 127}, {3, 50}}) {
        FilterCoefficients k{};
        k[1][1] = std::int8_t(w1);
        k[2][1] = std::int8_t(w2);
        EXPECT_EQ(test::differingPixels(convolve(pairs, k, silentProgress()), slowConvolve(pairs, k)), 0)
            << w1 << " " << w2;
    }
}

TEST(Convolution, RowsMadeFromAFeedReadEachSourceRowOnceAndGiveTheWholeResult)
{
    // One row, one column, a band's height and more than a few bands; one thread and many.
    for (const QSize size : {QSize(173, 1), QSize(1, 90), QSize(9, 16), QSize(301, 157)})
        for (const int threads : {0, 2}) {
            const PassThreadsOverride override(threads);
            const QImage src = test::noise(size.width(), size.height());
            const QImage whole = convolve(src, kSharpen, silentProgress());
            int read = 0;
            const RowFeed feed = test::feedOf(src, read);
            FedConvolvedRows made(feed, kSharpen);
            QImage rows = newWorkingImage(src.width(), src.height(), 0u);
            const auto out = rowsOf(rows);
            for (int y = 0, n = 1; y < src.height(); y += n, n = n * 7 % 41 + 1) {
                const int count = std::min(n, src.height() - y);
                made.make(y, count, {out[y], out.stride});
                // No further than the row below the last one made.
                EXPECT_LE(read, std::min(src.height(), y + count + 1));
            }
            EXPECT_EQ(read, src.height());
            EXPECT_EQ(test::differingPixels(rows, whole), 0) << size.width() << " x " << size.height();
        }
}

TEST(Convolution, IdentityGreyAndDotSums)
{
    // The identity leaves every pixel, borders included: the white outside meets zeros.
    const QImage n = test::noise(40, 30);
    EXPECT_EQ(convolve(n, identityFilter(), silentProgress()), n);
    // A sharpen filter whose values add up to 1 on flat grey: grey, unchanged inside.
    const QImage grey = test::filled(20, 20, ComposeCouleur(90, 90, 90));
    const QImage sharp = convolve(grey, kSharpen, silentProgress());
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            const QRgb q = sharp.pixel(x, y);
            ASSERT_TRUE(qRed(q) == qGreen(q) && qGreen(q) == qBlue(q)) << x << "," << y;
            if (x > 0 && y > 0 && x < 19 && y < 19) {
                ASSERT_EQ(qRed(q), 90);
            }
        }
    // Edge pixels lose 6 % of the white outside: 90 x 1.24 - 90 x 0.18 - 255 x 0.06 = 80.1 -> 80.
    EXPECT_EQ(qRed(sharp.pixel(0, 10)), 80);
    // A blur of one dot: each channel of each neighbour is its own 11 % (or 12 % in the centre).
    QImage dot = test::filled(7, 7, clBlack);
    dot.setPixel(3, 3, qRgb(200, 100, 50));
    const QImage blur = convolve(dot, grid({11, 11, 11, 11, 12, 11, 11, 11, 11}), silentProgress());
    EXPECT_EQ(test::at(blur, 2, 2), ComposeCouleur(22, 11, 6)); // 5.5 rounds to the even 6
    EXPECT_EQ(test::at(blur, 4, 3), ComposeCouleur(22, 11, 6));
    EXPECT_EQ(test::at(blur, 3, 3), ComposeCouleur(24, 12, 6));
    EXPECT_EQ(test::at(blur, 1, 1), clBlack);
    EXPECT_EQ(test::at(blur, 5, 3), clBlack);
}

TEST(Convolution, GridRowsStepAlongXAndColumnsAlongY)
{
    // The middle row of the grid, -1 0 1, weighs the pixels above and below.
    const FilterCoefficients k = grid({0, 0, 0, -100, 0, 100, 0, 0, 0});
    QImage stripes(6, 6, QImage::Format_RGB32);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x)
            stripes.setPixel(x, y, qRgb(y * 40, y * 40, y * 40)); // brighter downwards
    const QImage out = convolve(stripes, k, silentProgress());
    EXPECT_EQ(qRed(out.pixel(3, 2)), 80); // (3, 3) - (3, 1) = 120 - 40
    // The same grid on a picture that only changes along x gives nothing inside.
    const QImage along = convolve(stripes.transformed(QTransform().rotate(90)), k, silentProgress());
    EXPECT_EQ(qRed(along.pixel(3, 2)), 0);
}

TEST(FilterValues, ParsedWithEitherSeparatorStoredClampedShownInTheLocale)
{
    EXPECT_EQ(parseFilterValue(QStringLiteral("0,50")), 0.5);
    EXPECT_EQ(parseFilterValue(QStringLiteral("0.50")), 0.5);
    EXPECT_EQ(parseFilterValue(QStringLiteral("-1")), -1.0);
    EXPECT_EQ(parseFilterValue(QStringLiteral(",5")), 0.5);
    for (const char *bad : {"", "-", "1,2,3", "1-2", "abc", "1e5", "inf", "nan", "0x10"})
        EXPECT_FALSE(parseFilterValue(QString::fromLatin1(bad))) << bad;
    EXPECT_EQ(coefficientOf(1.27), 127);
    EXPECT_EQ(coefficientOf(2.0), 127); // not -56, as the signed byte would wrap it
    EXPECT_EQ(coefficientOf(-1.28), -128);
    EXPECT_EQ(coefficientOf(-5.0), -128);
    EXPECT_EQ(coefficientOf(0.125), 12); // half to even
    EXPECT_EQ(coefficientOf(0.135), 14);
    const QLocale french(QLocale::French), english(QLocale::English);
    EXPECT_EQ(formatFilterValue(0.5, french), QStringLiteral("0,50"));
    EXPECT_EQ(formatFilterValue(0.5, english), QStringLiteral("0.50"));
    EXPECT_EQ(formatFilterValue(2.0, french), QStringLiteral("1,27"));
    EXPECT_EQ(formatFilterValue(-9.0, french), QStringLiteral("-1,28"));
    EXPECT_EQ(formatFilterValue(-0.001, french), QStringLiteral("0,00"));
}

TEST(FilterFile, LinesNamesAndFields)
{
    const QString sharpen = QStringLiteral("0,00 -1,00 0,00 -1,00 1,27 -1,00 0,00 -1,00 0,00\tNetteté");
    EXPECT_EQ(filterName(sharpen), QStringLiteral("Netteté"));
    const QStringList f = filterFields(sharpen);
    ASSERT_EQ(f.size(), 9);
    EXPECT_EQ(f[1], QStringLiteral("-1,00"));
    EXPECT_EQ(f[4], QStringLiteral("1,27"));
    EXPECT_EQ(filterLine(f, QStringLiteral("Netteté")), sharpen);
    // No TAB: the whole line is the name, and the nine fields are empty.
    EXPECT_EQ(filterName(QStringLiteral("juste un nom")), QStringLiteral("juste un nom"));
    EXPECT_EQ(filterFields(QStringLiteral("1 2 3")), QStringList(9, QString()));
    // Fewer pieces than nine leave the rest empty; the name shows at most 255 characters.
    EXPECT_EQ(filterFields(QStringLiteral("1 2\tx")), (QStringList{"1", "2", "", "", "", "", "", "", ""}));
    EXPECT_EQ(filterName(QStringLiteral("0\t") + QString(300, QLatin1Char('a'))).size(), 255);
    // A TAB or a line break in a name would cut the entry: they become spaces.
    EXPECT_EQ(filterLine(f, QStringLiteral("a\tb\nc")).section(QLatin1Char('\t'), 1), QStringLiteral("a b c"));
}

TEST(FilterFile, WrittenWithCrLfReadBackAndRefusedWhenNotText)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Vermeo.flt"));
    EXPECT_TRUE(readFilterFile(path).isEmpty()); // missing: an empty list
    const QStringList lines = {QStringLiteral("0,50 0 0 0 0,50 0 0 0 0\tDouble"), QStringLiteral("sans tabulation"),
                               QStringLiteral("1.00 0 0 0 0 0 0 0 0\tÉté")};
    writeFilterFile(path, lines);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    f.close();
    EXPECT_EQ(bytes.count("\r\n"), 3);
    EXPECT_TRUE(bytes.endsWith("\r\n"));
    EXPECT_EQ(readFilterFile(path), lines);
    // LF alone, CR alone and an older one-byte code page read too.
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("0 0 0 0 1 0 0 0 0\tEt\xe9\n0 0 0 0 1 0 0 0 0\tdeux\r0 0\ttrois");
    old.close();
    EXPECT_EQ(readFilterFile(path),
              (QStringList{QStringLiteral("0 0 0 0 1 0 0 0 0\tEté"), QStringLiteral("0 0 0 0 1 0 0 0 0\tdeux"),
                           QStringLiteral("0 0\ttrois")}));
    // A binary file is refused with a French message, and left as it was.
    QFile bin(path);
    ASSERT_TRUE(bin.open(QIODevice::WriteOnly));
    bin.write(QByteArray("GIF89a\0\0\x01", 9));
    bin.close();
    try {
        readFilterFile(path);
        ADD_FAILURE() << "a binary file was read";
    } catch (const VermeoError &e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("ne peut pas être lu"))) << e.message().toStdString();
    }
    EXPECT_EQ(QFileInfo(path).size(), 9);
    // A folder where the file should be cannot be written: the error says so.
    QDir(dir.path()).mkdir(QStringLiteral("dossier.flt"));
    EXPECT_THROW(writeFilterFile(dir.filePath(QStringLiteral("dossier.flt")), lines), VermeoError);
    EXPECT_THROW(readFilterFile(dir.filePath(QStringLiteral("dossier.flt"))), VermeoError);
}
