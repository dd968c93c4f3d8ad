#pragma once
// The sub-commands of vermeo-cli register themselves here, each in its own file.
#include <QStringList>
#include <functional>
#include <vector>

namespace vermeo::cli {

struct CliCommand {
    QString name;      // "convert"
    QString usage;     // "convert IN OUT"
    QString summary;   // one line for --help, in French
    // Runs with the arguments after the name; returns the exit code. Errors are
    // thrown as VermeoError and reported as one line on stderr by main().
    std::function<int(const QStringList &args)> run;
};

std::vector<CliCommand> &commands();

struct Registrar {
    explicit Registrar(CliCommand c) { commands().push_back(std::move(c)); }
};

} // namespace vermeo::cli
