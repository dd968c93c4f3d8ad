// A page of the thumbnail browser: twelve 6000 x 4000 JPEG photos shown in their
// cells, from Init until the last cell is drawn, against decoding the same twelve files
// at full size one after another, in the same run.
#include "BenchRatios.h"

#include "PictureFiles.h"
#include "PixelRows.h"
#include "TVignettes.h"
#include "Thumbnails.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cmath>

using namespace vermeo;

namespace {

// Smooth shading with detail, like a photo: JPEG works as hard on it as on one.
QImage photo(int w, int h, int seed)
{
    QImage img = newWorkingImage(w, h);
    for (int y = 0; y < h; ++y) {
        QRgb *row = rowOf(img, y);
        for (int x = 0; x < w; ++x) {
            const double v = std::sin((x + seed * 97) * 0.004) * std::cos(y * 0.003 + seed) * 100;
            const int grain = int((x * 7919u + y * 104729u + seed * 31u) % 23u);
            row[x] = qRgb(std::clamp(int(128 + v) + grain, 0, 255), std::clamp(int(110 - v / 2) + grain, 0, 255),
                          std::clamp(int(90 + (x + y) % 97) + grain, 0, 255));
        }
    }
    return img;
}

struct Folder {
    QTemporaryDir dir;
    QStringList names;
    Folder()
    {
        for (int i = 0; i < formats::TVignettes::kCells; ++i) {
            names << dir.filePath(QStringLiteral("photo%1.jpg").arg(i));
            formats::writePictureFile(Picture::fromImage(photo(6000, 4000, i)), names.last());
        }
    }
};

Folder &folder()
{
    static Folder f;
    return f;
}

void BM_PageOfTwelve(benchmark::State &state)
{
    formats::TVignettes page;
    for (auto _ : state) {
        page.Init(folder().names);
        while (page.filling())
            QApplication::processEvents(QEventLoop::AllEvents, 1);
    }
}

void BM_TwelveReducedOneByOne(benchmark::State &state)
{
    for (auto _ : state)
        for (const QString &n : folder().names)
            benchmark::DoNotOptimize(formats::readThumbnail(n, QSize(188, 144)));
}

void BM_TwelveAtFullSize(benchmark::State &state)
{
    for (auto _ : state)
        for (const QString &n : folder().names)
            benchmark::DoNotOptimize(formats::readPictureFile(n));
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    folder();
    BENCHMARK(BM_PageOfTwelve)->Unit(benchmark::kMillisecond)->UseRealTime();
    BENCHMARK(BM_TwelveReducedOneByOne)->Unit(benchmark::kMillisecond);
    BENCHMARK(BM_TwelveAtFullSize)->Unit(benchmark::kMillisecond);
    bench::ratioTo("BM_PageOfTwelve/real_time", "BM_TwelveAtFullSize",
                   "a page of 12 photos vs decoding them whole; aim: page well under 1 s");
    bench::ratioTo("BM_TwelveReducedOneByOne", "BM_TwelveAtFullSize", "reduced decoding alone");
    return bench::runWithRatios(argc, argv);
}
