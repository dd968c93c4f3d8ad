#pragma once
// Pictures with known pixels, temporary folders and external tools for the format tests.
#include "Picture.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace vermeo::test {

// A true-colour picture where every pixel differs from its neighbours.
inline Picture truecolourPicture(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        QRgb *row = reinterpret_cast<QRgb *>(img.scanLine(y));
        for (int x = 0; x < w; ++x)
            row[x] = qRgb((x * 7 + y) & 0xFF, (y * 5 + x * 3) & 0xFF, (x * y + 11) & 0xFF);
    }
    return Picture::fromImage(img);
}

// A palette picture of the given depth: palette entry i is a distinct colour and the
// pixels cycle through all entries.
inline Picture palettePicture(int w, int h, int depth)
{
    QList<QRgb> pal;
    const int n = 1 << depth;
    for (int i = 0; i < n; ++i)
        pal.append(depth == 1 ? (i ? qRgb(255, 255, 0) : qRgb(0, 0, 128)) : qRgb((i * 37) & 0xFF, (i * 91) & 0xFF, 255 - i));
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        QRgb *row = reinterpret_cast<QRgb *>(img.scanLine(y));
        for (int x = 0; x < w; ++x)
            row[x] = pal[(x + 3 * y) % n];
    }
    return Picture::withPalette(img, depth, pal);
}

inline QByteArray readFile(const QString &name)
{
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void writeFile(const QString &name, const QByteArray &bytes)
{
    QFile f(name);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Runs a tool; false when it is missing or fails.
inline bool run(const QString &program, const QStringList &args, QByteArray *output = nullptr)
{
    if (QStandardPaths::findExecutable(program).isEmpty())
        return false;
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000))
        return false;
    if (output)
        *output = p.readAllStandardOutput() + p.readAllStandardError();
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

inline int maxDifference(const QImage &a, const QImage &b)
{
    int worst = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)), std::abs(qBlue(p) - qBlue(q))});
        }
    return worst;
}

inline bool samePixels(const QImage &a, const QImage &b)
{
    return a.size() == b.size() && maxDifference(a.convertToFormat(QImage::Format_RGB32), b.convertToFormat(QImage::Format_RGB32)) == 0;
}

} // namespace vermeo::test
