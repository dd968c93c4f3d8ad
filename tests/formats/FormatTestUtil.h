#pragma once
// Pictures with known pixels, temporary folders and external tools for the format tests.
#include "Picture.h"
#include "TestPictures.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace vermeo::test {

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

// Runs a tool; false when it is missing or fails, with the tool's own message, which
// ASSERT_TRUE / EXPECT_TRUE show.
inline ::testing::AssertionResult run(const QString &program, const QStringList &args, QByteArray *output = nullptr)
{
    const std::string command = (program + QLatin1Char(' ') + args.join(QLatin1Char(' '))).toStdString();
    if (QStandardPaths::findExecutable(program).isEmpty())
        return ::testing::AssertionFailure() << program.toStdString() << " is not installed";
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000))
        return ::testing::AssertionFailure() << command << ": did not finish in 60 s";
    const QByteArray printed = p.readAllStandardOutput() + p.readAllStandardError();
    if (output)
        *output = printed;
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return ::testing::AssertionFailure()
               << command << ": exit code " << p.exitCode() << ", " << printed.trimmed().constData();
    return ::testing::AssertionSuccess();
}

inline int maxDifference(const QImage &a, const QImage &b)
{
    int worst = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            worst = std::max(
                {worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)), std::abs(qBlue(p) - qBlue(q))});
        }
    return worst;
}

inline bool samePixels(const QImage &a, const QImage &b)
{
    return a.size() == b.size() &&
           maxDifference(a.convertToFormat(QImage::Format_RGB32), b.convertToFormat(QImage::Format_RGB32)) == 0;
}

} // namespace vermeo::test
