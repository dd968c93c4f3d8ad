// The thumbnail browser's reading, fitting and paging, and the batch converter's
// naming, failures and parallel runs.
#include "BatchConversion.h"
#include "Error.h"
#include "FolderTree.h"
#include "FormatTestUtil.h"
#include "Parallel.h"
#include "PictureFiles.h"
#include "TVignettes.h"
#include "Thumbnails.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QTest>
#include <QToolButton>

using namespace vermeo;
using namespace vermeo::formats;

namespace {
// Waits (without a timed assertion) until the page has read all its cells.
void waitFilled(TVignettes &page)
{
    QElapsedTimer t;
    t.start();
    while (page.filling() && t.elapsed() < 60000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
}

QStringList labels(const TVignettes &page)
{
    QStringList out;
    for (const QLabel *l : page.Labels)
        out << l->text();
    return out;
}

// count small pictures p00.bmp, p01.bmp... in dir.
QStringList pictures(const QTemporaryDir &dir, int count)
{
    QStringList names;
    for (int i = 0; i < count; ++i) {
        names << dir.filePath(QStringLiteral("p%1.bmp").arg(i, 2, 10, QLatin1Char('0')));
        writePictureFile(test::truecolourPicture(40 + i, 30), names.last());
    }
    return names;
}

QStringList expectedLabels(int from, int to)
{
    QStringList out;
    for (int i = from; i <= to; ++i)
        out << QStringLiteral("p%1.bmp").arg(i, 2, 10, QLatin1Char('0'));
    while (out.size() < TVignettes::kCells)
        out << QString();
    return out;
}
} // namespace

TEST(Thumbnails, LargeJpegsAreDecodedReducedButNeverBelowTheCell)
{
    QTemporaryDir dir;
    const QString jpg = dir.filePath(QStringLiteral("big.JPG"));
    test::writeFile(jpg, encodeAs(FileKind::Jpeg, Picture::fromImage(test::varied(1600, 1200))));
    const Thumbnail t = readThumbnail(jpg, QSize(188, 144));
    EXPECT_EQ(t.fullSize, QSize(1600, 1200));
    EXPECT_EQ(t.image.size(), QSize(200, 150)); // an eighth still covers the cell
    const Thumbnail q = readThumbnail(jpg, QSize(500, 300));
    EXPECT_EQ(q.image.size(), QSize(800, 600)); // a half: a quarter would not cover 500
    // A picture smaller than the cell keeps its size.
    const QString small = dir.filePath(QStringLiteral("small.jpg"));
    test::writeFile(small, encodeAs(FileKind::Jpeg, Picture::fromImage(test::varied(100, 900))));
    EXPECT_EQ(readThumbnail(small, QSize(188, 144)).image.size(), QSize(100, 900));
}

TEST(Thumbnails, BitmapsAreSampledBandByBandAndDamagedFilesNameThemselves)
{
    QTemporaryDir dir;
    const QString bmp = dir.filePath(QStringLiteral("big.bmp"));
    const Picture pic = Picture::fromImage(test::varied(1000, 700));
    writePictureFile(pic, bmp);
    const Thumbnail t = readThumbnail(bmp, QSize(188, 144));
    EXPECT_EQ(t.fullSize, QSize(1000, 700));
    EXPECT_EQ(t.image.size(), QSize(250, 175)); // every 4th row and column
    EXPECT_EQ(t.image.pixel(3, 5), pic.image.pixel(12, 20));
    const QString pcx = dir.filePath(QStringLiteral("p.pcx"));
    writePictureFile(test::palettePicture(400, 300, 8), pcx);
    EXPECT_EQ(readThumbnail(pcx, QSize(188, 144)).image.size(), QSize(200, 150));
    const QString bad = dir.filePath(QStringLiteral("bad.jpg"));
    test::writeFile(bad, QByteArray("\xFF\xD8\xFF garbage"));
    try {
        readThumbnail(bad, QSize(188, 144));
        ADD_FAILURE() << "no error";
    } catch (const VermeoError &e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("bad.jpg"))) << e.message().toStdString();
    }
}

TEST(Thumbnails, EchelleShowsTheWholePictureInItsShapeAboveTheName)
{
    const QSize panel(190, 160); // picture area 188 x 142, the name's line under it
    const QRect area(1, 1, 188, 142);
    // Wide, tall, square, a strip: the whole picture, as large as the area allows, centred.
    CellFit f = fitInCell(QSize(6000, 4000), panel);
    EXPECT_TRUE(f.stretch);
    EXPECT_EQ(f.view, QRect(1, 1 + (142 - 125) / 2, 188, 125));
    f = fitInCell(QSize(480, 640), panel);
    EXPECT_EQ(f.view, QRect(1 + (188 - 107) / 2, 1, 107, 142));
    f = fitInCell(QSize(500, 500), panel);
    EXPECT_EQ(f.view.size(), QSize(142, 142));
    f = fitInCell(QSize(1000, 100), panel);
    EXPECT_TRUE(f.stretch);
    EXPECT_EQ(f.view.size(), QSize(188, 19));
    f = fitInCell(QSize(216, 144), panel); // larger one way only is scaled too
    EXPECT_EQ(f.view.size(), QSize(188, 125));
    f = fitInCell(QSize(100000, 1), panel);
    EXPECT_EQ(f.view.size(), QSize(188, 1));
    for (QSize s : {QSize(6000, 4000), QSize(480, 640), QSize(1000, 100), QSize(216, 144), QSize(3, 5000)})
        EXPECT_TRUE(area.contains(fitInCell(s, panel).view)) << s.width() << "x" << s.height();
    // Small: its own size, centred in the whole area.
    for (QSize s : {QSize(100, 80), QSize(188, 142)}) {
        f = fitInCell(s, panel);
        EXPECT_FALSE(f.stretch);
        EXPECT_EQ(f.view, area);
    }
}

TEST(Vignettes, EachThumbnailKeepsItsShapeShowsItsEdgesAndLeavesTheNameClear)
{
    // Pictures framed in pure blue: the frame's box on the page is where the picture is.
    QTemporaryDir dir;
    const QSize sizes[] = {{480, 640}, {6000, 4000}, {1000, 100}, {216, 144}, {60, 40}};
    QStringList names;
    for (const QSize &s : sizes) {
        const int t = std::max(2, std::min(s.width(), s.height()) / 12);
        QImage framed(s, QImage::Format_RGB32);
        framed.fill(qRgb(0, 0, 255));
        for (int y = t; y < s.height() - t; ++y)
            std::fill_n(reinterpret_cast<QRgb *>(framed.scanLine(y)) + t, s.width() - 2 * t, qRgb(250, 250, 200));
        names << dir.filePath(QStringLiteral("%1x%2.bmp").arg(s.width()).arg(s.height()));
        writePictureFile(Picture::fromImage(framed), names.last());
    }
    TVignettes page;
    page.Init(names);
    page.show();
    waitFilled(page);
    for (int k = 0; k < int(names.size()); ++k) {
        const QSize s = sizes[k];
        const QImage cell = page.Panels[k]->grab().toImage().convertToFormat(QImage::Format_RGB32);
        int left = cell.width(), top = cell.height(), right = -1, bottom = -1;
        for (int y = 0; y < cell.height(); ++y)
            for (int x = 0; x < cell.width(); ++x) {
                const QRgb c = cell.pixel(x, y);
                if (qBlue(c) > 200 && qRed(c) < 60 && qGreen(c) < 60) {
                    left = std::min(left, x), right = std::max(right, x);
                    top = std::min(top, y), bottom = std::max(bottom, y);
                }
            }
        ASSERT_GE(right, 0) << k;
        const QRect shown(QPoint(left, top), QPoint(right, bottom));
        const QRect label = page.Labels[k]->geometry();
        // Its shape, within a pixel on the shorter side.
        if (s.width() >= s.height())
            EXPECT_NEAR(shown.height(), shown.width() * double(s.height()) / s.width(), 1.5) << k;
        else
            EXPECT_NEAR(shown.width(), shown.height() * double(s.width()) / s.height(), 1.5) << k;
        // Whole: the frame on all four sides, inside the cell and above the name.
        EXPECT_GE(shown.left(), 1) << k;
        EXPECT_LE(shown.right(), cell.width() - 2) << k;
        EXPECT_LT(shown.bottom(), label.top()) << k;
        const int midY = shown.center().y(), midX = shown.center().x();
        EXPECT_EQ(qBlue(cell.pixel(shown.left(), midY)), 255) << k;
        EXPECT_EQ(qBlue(cell.pixel(shown.right(), midY)), 255) << k;
        EXPECT_EQ(qBlue(cell.pixel(midX, shown.top())), 255) << k;
        EXPECT_EQ(qBlue(cell.pixel(midX, shown.bottom())), 255) << k;
        EXPECT_EQ(page.Labels[k]->text(), QFileInfo(names[k]).fileName());
        EXPECT_FALSE(label.intersects(page.Images[k]->geometry())) << k;
    }
    // The small picture at its own size.
    EXPECT_EQ(page.Images[4]->pixmap().size(), QSize(60, 40));
}

TEST(Vignettes, ThirteenPicturesPageByTwelveAndNextShowsTheLastTwelve)
{
    QTemporaryDir dir;
    const QStringList names = pictures(dir, 13);
    TVignettes page;
    page.Init(names);
    waitFilled(page);
    EXPECT_EQ(labels(page), expectedLabels(0, 11));
    EXPECT_FALSE(page.Images[11]->pixmap().isNull());
    page.SpeedButton3->click(); // next
    waitFilled(page);
    EXPECT_EQ(page.first(), 1);
    EXPECT_EQ(labels(page), expectedLabels(1, 12));
    QTest::keyClick(&page, Qt::Key_PageUp);
    EXPECT_EQ(page.first(), 0);
    page.SpeedButton4->click(); // last
    EXPECT_EQ(page.first(), 1);
    page.SpeedButton1->click(); // first
    EXPECT_EQ(page.first(), 0);
    QTest::keyClick(&page, Qt::Key_PageDown);
    EXPECT_EQ(page.first(), 1);
    waitFilled(page);
}

TEST(Vignettes, FewPicturesMakeOnePageAndADoubleClickPastTheEndDoesNothing)
{
    QTemporaryDir dir;
    const QStringList names = pictures(dir, 5);
    TVignettes page;
    page.Init(names);
    page.show();
    waitFilled(page);
    EXPECT_EQ(labels(page), expectedLabels(0, 4));
    page.SpeedButton3->click();
    page.SpeedButton4->click();
    EXPECT_EQ(page.first(), 0);
    waitFilled(page);
    QTest::mouseDClick(page.Images[7], Qt::LeftButton);
    EXPECT_TRUE(page.isVisible());
    EXPECT_EQ(page.Result(), -1);
    QTest::mouseDClick(page.Images[3], Qt::LeftButton);
    EXPECT_FALSE(page.isVisible());
    EXPECT_EQ(page.Result(), 3);
}

TEST(Vignettes, AnUnreadableFileIsMarkedAndTheCellsAfterItStillFill)
{
    QTemporaryDir dir;
    QStringList names = pictures(dir, 4);
    const QString bad = dir.filePath(QStringLiteral("p01b.jpg"));
    test::writeFile(bad, "not a picture at all");
    names.insert(2, bad);
    names.insert(3, dir.filePath(QStringLiteral("gone.bmp"))); // listed, then deleted
    TVignettes page;
    page.Init(names);
    waitFilled(page);
    EXPECT_EQ(page.Labels[2]->text(), QStringLiteral("p01b.jpg"));
    EXPECT_FALSE(page.Images[2]->pixmap().isNull()); // the mark
    EXPECT_TRUE(page.Images[2]->toolTip().contains(QStringLiteral("p01b.jpg")));
    EXPECT_TRUE(page.Labels[3]->text().isEmpty()); // a missing file leaves its cell empty
    for (int k : {4, 5}) {
        EXPECT_FALSE(page.Labels[k]->text().isEmpty()) << k;
        EXPECT_FALSE(page.Images[k]->pixmap().isNull()) << k;
        EXPECT_TRUE(page.Images[k]->toolTip().isEmpty()) << k;
    }
}

TEST(Vignettes, ATruncatedPictureIsMarkedDamagedNotShownGrey)
{
    QTemporaryDir dir;
    QStringList names = pictures(dir, 2);
    const QByteArray jpeg = encodeAs(FileKind::Jpeg, Picture::fromImage(test::varied(400, 300)));
    const QString cut = dir.filePath(QStringLiteral("coupe.jpg"));
    test::writeFile(cut, jpeg.left(jpeg.size() / 2));
    names.insert(1, cut);
    TVignettes page;
    page.Init(names);
    waitFilled(page);
    EXPECT_FALSE(page.Images[1]->pixmap().isNull()); // the mark
    EXPECT_TRUE(page.Images[1]->toolTip().contains(QStringLiteral("fichier tronqué")))
        << page.Images[1]->toolTip().toStdString();
    EXPECT_TRUE(page.Images[2]->toolTip().isEmpty());
}

TEST(Thumbnails, MetafilesAreRenderedAtTheCellsSize)
{
    // A 5760 x 3840 drawing for a cell of 188 x 144: rendered at 216 x 144, not at 88 MB.
    QTemporaryDir dir;
    QImage img = newWorkingImage(60, 40, qRgb(255, 255, 255));
    for (int y = 0; y < 40; ++y)
        for (int x = 30; x < 60; ++x)
            img.setPixel(x, y, qRgb(0, 0, 200));
    const QString wmf = dir.filePath(QStringLiteral("plan.wmf"));
    // Our writer at 60 x 40, then its placeable header's box counted in inches (96 times
    // larger).
    QByteArray f = encodeAs(FileKind::Wmf, Picture::fromImage(img));
    ASSERT_EQ(quint32(uchar(f[0]) | uchar(f[1]) << 8 | uchar(f[2]) << 16 | uchar(f[3]) << 24), 0x9AC6CDD7u);
    const int inch = uchar(f[14]) | uchar(f[15]) << 8;
    const int right = uchar(f[10]) | uchar(f[11]) << 8, bottom = uchar(f[12]) | uchar(f[13]) << 8;
    ASSERT_EQ(right * 96 / inch, 60);
    ASSERT_EQ(bottom * 96 / inch, 40);
    f[14] = 1;
    f[15] = 0;
    test::writeFile(wmf, f);
    const QSize full = decodeAs(FileKind::Wmf, f, wmf).image.size();
    const Thumbnail t = readThumbnail(wmf, QSize(188, 144));
    EXPECT_EQ(t.fullSize, full);
    EXPECT_LT(t.image.width(), full.width() / 4);
    EXPECT_GE(t.image.width(), 188);
    EXPECT_GE(t.image.height(), 144);
    // The drawing itself, reduced: white on the left, blue on the right.
    EXPECT_EQ(t.image.pixel(t.image.width() / 4, t.image.height() / 2), qRgb(255, 255, 255));
    EXPECT_EQ(t.image.pixel(t.image.width() * 3 / 4, t.image.height() / 2), qRgb(0, 0, 200));
}

TEST(Conversion, OutputNamesCutAfterTheFirstDotAndTakeTheFormatText)
{
    EXPECT_EQ(conversionOutputName(QStringLiteral("/in/photo.old.bmp"), QStringLiteral("/out/"), QStringLiteral("Pcx")),
              QStringLiteral("/out/photo.Pcx"));
    EXPECT_EQ(conversionOutputName(QStringLiteral("/in/photo.gif"), QStringLiteral("/out"), QStringLiteral("Jpg")),
              QStringLiteral("/out/photo.Jpg"));
    EXPECT_EQ(conversionOutputName(QStringLiteral("/in/photo.gif"), QString(), QStringLiteral("Jpg")),
              QStringLiteral("photo.Jpg"));
    EXPECT_EQ(conversionOutputName(QStringLiteral("/a.b/noext"), QStringLiteral("/o/"), QStringLiteral("Bmp")),
              QStringLiteral("/o/noextBmp"));
    EXPECT_EQ(conversionFormat(QStringLiteral("tif")), QStringLiteral("Tif"));
    EXPECT_TRUE(conversionFormat(QStringLiteral("png")).isEmpty());
}

TEST(Conversion, ADamagedFileIsReportedAndTheOthersAreStillConverted)
{
    QTemporaryDir in, out;
    QStringList files;
    for (const char *name : {"a.old.bmp", "b.jpeg", "c.png", "d.pcx"}) {
        files << in.filePath(QLatin1String(name));
        writePictureFile(test::palettePicture(30, 20, 8), files.last());
    }
    const QString bad = in.filePath(QStringLiteral("bad.gif"));
    test::writeFile(bad, "GIF89a broken");
    files.insert(1, bad);
    std::vector<int> progress;
    const ConversionReport r = convertFiles(files, out.path(), QStringLiteral("Pcx"),
                                            [&](int done, int total) { progress.push_back(done * 100 / total); });
    EXPECT_EQ(r.converted, 4);
    ASSERT_EQ(r.failures.size(), 1u);
    EXPECT_EQ(r.failures[0].file, bad);
    EXPECT_EQ(r.summary().section(QLatin1Char('\n'), 0, 0), QStringLiteral("4 fichiers convertis, 1 échec :"));
    EXPECT_TRUE(r.summary().contains(QStringLiteral("bad.gif")));
    // ".jpeg" and ".png" were read as what they are, not as bitmaps.
    for (const char *name : {"a.Pcx", "c.Pcx", "d.Pcx"})
        EXPECT_TRUE(test::samePixels(readPictureFile(out.filePath(QLatin1String(name))).image,
                                     test::palettePicture(30, 20, 8).image))
            << name;
    EXPECT_EQ(readPictureFile(out.filePath(QStringLiteral("b.Pcx"))).image.size(), QSize(30, 20));
    EXPECT_FALSE(QFile::exists(out.filePath(QStringLiteral("bad.Pcx"))));
    EXPECT_EQ(QDir(out.path()).entryList(QDir::Files).size(), 4); // no temporary file left
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.back(), 100);
    const ConversionReport allGood{5, {}};
    EXPECT_EQ(allGood.summary(), QStringLiteral("5 fichiers convertis"));
}

TEST(Conversion, OwnFormatInOwnFolderOverwritesTheFileAndEmptyDestinationIsTheCurrentDirectory)
{
    QTemporaryDir dir;
    const QString bmp = dir.filePath(QStringLiteral("photo.bmp"));
    writePictureFile(Picture::fromImage(test::varied(30, 20)), bmp);
    const QString jpg = dir.filePath(QStringLiteral("photo.jpg"));
    writePictureFile(Picture::fromImage(test::varied(30, 20)), jpg);
    const QByteArray before = test::readFile(jpg);
    // Re-encoded over itself: the name differs from "photo.Jpg" only by case.
    ConversionReport r = convertFiles({jpg}, dir.path(), QStringLiteral("Jpg"));
    EXPECT_EQ(r.converted, 1);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"photo.bmp", "photo.jpg"}));
    EXPECT_NE(test::readFile(jpg), before); // decoded and encoded again
    EXPECT_EQ(readPictureFile(jpg).image.size(), QSize(30, 20));

    const QString old = QDir::currentPath();
    QTemporaryDir here;
    QDir::setCurrent(here.path());
    r = convertFiles({bmp}, QString(), QStringLiteral("Gif"));
    QDir::setCurrent(old);
    EXPECT_EQ(r.converted, 1);
    EXPECT_TRUE(QFile::exists(here.filePath(QStringLiteral("photo.Gif"))));
    EXPECT_THROW(convertFiles({bmp}, dir.filePath(QStringLiteral("missing")), QStringLiteral("Bmp")), VermeoError);
}

TEST(Conversion, SeveralAtOnceGiveTheFilesOfOneAtATime)
{
    QTemporaryDir in, a, b;
    QStringList files;
    for (int i = 0; i < 9; ++i) {
        files << in.filePath(QStringLiteral("f%1.bmp").arg(i));
        writePictureFile(Picture::fromImage(test::noise(120 + i, 80, quint32(i + 1))), files.last());
    }
    // Two files with one output: the first in the list is written, the other reported.
    files << in.filePath(QStringLiteral("f3.gif"));
    writePictureFile(Picture::fromImage(test::varied(50, 50)), files.last());
    for (const QString &format : conversionFormats()) {
        ConversionReport one, many;
        {
            PassThreadsOverride threads(0);
            one = convertFiles(files, a.path(), format);
        }
        {
            PassThreadsOverride threads(4);
            many = convertFiles(files, b.path(), format);
        }
        for (const QString &name : QDir(a.path()).entryList(QDir::Files))
            EXPECT_EQ(test::readFile(a.filePath(name)), test::readFile(b.filePath(name))) << name.toStdString();
        EXPECT_EQ(readPictureFile(a.filePath(QStringLiteral("f3.") + format)).image.size(), QSize(123, 80))
            << format.toStdString();
        EXPECT_EQ(one.converted, 9);
        EXPECT_EQ(many.summary(), one.summary());
    }
}

// Pictures are never lost to a batch: a different file that matches the output only by
// case stays, a second source landing on a name already written is reported and its
// own file stays, and the count is the number of files written.
TEST(Conversion, NoPictureIsOverwrittenByAnotherOneOfTheBatch)
{
    QTemporaryDir dir;
    const auto put = [&](const char *name, QRgb colour) {
        writePictureFile(Picture::fromImage(newWorkingImage(20, 10, colour)), dir.filePath(QLatin1String(name)));
        return dir.filePath(QLatin1String(name));
    };
    const QString rose = put("photo.jpg", qRgb(255, 0, 128));
    const QByteArray roseBytes = test::readFile(rose);
    const QString blue = put("photo.bmp", qRgb(0, 0, 255));
    ConversionReport r = convertFiles({blue}, dir.path(), QStringLiteral("Jpg"));
    EXPECT_EQ(r.converted, 1);
    EXPECT_EQ(test::readFile(rose), roseBytes); // the rose is still the rose
    const QColor written = readPictureFile(dir.filePath(QStringLiteral("photo.Jpg"))).image.pixelColor(5, 5);
    EXPECT_LT(written.red(), 20);

    const QString gif = put("wizard.gif", qRgb(0, 200, 0));
    const QString png = put("wizard.png", qRgb(200, 0, 0));
    const QString wmf = put("a.wmf", qRgb(10, 10, 10));
    const QString emf = put("a.emf", qRgb(20, 20, 20));
    const QString own = put("b.Jpg", qRgb(0, 0, 0));
    const QString other = put("b.pcx", qRgb(250, 250, 250));
    r = convertFiles({gif, png, wmf, emf, other, own}, dir.path(), QStringLiteral("Jpg"));
    EXPECT_EQ(r.converted, 3); // wizard.gif, a.wmf and b.Jpg onto itself
    ASSERT_EQ(r.failures.size(), 3u);
    EXPECT_EQ(
        r.failures[0].reason,
        QStringLiteral("« wizard.png » n'est pas converti : « wizard.Jpg » reçoit déjà l'image de « wizard.gif »."));
    EXPECT_EQ(r.failures[1].file, emf);
    EXPECT_EQ(r.failures[2].reason,
              QStringLiteral("« b.pcx » n'est pas converti : « b.Jpg » est une autre image de la conversion."));
    EXPECT_TRUE(r.summary().startsWith(QStringLiteral("3 fichiers convertis, 3 échecs :")));
    EXPECT_GT(readPictureFile(dir.filePath(QStringLiteral("wizard.Jpg"))).image.pixelColor(5, 5).green(), 150);
    EXPECT_LT(readPictureFile(own).image.pixelColor(5, 5).red(), 20); // b.Jpg is still black
    for (const QString &kept : {png, emf, other})
        EXPECT_TRUE(QFile::exists(kept));
}

TEST(FileList, NamesComeInTheOrderOfAFileManager)
{
    // Case and accents do not count, numbers go by their value; the mask takes any case.
    QTemporaryDir dir;
    const QStringList shuffled = {"photo10.jpg", "Zèbre.bmp", "b.BMP", "élan.bmp",  "Photo9.jpg", "a.bmp",
                                  "Été.pcx",     "ecran.bmp", "C.bmp", "notes.txt", "photo9b.jpg"};
    for (const QString &name : shuffled)
        test::writeFile(dir.filePath(name), "x");
    const QStringList expected = {"a.bmp",   "b.BMP",      "C.bmp",       "ecran.bmp",   "élan.bmp",
                                  "Été.pcx", "Photo9.jpg", "photo9b.jpg", "photo10.jpg", "Zèbre.bmp"};
    const QStringList got = filesMatching(dir.path(), QStringLiteral("*.bmp;*.jpg;*.pcx"));
    EXPECT_EQ(got, expected) << got.join(QStringLiteral(", ")).toStdString();
    // Names equal but for case or accents keep one order, whatever the folder gave.
    EXPECT_TRUE(fileNameLess(QStringLiteral("Eclair.bmp"), QStringLiteral("eclair.bmp")));
    EXPECT_FALSE(fileNameLess(QStringLiteral("eclair.bmp"), QStringLiteral("Eclair.bmp")));
    EXPECT_TRUE(fileNameLess(QStringLiteral("img007.bmp"), QStringLiteral("img8.bmp")));
}
