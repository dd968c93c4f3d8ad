// Photos as other programs write them: EXIF orientation (exiftool, ImageMagick), ICC
// profiles (made here with LittleCMS, embedded by ImageMagick and cwebp, converted for
// reference by ImageMagick), WebP (cwebp, dwebp, vips) and HEIC/AVIF (heif-enc,
// ImageMagick, heif-convert).
#include "Error.h"
#include "FormatTestUtil.h"
#include "GeometryKernels.h"
#include "HeifCodec.h"
#include "PhotoMetadata.h"
#include "PictureFiles.h"
#include "Rotate.h"
#include "Thumbnails.h"
#include "WebpCodec.h"

#include <lcms2.h>

using namespace vermeo;
using namespace vermeo::formats;

namespace {
bool have(const char *tool) { return !QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty(); }

#define NEED(tool)                                                                                                     \
    if (!have(tool))                                                                                                   \
    GTEST_SKIP() << tool " missing"

// Four flat quarters and a corner mark: any turn or mirror shows, and JPEG keeps it.
QImage quarters(int w, int h)
{
    QImage img = newWorkingImage(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool right = x >= w / 2, bottom = y >= h / 2;
            QRgb c = !right && !bottom  ? qRgb(220, 30, 30)
                     : right && !bottom ? qRgb(30, 200, 40)
                     : !right           ? qRgb(40, 40, 210)
                                        : qRgb(240, 230, 40);
            if (x < w / 8 && y < h / 8)
                c = qRgb(255, 255, 255);
            img.setPixel(x, y, c);
        }
    return img;
}

// A smooth picture with saturated colours, where a profile's change shows everywhere.
QImage colourful(int w, int h)
{
    QImage img = newWorkingImage(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb(x * 255 / (w - 1), y * 255 / (h - 1), (x + y) * 255 / (w + h - 2)));
    return img;
}

QImage readImage(const QString &file) { return readPictureFile(file).image; }

QString saveIcc(cmsHPROFILE p, const QString &file)
{
    cmsUInt32Number n = 0;
    cmsSaveProfileToMem(p, nullptr, &n);
    QByteArray bytes(qsizetype(n), Qt::Uninitialized);
    cmsSaveProfileToMem(p, bytes.data(), &n);
    cmsCloseProfile(p);
    test::writeFile(file, bytes);
    return file;
}

// Display P3 (P3 primaries, D65, sRGB's curve) and Adobe RGB (1998), built as their
// makers define them.
QString displayP3(const QString &file)
{
    const cmsFloat64Number srgb[5] = {2.4, 1 / 1.055, 0.055 / 1.055, 1 / 12.92, 0.04045};
    cmsToneCurve *curve = cmsBuildParametricToneCurve(nullptr, 4, srgb);
    cmsToneCurve *curves[3] = {curve, curve, curve};
    const cmsCIExyY d65 = {0.3127, 0.3290, 1};
    const cmsCIExyYTRIPLE p3 = {{0.680, 0.320, 1}, {0.265, 0.690, 1}, {0.150, 0.060, 1}};
    cmsHPROFILE p = cmsCreateRGBProfile(&d65, &p3, curves);
    cmsFreeToneCurve(curve);
    return saveIcc(p, file);
}

QString adobeRgb(const QString &file)
{
    cmsToneCurve *curve = cmsBuildGamma(nullptr, 563.0 / 256.0);
    cmsToneCurve *curves[3] = {curve, curve, curve};
    const cmsCIExyY d65 = {0.3127, 0.3290, 1};
    const cmsCIExyYTRIPLE adobe = {{0.64, 0.33, 1}, {0.21, 0.71, 1}, {0.15, 0.06, 1}};
    cmsHPROFILE p = cmsCreateRGBProfile(&d65, &adobe, curves);
    cmsFreeToneCurve(curve);
    return saveIcc(p, file);
}

QString srgbProfile(const QString &file) { return saveIcc(cmsCreate_sRGBProfile(), file); }

// ImageMagick's own conversion of pixels taken as the given profile into sRGB.
QImage referenceToSrgb(const QImage &pixels, const QString &profile, const QString &srgb, const QString &dir)
{
    const QString raw = dir + QStringLiteral("/ref-in.png"), out = dir + QStringLiteral("/ref-out.png");
    EXPECT_TRUE(pixels.save(raw));
    EXPECT_TRUE(test::run(QStringLiteral("convert"),
                          {raw, QStringLiteral("-profile"), profile, QStringLiteral("-profile"), srgb, out}));
    return QImage(out).convertToFormat(QImage::Format_RGB32);
}
} // namespace

TEST(Orientation, AllEightExifOrientationsComeUprightWithTheProgramsOwnTurnsAndMirrors)
{
    NEED("exiftool");
    NEED("convert");
    QTemporaryDir dir;
    const QString plain = dir.filePath(QStringLiteral("plain.jpg"));
    ASSERT_TRUE(quarters(64, 32).save(plain, "JPEG", 95));
    const QImage stored = readImage(plain);
    Progress &none = silentProgress();
    // What each orientation means, said with the "Image" menu's own kernels.
    const QImage expected[9] = {{},
                                stored,
                                geometry::mirrorVertical(stored),
                                geometry::rotateImage(stored, 0, 180, none),
                                geometry::mirrorHorizontal(stored),
                                geometry::mirrorHorizontal(geometry::rotateImage(stored, 0, 90, none)),
                                geometry::rotateImage(stored, 0, 270, none),
                                geometry::mirrorHorizontal(geometry::rotateImage(stored, 0, 270, none)),
                                geometry::rotateImage(stored, 0, 90, none)};
    for (int o = 1; o <= 8; ++o) {
        const QString file = dir.filePath(QStringLiteral("o%1.jpg").arg(o));
        ASSERT_TRUE(
            test::run(QStringLiteral("exiftool"), {QStringLiteral("-n"), QStringLiteral("-Orientation=%1").arg(o),
                                                   QStringLiteral("-o"), file, plain}));
        const QImage upright = readImage(file);
        EXPECT_EQ(upright, expected[o]) << "orientation " << o;
        // ImageMagick turns it the same way (its own JPEG decoder: within a level or two).
        const QString ref = file + QStringLiteral(".png");
        ASSERT_TRUE(test::run(QStringLiteral("convert"), {file, QStringLiteral("-auto-orient"), ref}));
        const QImage theirs = QImage(ref).convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(theirs.size(), upright.size()) << o;
        EXPECT_LE(test::maxDifference(theirs, upright), 3) << o;
    }
    // The thumbnail page and the batch converter read them upright too.
    const QString sideways = dir.filePath(QStringLiteral("o6.jpg"));
    EXPECT_EQ(readByExtension(sideways).image.size(), QSize(32, 64));
    Picture batch;
    LitFichier(batch, sideways);
    EXPECT_EQ(batch.image, expected[6]);
    // The reduced decode of the thumbnails too, with the upright size.
    const Thumbnail t = readThumbnail(sideways, QSize(8, 16));
    EXPECT_EQ(t.fullSize, QSize(32, 64));
    EXPECT_EQ(t.image.size(), QSize(8, 16));
}

TEST(Orientation, ATurnedTiffComesUprightAndAWrittenJpegCarriesNoStaleTag)
{
    NEED("exiftool");
    NEED("convert");
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("q.png")), tif = dir.filePath(QStringLiteral("q.tif"));
    const QImage q = quarters(40, 24);
    ASSERT_TRUE(q.save(png));
    ASSERT_TRUE(
        test::run(QStringLiteral("convert"), {png, QStringLiteral("-orient"), QStringLiteral("RightTop"), tif}));
    EXPECT_EQ(readImage(tif), geometry::rotateImage(q, 0, 270, silentProgress()));

    const QString jpg = dir.filePath(QStringLiteral("side.jpg")), out = dir.filePath(QStringLiteral("out.jpg"));
    ASSERT_TRUE(q.save(jpg, "JPEG", 95));
    ASSERT_TRUE(test::run(QStringLiteral("exiftool"), {QStringLiteral("-n"), QStringLiteral("-Orientation=6"),
                                                       QStringLiteral("-overwrite_original"), jpg}));
    const Picture upright = readPictureFile(jpg);
    writePictureFile(upright, out);
    QByteArray tag;
    ASSERT_TRUE(test::run(QStringLiteral("exiftool"),
                          {QStringLiteral("-n"), QStringLiteral("-s3"), QStringLiteral("-Orientation"), out}, &tag));
    EXPECT_TRUE(tag.trimmed().isEmpty() || tag.trimmed() == "1") << tag.constData();
    // Read again it is as upright as it was, not turned a second time.
    EXPECT_EQ(readImage(out).size(), QSize(24, 40));
}

TEST(Colour, DisplayP3AndAdobeRgbAreConvertedAsImageMagickConvertsThem)
{
    NEED("convert");
    NEED("jpegtran");
    QTemporaryDir dir;
    const QString p3 = displayP3(dir.filePath(QStringLiteral("p3.icc")));
    const QString adobe = adobeRgb(dir.filePath(QStringLiteral("adobe.icc")));
    const QString srgb = srgbProfile(dir.filePath(QStringLiteral("srgb.icc")));
    const QImage source = colourful(96, 64);
    const QString png = dir.filePath(QStringLiteral("src.png"));
    ASSERT_TRUE(source.save(png));
    struct Case {
        QString profile;
        const char *file;
    };
    for (const Case &c : {Case{p3, "p3.jpg"}, Case{p3, "p3.png"}, Case{adobe, "adobe.tif"}, Case{adobe, "adobe.jpg"}}) {
        const QString tagged = dir.filePath(QLatin1String(c.file));
        // -profile on a picture without one only embeds it.
        ASSERT_TRUE(test::run(QStringLiteral("convert"), {png, QStringLiteral("-quality"), QStringLiteral("95"),
                                                          QStringLiteral("-profile"), c.profile, tagged}));
        // The same pixels without the profile, as we decode them, are what ImageMagick converts.
        const bool jpeg = QString::fromLatin1(c.file).endsWith(QLatin1String(".jpg"));
        const QString untagged = dir.filePath(QStringLiteral("untagged-") + QLatin1String(c.file));
        if (jpeg) { // jpegtran drops the markers without coding the picture again
            ASSERT_TRUE(test::run(QStringLiteral("jpegtran"), {QStringLiteral("-copy"), QStringLiteral("none"),
                                                               QStringLiteral("-outfile"), untagged, tagged}));
        }
        const QImage raw = jpeg ? readImage(untagged) : source;
        const QImage ours = readImage(tagged);
        const QImage ref = referenceToSrgb(raw, c.profile, srgb, dir.path());
        ASSERT_EQ(ours.size(), ref.size()) << c.file;
        EXPECT_LE(test::maxDifference(ours, ref), 1) << c.file;
        // And the conversion did something: these colours lie outside sRGB's gamut edge.
        EXPECT_GE(test::maxDifference(ours, raw), 20) << c.file;
    }
}

TEST(Colour, PicturesWithoutAProfileOrWithSrgbsAreLeftBitForBit)
{
    NEED("convert");
    NEED("exiftool");
    QTemporaryDir dir;
    const QString srgb = srgbProfile(dir.filePath(QStringLiteral("srgb.icc")));
    const QImage source = test::noise(50, 30);
    const QString png = dir.filePath(QStringLiteral("src.png"));
    ASSERT_TRUE(source.save(png));
    for (const char *ext : {"jpg", "png", "tif", "webp"}) {
        const QString plain = dir.filePath(QStringLiteral("plain.%1").arg(QLatin1String(ext)));
        const QString tagged = dir.filePath(QStringLiteral("tagged.%1").arg(QLatin1String(ext)));
        ASSERT_TRUE(test::run(QStringLiteral("convert"),
                              {png, QStringLiteral("-define"), QStringLiteral("webp:lossless=true"), plain}));
        // exiftool embeds the profile without coding the JPEG again.
        if (qstrcmp(ext, "jpg") == 0)
            ASSERT_TRUE(test::run(QStringLiteral("exiftool"),
                                  {QStringLiteral("-ICC_Profile<=") + srgb, QStringLiteral("-o"), tagged, plain}));
        else
            ASSERT_TRUE(test::run(QStringLiteral("convert"), {plain, QStringLiteral("-profile"), srgb, tagged}));
        ASSERT_NE(test::readFile(plain), test::readFile(tagged)) << ext;
        const QImage untouched = readImage(plain);
        EXPECT_EQ(test::maxDifference(readImage(tagged), untouched), 0) << ext;
        if (qstrcmp(ext, "jpg") != 0) {
            EXPECT_EQ(test::maxDifference(untouched, source), 0) << ext;
        }
    }
}

TEST(Webp, FilesOfCwebpReadAsDwebpDecodesThemAndTransparencyLiesOnWhite)
{
    NEED("cwebp");
    NEED("dwebp");
    QTemporaryDir dir;
    const QImage source = test::varied(70, 45);
    const QString png = dir.filePath(QStringLiteral("src.png"));
    ASSERT_TRUE(source.save(png));
    const QString lossless = dir.filePath(QStringLiteral("ll.webp")), lossy = dir.filePath(QStringLiteral("ly.webp"));
    ASSERT_TRUE(test::run(QStringLiteral("cwebp"), {QStringLiteral("-quiet"), QStringLiteral("-lossless"), png,
                                                    QStringLiteral("-o"), lossless}));
    ASSERT_TRUE(test::run(QStringLiteral("cwebp"), {QStringLiteral("-quiet"), QStringLiteral("-q"),
                                                    QStringLiteral("80"), png, QStringLiteral("-o"), lossy}));
    EXPECT_EQ(readImage(lossless), source);
    const QString decoded = dir.filePath(QStringLiteral("ly.png"));
    ASSERT_TRUE(test::run(QStringLiteral("dwebp"), {QStringLiteral("-quiet"), lossy, QStringLiteral("-o"), decoded}));
    EXPECT_EQ(readImage(lossy), QImage(decoded).convertToFormat(QImage::Format_RGB32));

    // Half-transparent red over white is pink, fully transparent is white.
    QImage alpha(8, 2, QImage::Format_ARGB32);
    for (int x = 0; x < 8; ++x) {
        alpha.setPixel(x, 0, qRgba(255, 0, 0, x * 255 / 7));
        alpha.setPixel(x, 1, qRgba(0, 0, 255, 255));
    }
    const QString apng = dir.filePath(QStringLiteral("a.png")), awebp = dir.filePath(QStringLiteral("a.webp"));
    ASSERT_TRUE(alpha.save(apng));
    ASSERT_TRUE(test::run(QStringLiteral("cwebp"), {QStringLiteral("-quiet"), QStringLiteral("-lossless"),
                                                    QStringLiteral("-exact"), apng, QStringLiteral("-o"), awebp}));
    const QImage onWhite = readImage(awebp);
    EXPECT_EQ(onWhite.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(onWhite.pixel(7, 0), qRgb(255, 0, 0));
    EXPECT_LE(std::abs(qGreen(onWhite.pixel(3, 0)) - (255 - 3 * 255 / 7)), 1);
    EXPECT_EQ(onWhite.pixel(4, 1), qRgb(0, 0, 255));
}

TEST(Webp, WrittenFilesAreLossyAtNinetyOrLosslessAndOtherProgramsReadThem)
{
    NEED("dwebp");
    QTemporaryDir dir;
    const Picture pic = Picture::fromImage(colourful(120, 80));
    const QString lossy = dir.filePath(QStringLiteral("a.webp")), lossless = dir.filePath(QStringLiteral("b.webp"));
    writePictureFile(pic, lossy);
    writePictureFile(pic, lossless, {.lossless = true});
    EXPECT_EQ(test::readFile(lossy).mid(12, 4), "VP8 ");
    EXPECT_EQ(test::readFile(lossless).mid(12, 4), "VP8L");
    const QString out = dir.filePath(QStringLiteral("b.png"));
    ASSERT_TRUE(test::run(QStringLiteral("dwebp"), {QStringLiteral("-quiet"), lossless, QStringLiteral("-o"), out}));
    EXPECT_TRUE(test::samePixels(QImage(out), pic.image));
    ASSERT_TRUE(test::run(QStringLiteral("dwebp"), {QStringLiteral("-quiet"), lossy, QStringLiteral("-o"), out}));
    const int lossyError = test::maxDifference(QImage(out).convertToFormat(QImage::Format_RGB32), pic.image);
    EXPECT_GT(lossyError, 0);
    EXPECT_LE(lossyError, 24);
    if (have("vips")) {
        QByteArray width;
        EXPECT_TRUE(
            test::run(QStringLiteral("vipsheader"), {QStringLiteral("-f"), QStringLiteral("width"), lossy}, &width));
        EXPECT_EQ(width.trimmed(), "120");
    }
    // Beyond WebP's sides nothing is written and the reason is given.
    const QString big = dir.filePath(QStringLiteral("big.webp"));
    try {
        writePictureFile(Picture::fromImage(newWorkingImage(16384, 2, 0xFFFFFFFFu)), big);
        ADD_FAILURE() << "written";
    } catch (const VermeoError &e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("16 383"))) << qPrintable(e.message());
    }
    EXPECT_FALSE(QFile::exists(big));
}

TEST(Heif, HeicAndAvifOfOtherProgramsReadAsHeifConvertDecodesThem)
{
    NEED("heif-convert");
    NEED("convert");
    QTemporaryDir dir;
    const QImage source = colourful(64, 48);
    const QString png = dir.filePath(QStringLiteral("src.png"));
    ASSERT_TRUE(source.save(png));
    QStringList made;
    const QString heic = dir.filePath(QStringLiteral("a.heic")), avif = dir.filePath(QStringLiteral("a.avif"));
    if (have("heif-enc") && test::run(QStringLiteral("heif-enc"),
                                      {QStringLiteral("-q"), QStringLiteral("90"), QStringLiteral("-o"), heic, png}))
        made << heic;
    if (test::run(QStringLiteral("convert"), {png, QStringLiteral("-quality"), QStringLiteral("90"), avif}))
        made << avif;
    ASSERT_FALSE(made.isEmpty());
    for (const QString &file : made) {
        const QString ref = file + QStringLiteral(".png");
        ASSERT_TRUE(test::run(QStringLiteral("heif-convert"), {file, ref})) << qPrintable(file);
        const QImage theirs = QImage(ref).convertToFormat(QImage::Format_RGB32);
        const QImage ours = readImage(file);
        ASSERT_EQ(ours.size(), QSize(64, 48)) << qPrintable(file);
        EXPECT_LE(test::maxDifference(ours, theirs), 1) << qPrintable(file);
        EXPECT_LE(test::maxDifference(ours, source), 40) << qPrintable(file);
    }
    // Transparency lies on white, as ImageMagick flattens heif-convert's picture.
    if (!have("heif-enc"))
        return;
    QImage alpha(24, 24, QImage::Format_ARGB32);
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 24; ++x)
            alpha.setPixel(x, y, x < 12 ? qRgba(255, 0, 0, 255) : qRgba(0, 0, 255, 128));
    const QString apng = dir.filePath(QStringLiteral("t.png")), aheic = dir.filePath(QStringLiteral("t.heic"));
    const QString ref = dir.filePath(QStringLiteral("t-ref.png")), flat = dir.filePath(QStringLiteral("t-flat.png"));
    ASSERT_TRUE(alpha.save(apng));
    ASSERT_TRUE(test::run(QStringLiteral("heif-enc"),
                          {QStringLiteral("-q"), QStringLiteral("90"), QStringLiteral("-o"), aheic, apng}));
    ASSERT_TRUE(test::run(QStringLiteral("heif-convert"), {aheic, ref}));
    ASSERT_TRUE(test::run(QStringLiteral("convert"), {ref, QStringLiteral("-background"), QStringLiteral("white"),
                                                      QStringLiteral("-flatten"), flat}));
    const QImage onWhite = readImage(aheic);
    EXPECT_LE(test::maxDifference(onWhite, QImage(flat).convertToFormat(QImage::Format_RGB32)), 2);
    EXPECT_GE(qRed(onWhite.pixel(18, 12)), 100); // blue at half over white, not over black
}

TEST(Robust, DamagedEmptyAndHugeNewFilesGiveOneFrenchMessage)
{
    NEED("cwebp");
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("src.png"));
    ASSERT_TRUE(test::varied(64, 48).save(png));
    const QString webp = dir.filePath(QStringLiteral("a.webp"));
    ASSERT_TRUE(test::run(QStringLiteral("cwebp"), {QStringLiteral("-quiet"), png, QStringLiteral("-o"), webp}));
    auto message = [&](const QString &name, const QByteArray &bytes) {
        const QString file = dir.filePath(name);
        test::writeFile(file, bytes);
        try {
            readPictureFile(file);
        } catch (const VermeoError &e) {
            return e.message();
        }
        return QStringLiteral("(lu)");
    };
    const QByteArray good = test::readFile(webp);
    EXPECT_TRUE(message(QStringLiteral("vide.webp"), {}).contains(QStringLiteral("fichier vide")));
    EXPECT_TRUE(message(QStringLiteral("coupe.webp"), good.left(good.size() / 2))
                    .startsWith(QStringLiteral("Impossible d'ouvrir « coupe.webp » : fichier WebP")));
    EXPECT_TRUE(message(QStringLiteral("texte.webp"), "pas une image")
                    .contains(QStringLiteral("ce n'est pas un fichier WebP")));
    // A 100000 x 100000 canvas in 40 bytes: refused before anything is allocated for it.
    QByteArray huge("RIFF\x28\x00\x00\x00WEBPVP8X\x0A\x00\x00\x00", 20);
    huge += QByteArray("\x00\x00\x00\x00", 4);
    const int side = 100000 - 1;
    for (int i = 0; i < 2; ++i)
        huge += QByteArray::fromRawData(reinterpret_cast<const char *>(&side), 3);
    huge += QByteArray("VP8L\x05\x00\x00\x00\x2f\x00\x00\x00\x00\x00", 14);
    EXPECT_TRUE(message(QStringLiteral("grand.webp"), huge).contains(QStringLiteral("100000 x 100000")))
        << qPrintable(message(QStringLiteral("grand.webp"), huge));
    if (have("heif-enc") &&
        test::run(QStringLiteral("heif-enc"), {QStringLiteral("-o"), dir.filePath(QStringLiteral("a.heic")), png})) {
        QByteArray heic = test::readFile(dir.filePath(QStringLiteral("a.heic")));
        EXPECT_TRUE(message(QStringLiteral("coupe.heic"), heic.left(heic.size() / 2))
                        .startsWith(QStringLiteral("Impossible d'ouvrir « coupe.heic » : fichier HEIF")));
        // The declared size (ispe) made 100000 x 100000.
        const qsizetype ispe = heic.indexOf("ispe");
        ASSERT_GT(ispe, 0);
        for (int at : {8, 12}) {
            heic[ispe + at] = 0;
            heic[ispe + at + 1] = char(0x01);
            heic[ispe + at + 2] = char(0x86);
            heic[ispe + at + 3] = char(0xA0);
        }
        const QString m = message(QStringLiteral("grand.heic"), heic);
        EXPECT_TRUE(m.startsWith(QStringLiteral("Impossible d'ouvrir « grand.heic » : fichier HEIF"))) << qPrintable(m);
    }
}

TEST(Orientation, TheExifReaderTakesBothByteOrdersAndIgnoresWhatIsDamaged)
{
    // "Exif\0\0", a TIFF header, one directory of one entry: tag 0x0112, SHORT, 1 value.
    auto block = [](bool little, int value, int entries = 1) {
        QByteArray b("Exif\0\0", 6);
        auto u16 = [&](int v) {
            little ? b.append(char(v & 255)).append(char(v >> 8)) : b.append(char(v >> 8)).append(char(v & 255));
        };
        auto u32 = [&](int v) { little ? (u16(v & 0xFFFF), u16(v >> 16)) : (u16(v >> 16), u16(v & 0xFFFF)); };
        b += little ? "II" : "MM";
        u16(42);
        u32(8);
        u16(entries);
        u16(0x0112);
        u16(3);
        u32(1);
        u16(value);
        u16(0);
        return b;
    };
    auto orientation = [](const QByteArray &b) {
        return exifOrientation(reinterpret_cast<const unsigned char *>(b.constData()), size_t(b.size()));
    };
    EXPECT_EQ(orientation(block(true, 6)), 6);
    EXPECT_EQ(orientation(block(false, 8)), 8);
    EXPECT_EQ(orientation(block(false, 9)), 1);         // no such orientation
    EXPECT_EQ(orientation(block(true, 3, 200)), 3);     // a count past the end: the entries there are read
    EXPECT_EQ(orientation(block(true, 6).left(20)), 1); // cut inside the entry
    EXPECT_EQ(orientation(QByteArray("Exig\0\0II", 8)), 1);
}
