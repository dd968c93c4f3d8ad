#pragma once
// Reads back a printed PDF with poppler-utils: the pictures it holds and where the
// ink lands on a page rendered at a given resolution.
#include "PixelRows.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QRect>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace vermeo::test {

struct PdfImage {
    int page = 0, width = 0, height = 0, xPpi = 0, yPpi = 0;
};

// What the tool prints; a tool that cannot run or fails fails the test with its own
// message (a bare "0 vs 1" later says nothing about a missing or broken tool).
inline QString runTool(const QString &tool, const QStringList &args)
{
    QProcess p;
    p.start(tool, args);
    const bool finished = p.waitForFinished(60000);
    if (!finished || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        ADD_FAILURE() << tool.toStdString() << " " << args.join(QLatin1Char(' ')).toStdString() << ": "
                      << (p.error() == QProcess::FailedToStart ? std::string("could not be started (is it installed?)")
                          : !finished                          ? std::string("did not finish in 60 s")
                                                               : "exit code " + std::to_string(p.exitCode()) + ", " +
                                            QString::fromUtf8(p.readAllStandardError()).trimmed().toStdString());
        return {};
    }
    return QString::fromUtf8(p.readAllStandardOutput());
}

// `pdfimages -list`: one entry per picture placed in the file.
inline std::vector<PdfImage> pdfImages(const QString &pdf)
{
    std::vector<PdfImage> out;
    const QStringList lines = runTool(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf}).split('\n');
    for (int i = 2; i < lines.size(); ++i) {
        const QStringList f = lines[i].simplified().split(' ');
        if (f.size() < 14 || f[2] != QLatin1String("image"))
            continue;
        out.push_back({f[0].toInt(), f[3].toInt(), f[4].toInt(), f[12].toInt(), f[13].toInt()});
    }
    return out;
}

inline int pdfPages(const QString &pdf)
{
    const QStringList lines = runTool(QStringLiteral("pdfinfo"), {pdf}).split('\n');
    for (const QString &l : lines)
        if (l.startsWith(QLatin1String("Pages:")))
            return l.mid(6).trimmed().toInt();
    return -1;
}

// Page 1 rendered at dpi.
inline QImage renderPage(const QString &pdf, int dpi)
{
    QTemporaryDir dir;
    const QString base = dir.filePath(QStringLiteral("page"));
    runTool(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-f"),
                                         QStringLiteral("1"), QStringLiteral("-l"), QStringLiteral("1"),
                                         QStringLiteral("-singlefile"), QStringLiteral("-png"), pdf, base});
    return QImage(base + QStringLiteral(".png"));
}

// The bounding box of the pixels clearly darker than white paper.
inline QRect inkBox(const QImage &page)
{
    const QImage img = page.convertToFormat(QImage::Format_RGB32);
    int left = img.width(), top = img.height(), right = -1, bottom = -1;
    for (int y = 0; y < img.height(); ++y) {
        const QRgb *row = rowOf(img, y);
        for (int x = 0; x < img.width(); ++x)
            if (qGray(row[x]) < 128) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    }
    return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

} // namespace vermeo::test
