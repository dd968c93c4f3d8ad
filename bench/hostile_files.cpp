// Reading the worst hostile file of each format, made here at several sizes: seconds per
// MB of file and the peak memory of the process that reads it. Time linear in the file's
// size shows as seconds per MB that stay flat as the file grows.
//   hostile_files            all formats, files of 0.5, 1 and 2 MB, the median of 3 runs
//   hostile_files --one FILE one reading, in a process of its own (used by the above)
#include "Error.h"
#include "PictureFiles.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <sys/resource.h>
#include <vector>

using namespace vermeo;

namespace {

void put16(QByteArray &f, int v) { f.append(char(v & 255)).append(char((v >> 8) & 255)); }
void put32(QByteArray &f, quint32 v)
{
    put16(f, int(v & 0xFFFF));
    put16(f, int(v >> 16));
}

QByteArray wmfHeader(int w, int h)
{
    QByteArray f;
    put32(f, 0x9AC6CDD7u);
    for (int v : {0, 0, 0, w, h, 96})
        put16(f, v);
    put32(f, 0);
    put16(f, 0);
    for (int v : {1, 9, 0x300})
        put16(f, v);
    put32(f, 0);
    put16(f, 0);
    put32(f, 0);
    put16(f, 0);
    return f;
}

// 130,000 pens in 2 MB: every creation once looked through the whole object table.
QByteArray wmfPens(qsizetype bytes)
{
    QByteArray f = wmfHeader(200, 100);
    const QByteArray pen = QByteArray::fromHex("08000000fa02000001000000ff000000");
    while (f.size() < bytes)
        f += pen;
    return f + QByteArray::fromHex("030000000000");
}

// Rectangles over the whole of the largest picture a metafile may ask for.
QByteArray wmfRectangles(qsizetype bytes)
{
    QByteArray f = wmfHeader(8000, 8000) +
                   QByteArray::fromHex("07000000fc02"
                                       "0000"
                                       "ff000000"
                                       "0000") +
                   QByteArray::fromHex("040000002d010000");
    const QByteArray rect = QByteArray::fromHex("070000001b04"
                                                "401f"
                                                "401f"
                                                "0000"
                                                "0000");
    while (f.size() < bytes)
        f += rect;
    return f + QByteArray::fromHex("030000000000");
}

QByteArray emfRectangles(qsizetype bytes)
{
    QByteArray f;
    put32(f, 1);
    put32(f, 88);
    for (int v : {0, 0, 7999, 7999, 0, 0, 0, 0})
        put32(f, quint32(v));
    put32(f, 0x464D4520);
    for (int i = 0; i < 12; ++i)
        put32(f, 0);
    QByteArray rect;
    for (quint32 v : {43u, 24u, 0u, 0u, 8000u, 8000u})
        put32(rect, v);
    while (f.size() < bytes)
        f += rect;
    for (quint32 v : {14u, 20u, 0u, 16u, 20u})
        put32(f, v);
    return f;
}

// A JPEG of 8 x 8 whose size fields declare as much as its data may back (4096 pixels a
// byte), its bytes padded with comment blocks.
QByteArray jpegDeclaredLarge(qsizetype bytes)
{
    const Picture small = Picture::fromImage(QImage(8, 8, QImage::Format_RGB32));
    QByteArray f = formats::encodeAs(formats::FileKind::Jpeg, small);
    QByteArray comments;
    while (f.size() + comments.size() < bytes)
        comments += QByteArray("\xFF\xFE\xFF\xFF", 4) + QByteArray(65533, 'x');
    f.insert(2, comments);
    const long long pixels = std::min<long long>(16LL << 20, (long long)f.size() * 1024);
    const int side = int(std::sqrt(double(pixels)));
    const qsizetype sof = f.indexOf(QByteArrayView("\xFF\xC0", 2));
    qToBigEndian<quint16>(quint16(std::min(side, 65500)), f.data() + sof + 5);
    qToBigEndian<quint16>(quint16(std::min(side, 65500)), f.data() + sof + 7);
    return f;
}

// A GIF whose screen is as large as its 1 x 1 frame allows (16 megapixels and four
// times the frame).
QByteArray gifLargeScreen(qsizetype bytes)
{
    const int side = int(std::sqrt(double((16LL << 20) + 4)));
    QByteArray f = "GIF89a";
    put16(f, side);
    put16(f, side);
    f += QByteArray::fromHex("800000"
                             "000000ffffff");
    // Comment extensions fill the file to its size.
    while (f.size() < bytes - 40)
        f += QByteArray::fromHex("21fe") + QByteArray(1, char(255)) + QByteArray(255, 'x') + QByteArray(1, 0);
    f += QByteArray::fromHex("2c000000000100010000"
                             "02024401"
                             "00"
                             "3b");
    return f;
}

// An RLE8 bitmap as large as its bytes allow, its rows made of long runs.
QByteArray bmpRle(qsizetype bytes)
{
    const long long pixels = std::min<long long>(268'000'000LL, (long long)(bytes - 62) * 256 + (16LL << 20));
    const int w = 16000, h = int(std::min<long long>(16000, pixels / w));
    QByteArray f = "BM";
    put32(f, 0);
    put32(f, 0);
    put32(f, 14 + 40 + 8);
    put32(f, 40);
    put32(f, quint32(w));
    put32(f, quint32(h));
    put16(f, 1);
    put16(f, 8);
    put32(f, 1);
    for (int i = 0; i < 5; ++i)
        put32(f, 0);
    put32(f, 0x000000FF);
    put32(f, 0x0000FF00);
    while (f.size() < bytes - 2)
        f += QByteArray::fromHex("ff01");
    return f + QByteArray::fromHex("0001");
}

// A PCX whose data expand as far as runs go: 63 bytes out of every two.
QByteArray pcxRuns(qsizetype bytes)
{
    const int bpl = 8000;
    const long long coded = bytes - 128;
    const int h = int(std::min<long long>(60000, coded / 2 * 63 / (3LL * bpl)));
    QByteArray f(128, '\0');
    f[0] = 10;
    f[1] = 5;
    f[2] = 1;
    f[3] = 8;
    qToLittleEndian<quint16>(quint16(bpl - 1), f.data() + 8);
    qToLittleEndian<quint16>(quint16(h - 1), f.data() + 10);
    f[65] = 3;
    qToLittleEndian<quint16>(quint16(bpl), f.data() + 66);
    qToLittleEndian<quint16>(1, f.data() + 68);
    while (f.size() < bytes)
        f += QByteArray::fromHex("ff80");
    return f;
}

struct Hostile {
    const char *name, *file;
    std::function<QByteArray(qsizetype)> make;
};

const std::vector<Hostile> &hostiles()
{
    static const std::vector<Hostile> all = {
        {"WMF, pens never freed", "x.wmf", wmfPens},
        {"WMF, whole-picture rectangles", "x.wmf", wmfRectangles},
        {"EMF, whole-picture rectangles", "x.emf", emfRectangles},
        {"JPEG, size declared at the bound", "x.jpg", jpegDeclaredLarge},
        {"GIF, screen at the bound", "x.gif", gifLargeScreen},
        {"BMP, RLE8 at the bound", "x.bmp", bmpRle},
        {"PCX, longest runs", "x.pcx", pcxRuns},
    };
    return all;
}

int readOne(const QString &file)
{
    QElapsedTimer t;
    t.start();
    QString outcome = QStringLiteral("read");
    try {
        const Picture p = formats::readPictureFile(file);
        outcome = QStringLiteral("%1 x %2").arg(p.width()).arg(p.height());
    } catch (const VermeoError &e) {
        outcome = e.message();
    }
    const double seconds = t.nsecsElapsed() / 1e9;
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    std::printf("%.4f %ld %s\n", seconds, u.ru_maxrss, outcome.toUtf8().constData());
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv); // fonts for the metafile players
    if (argc == 3 && QByteArray(argv[1]) == "--one")
        return readOne(QString::fromLocal8Bit(argv[2]));
    QTemporaryDir dir;
    std::printf("%-34s %8s %10s %10s %10s  %s\n", "hostile file", "MB", "s", "s/MB", "peak MB", "outcome");
    for (const Hostile &h : hostiles()) {
        for (qsizetype bytes : {qsizetype(512) << 10, qsizetype(1) << 20, qsizetype(2) << 20}) {
            const QString path = dir.filePath(QLatin1String(h.file));
            QFile f(path);
            if (!f.open(QIODevice::WriteOnly))
                return 1;
            const QByteArray data = h.make(bytes);
            f.write(data);
            f.close();
            std::vector<double> times;
            long peak = 0;
            QString outcome;
            for (int run = 0; run < 3; ++run) {
                QProcess p;
                p.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--one"), path});
                p.waitForFinished(600000);
                const QStringList words =
                    QString::fromUtf8(p.readAllStandardOutput()).trimmed().split(QLatin1Char(' '));
                if (words.size() < 3)
                    continue;
                times.push_back(words[0].toDouble());
                peak = std::max(peak, words[1].toLong());
                outcome = words.mid(2).join(QLatin1Char(' '));
            }
            if (times.empty())
                continue;
            std::sort(times.begin(), times.end());
            const double mb = data.size() / 1048576.0, median = times[times.size() / 2];
            std::printf("%-34s %8.2f %10.3f %10.3f %10.1f  %s\n", h.name, mb, median, median / mb, peak / 1024.0,
                        outcome.toUtf8().constData());
            std::fflush(stdout);
        }
    }
    return 0;
}
