#pragma once
// Runs vermeo-cli as a whole process and collects what it prints.
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

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

} // namespace vermeo::test
