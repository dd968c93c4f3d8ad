// JPEG and GIF: bounded round trips, the variants other programs make, damaged files.
#include "Error.h"
#include "FormatTestUtil.h"
#include "GifCodec.h"
#include "JpegCodec.h"
#include "Parallel.h"
#include "PictureFiles.h"

#include <QTemporaryDir>

#include <cmath>
#include <cstdio>
#include <jpeglib.h>

using namespace vermeo;
using namespace vermeo::formats;

namespace {
// Smooth enough for JPEG to keep it close.
Picture smooth(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb(x * 255 / w, y * 255 / h, 128));
    return Picture::fromImage(img);
}
} // namespace

TEST(Jpeg, RoundTripIsCloseAndBaseline)
{
    const Picture p = smooth(64, 48);
    const QByteArray f = encodeJpeg(p);
    EXPECT_TRUE(f.startsWith("\xFF\xD8"));
    EXPECT_TRUE(f.contains("\xFF\xC0")); // baseline frame marker
    EXPECT_FALSE(f.contains("\xFF\xC2"));
    const Picture back = decodeJpeg(f);
    ASSERT_EQ(back.image.size(), p.image.size());
    EXPECT_LE(test::maxDifference(back.image, p.image), 12);
}

TEST(Jpeg, DamagedFilesAreRefusedWithoutEndingTheProcess)
{
    EXPECT_THROW(decodeJpeg(QByteArray("\xFF\xD8\xFF\xE0garbage", 12)), VermeoError);
    EXPECT_THROW(decodeJpeg(QByteArray()), VermeoError);
    QByteArray f = encodeJpeg(smooth(16, 16));
    // Claim 60000 x 60000 in the frame header: refused before allocating.
    const int sof = int(f.indexOf("\xFF\xC0"));
    ASSERT_GT(sof, 0);
    f[sof + 5] = char(0xEA);
    f[sof + 6] = char(0x60);
    f[sof + 7] = char(0xEA);
    f[sof + 8] = char(0x60);
    EXPECT_THROW(decodeJpeg(f), VermeoError);
}

TEST(Jpeg, VariantsMadeByImageMagick)
{
    QTemporaryDir dir;
    const QString src = dir.filePath(QStringLiteral("src.png"));
    ASSERT_TRUE(smooth(40, 30).image.save(src));
    if (QStandardPaths::findExecutable(QStringLiteral("convert")).isEmpty())
        GTEST_SKIP() << "ImageMagick missing";
    const QList<QStringList> variants = {
        {"-quality", "95"},
        {"-interlace", "JPEG", "-quality", "95"},
        {"-colorspace", "Gray", "-quality", "95"},
        {"-colorspace", "CMYK", "-quality", "95"},
    };
    int n = 0;
    for (const QStringList &opts : variants) {
        const QString file = dir.filePath(QStringLiteral("v%1.jpg").arg(n++));
        ASSERT_TRUE(test::run(QStringLiteral("convert"), QStringList{src} + opts + QStringList{file}));
        const QString ref = dir.filePath(QStringLiteral("v%1.png").arg(n));
        ASSERT_TRUE(
            test::run(QStringLiteral("convert"), {file, "-colorspace", "sRGB", "-type", "TrueColor", "PNG24:" + ref}));
        const Picture p = readPictureFile(file);
        ASSERT_EQ(p.image.size(), QSize(40, 30)) << opts.join(' ').toStdString();
        // Decoders may round differently; CMYK conversion too.
        EXPECT_LE(test::maxDifference(p.image, QImage(ref).convertToFormat(QImage::Format_RGB32)), 8)
            << opts.join(' ').toStdString();
    }
}

TEST(Jpeg, ALargePhotoDecodesToDjpegsPixelsOnOneThreadOrTwoDamagedOrWhole)
{
    if (QStandardPaths::findExecutable(QStringLiteral("convert")).isEmpty() ||
        QStandardPaths::findExecutable(QStringLiteral("djpeg")).isEmpty())
        GTEST_SKIP() << "ImageMagick or djpeg missing";
    // Large enough to be decoded in two parts; varied so that every block has detail.
    QTemporaryDir dir;
    const QString src = dir.filePath(QStringLiteral("src.png"));
    ASSERT_TRUE(test::run(QStringLiteral("convert"), {"-size", "550x325", "-seed", "3", "plasma:fractal", "-resize",
                                                      "2200x1300!", src}));
    for (const char *sampling : {"2x2", "2x1", "1x1", "1x2"}) {
        SCOPED_TRACE(sampling);
        const QString jpg = dir.filePath(QStringLiteral("p.jpg")), ref = dir.filePath(QStringLiteral("ref.bmp"));
        ASSERT_TRUE(test::run(QStringLiteral("convert"), {src, "-quality", "88", "-sampling-factor", sampling, jpg}));
        ASSERT_TRUE(test::run(QStringLiteral("djpeg"), {"-bmp", "-outfile", ref, jpg}));
        const QByteArray whole = test::readFile(jpg);
        const QImage djpeg = readPictureFile(ref).image;
        auto decoded = [](const QByteArray &bytes, int threads, bool *truncated = nullptr) {
            const PassThreadsOverride override(threads);
            return decodeJpeg(bytes, truncated).image;
        };
        EXPECT_TRUE(test::samePixels(decoded(whole, 0), djpeg));
        EXPECT_TRUE(test::samePixels(decoded(whole, 2), djpeg));
        // Data damaged in the bottom part, and a file cut there: what one decompression
        // makes of them.
        QByteArray damaged = whole;
        for (qsizetype i = whole.size() * 8 / 10; i < whole.size() * 8 / 10 + 40; ++i)
            damaged[i] = char(0x5A);
        EXPECT_TRUE(test::samePixels(decoded(damaged, 2), decoded(damaged, 0)));
        const QByteArray cut = whole.left(whole.size() * 8 / 10);
        bool cutOnTwo = false, cutOnOne = false;
        EXPECT_TRUE(test::samePixels(decoded(cut, 2, &cutOnTwo), decoded(cut, 0, &cutOnOne)));
        EXPECT_TRUE(cutOnTwo && cutOnOne);
        EXPECT_THROW(decoded(cut, 2), VermeoError);
    }
}

namespace {
// Four-ink bands written by libjpeg as YCCK, in Adobe's inverted convention (255: no ink).
QByteArray ycckBands()
{
    const int w = 32, h = 8;
    // cyan, magenta, yellow, black inks; each band one ink at full strength
    const uchar inks[4][4] = {{255, 0, 0, 0}, {0, 255, 0, 0}, {0, 0, 255, 0}, {0, 0, 0, 255}};
    std::vector<uchar> pixels(size_t(w) * h * 4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < 4; ++c)
                pixels[size_t((y * w + x) * 4 + c)] = uchar(255 - inks[x / 8][c]);
    jpeg_compress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    unsigned char *buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = w;
    cinfo.image_height = h;
    cinfo.input_components = 4;
    cinfo.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&cinfo);
    jpeg_set_colorspace(&cinfo, JCS_YCCK);
    jpeg_set_quality(&cinfo, 100, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = pixels.data() + size_t(cinfo.next_scanline) * w * 4;
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    QByteArray out(reinterpret_cast<const char *>(buffer), qsizetype(size));
    std::free(buffer);
    return out;
}
} // namespace

TEST(Jpeg, YcckInksBecomeTheirColours)
{
    const QByteArray f = ycckBands();
    ASSERT_EQ(f.at(0), char(0xFF));
    const QImage img = decodeJpeg(f).image;
    ASSERT_EQ(img.size(), QSize(32, 8));
    const QRgb expected[4] = {qRgb(0, 255, 255), qRgb(255, 0, 255), qRgb(255, 255, 0), qRgb(0, 0, 0)};
    for (int band = 0; band < 4; ++band) {
        const QRgb got = img.pixel(band * 8 + 4, 4);
        EXPECT_LE(std::abs(qRed(got) - qRed(expected[band])), 12) << band;
        EXPECT_LE(std::abs(qGreen(got) - qGreen(expected[band])), 12) << band;
        EXPECT_LE(std::abs(qBlue(got) - qBlue(expected[band])), 12) << band;
    }
}

TEST(Gif, TrueColourIsReducedAndPaletteWrittenAsItIs)
{
    const Picture p = smooth(50, 40);
    const Picture back = decodeGif(encodeGif(p));
    ASSERT_EQ(back.image.size(), p.image.size());
    EXPECT_LE(test::maxDifference(back.image, p.image), 40);

    const Picture pal = test::palettePicture(23, 11, 4);
    const QByteArray f = encodeGif(pal);
    EXPECT_EQ(uchar(f[10]) & 7, 3); // global colour table of 16 entries
    EXPECT_TRUE(test::samePixels(decodeGif(f).image, pal.image));
}

TEST(Gif, FirstFrameTransparencyAndInterlace)
{
    QTemporaryDir dir;
    if (QStandardPaths::findExecutable(QStringLiteral("convert")).isEmpty())
        GTEST_SKIP() << "ImageMagick missing";
    const QString anim = dir.filePath(QStringLiteral("anim.gif"));
    ASSERT_TRUE(
        test::run(QStringLiteral("convert"), {"-size", "10x8", "xc:red", "xc:blue", "xc:lime", "-loop", "0", anim}));
    const Picture first = readPictureFile(anim);
    EXPECT_EQ(first.image.size(), QSize(10, 8));
    EXPECT_EQ(first.image.pixel(5, 5), qRgb(255, 0, 0));

    const QString transparent = dir.filePath(QStringLiteral("t.gif"));
    ASSERT_TRUE(test::run(QStringLiteral("convert"),
                          {"-size", "10x8", "xc:none", "-fill", "blue", "-draw", "rectangle 0,0 4,7", transparent}));
    const Picture t = readPictureFile(transparent);
    EXPECT_EQ(t.image.pixel(2, 2), qRgb(0, 0, 255));
    EXPECT_EQ(t.image.pixel(8, 2), qRgb(255, 255, 255));

    const QString src = dir.filePath(QStringLiteral("s.png"));
    ASSERT_TRUE(test::palettePicture(33, 21, 4).image.save(src));
    const QString inter = dir.filePath(QStringLiteral("i.gif"));
    ASSERT_TRUE(test::run(QStringLiteral("convert"), {src, "-interlace", "GIF", inter}));
    EXPECT_TRUE(test::samePixels(readPictureFile(inter).image, QImage(src)));
}

TEST(Gif, DamagedFilesAreRefused)
{
    QByteArray f = encodeGif(test::palettePicture(8, 8, 4));
    EXPECT_THROW(decodeGif(f.left(20)), VermeoError);
    QByteArray huge = f;
    huge[6] = char(0xFF);
    huge[7] = char(0xFF);
    huge[8] = char(0xFF);
    huge[9] = char(0xFF);
    EXPECT_THROW(decodeGif(huge), VermeoError);
    EXPECT_THROW(decodeGif(QByteArray("GIF89a")), VermeoError);
}

TEST(Gif, UpTo256ColoursAreWrittenExactly)
{
    // An 8-bit picture saved as GIF twice keeps every colour.
    const Picture p8 = test::palettePicture(40, 30, 8);
    const Picture once = decodeGif(encodeAs(FileKind::Gif, p8));
    const Picture twice = decodeGif(encodeAs(FileKind::Gif, once));
    EXPECT_TRUE(test::samePixels(once.image, p8.image));
    EXPECT_TRUE(test::samePixels(twice.image, p8.image));
    EXPECT_EQ(once.depth, 8);
    // A four-colour drawing in true colour keeps its grey.
    QImage drawing(30, 20, QImage::Format_RGB32);
    const QRgb four[4] = {qRgb(128, 128, 128), qRgb(255, 0, 0), qRgb(0, 0, 0), qRgb(255, 255, 255)};
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 30; ++x)
            drawing.setPixel(x, y, four[(x / 7 + y / 5) % 4]);
    EXPECT_TRUE(test::samePixels(decodeGif(encodeAs(FileKind::Gif, Picture::fromImage(drawing))).image, drawing));
    // 217 greys stay 217 greys.
    QImage greys(217, 3, QImage::Format_RGB32);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 217; ++x)
            greys.setPixel(x, y, qRgb(x + 20, x + 20, x + 20));
    EXPECT_TRUE(test::samePixels(decodeGif(encodeAs(FileKind::Gif, Picture::fromImage(greys))).image, greys));
}

TEST(Gif, MoreColoursAreReducedAndTheWrittenPictureIsWhatReadsBack)
{
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("many.gif"));
    const Picture many = smooth(120, 90);
    const Picture written = writePictureFile(many, name);
    EXPECT_EQ(written.depth, 8);
    EXPECT_TRUE(test::samePixels(readPictureFile(name).image, written.image));
    EXPECT_LE(test::maxDifference(written.image, many.image), 40);
}

namespace {
// Peak signal to noise ratio of b against a, in decibels.
double psnr(const QImage &a, const QImage &b)
{
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            for (int d : {qRed(p) - qRed(q), qGreen(p) - qGreen(q), qBlue(p) - qBlue(q)})
                sum += double(d) * d;
        }
    const double mse = sum / (3.0 * a.width() * a.height());
    return 10 * std::log10(255.0 * 255.0 / std::max(mse, 1e-9));
}
} // namespace

TEST(Gif, APhotoLargerThanThePaletteSampleKeepsItsQualityAndItsRareColours)
{
    // A smooth photograph-like picture with a small red mark: the palette is chosen on
    // a sample, which must neither lose the mark nor band the gradients.
    QImage photo = smooth(1600, 1200).image;
    for (int y = 600; y < 630; ++y)
        for (int x = 800; x < 830; ++x)
            photo.setPixel(x, y, qRgb(230, 10, 20));
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("photo.gif"));
    writePictureFile(Picture::fromImage(photo), name);
    // Read back by another program.
    QByteArray ppm;
    ASSERT_TRUE(test::run(QStringLiteral("/usr/bin/convert"), {name, QStringLiteral("ppm:-")}, &ppm) ||
                test::run(QStringLiteral("convert"), {name, QStringLiteral("ppm:-")}, &ppm));
    const QImage back = QImage::fromData(ppm, "PPM").convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(back.size(), photo.size());
    EXPECT_GE(psnr(photo, back), 30.0);
    const QRgb mark = back.pixel(815, 615);
    EXPECT_LE(std::abs(qRed(mark) - 230) + std::abs(qGreen(mark) - 10) + std::abs(qBlue(mark) - 20), 30)
        << qRed(mark) << "," << qGreen(mark) << "," << qBlue(mark);
    // The same bits whatever the number of cores, and from one run to the next.
    QByteArray one;
    {
        PassThreadsOverride single(0);
        one = encodeGif(Picture::fromImage(photo));
    }
    EXPECT_EQ(one, encodeGif(Picture::fromImage(photo)));
    EXPECT_EQ(one, encodeGif(Picture::fromImage(photo)));
}
