#pragma once
// Runs vermeo-cli as a whole process and collects what it prints.
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace vermeo::test {

struct CliRun {
    int code = -1;
    QString out, err;
};

// env: variables to set ("NAME=value") or, without "=", to remove.
inline CliRun cli(const QStringList &args, const QStringList &env = {}, int timeoutMs = 60000)
{
    QProcess p;
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    for (const QString &v : env) {
        const qsizetype eq = v.indexOf(QLatin1Char('='));
        if (eq < 0)
            e.remove(v);
        else
            e.insert(v.left(eq), v.mid(eq + 1));
    }
    p.setProcessEnvironment(e);
    p.start(QStringLiteral(VERMEO_CLI), args);
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        return {-1, QString(), QStringLiteral("timeout")};
    }
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

// With a runtime folder of its own, which keeps Qt's start-up notice off stderr.
inline CliRun quietCli(const QStringList &args, int timeoutMs = 60000)
{
    static QTemporaryDir runtime;
    return cli(args, {QStringLiteral("XDG_RUNTIME_DIR=") + runtime.path()}, timeoutMs);
}

// A folder for one test of vermeo-cli: the input picture is in.bmp, the result out.bmp.
class CliFolder : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    void writeInput(const QImage &picture) { ASSERT_TRUE(picture.save(in(), "BMP")); }
    QString in() const { return dir.filePath(QStringLiteral("in.bmp")); }
    QString out() const { return dir.filePath(QStringLiteral("out.bmp")); }
    QImage result() const { return QImage(out()).convertToFormat(QImage::Format_RGB32); }
    QTemporaryDir dir;
};

} // namespace vermeo::test
