#pragma once
// The sub-commands of vermeo-cli register themselves here, each in its own file.
#include <QStringList>
#include <cstdio>
#include <functional>
#include <vector>

namespace vermeo {
struct Picture;
}

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

// Where a command writes its own lines for the user (the real stderr: the libraries'
// own texts on fd 2 go nowhere without --verbose).
FILE *errorOutput();

struct Registrar {
    explicit Registrar(CliCommand c) { commands().push_back(std::move(c)); }
};

// An operation of "vermeo-cli apply": its name, how many values it takes, and what it
// does to the picture read from the input file. Each subsystem's file registers its own.
struct ApplyOperation {
    QString name;  // "rotation"
    int values;    // how many values stand before ENTRÉE and SORTIE
    QString usage; // "rotation gauche|droite|180|DEGRÉS", for --help
    std::function<void(Picture &, const QStringList &values)> run;
    // Options taking one value each ("--filtre"), given anywhere after the name; they
    // are taken out before the values are counted. run() reads them with applyOption().
    QStringList options = {};
};

std::vector<ApplyOperation> &applyOperations();
// The value given to an option of the apply operation being run; empty when not given.
QString applyOption(const QString &option);
// Takes the options of args' operation (args[0]) out of args; false, with the message
// in error, when an option has no value.
bool takeApplyOptions(QStringList &args, QString &error);

// A whole number of text within [low, high]; otherwise a French message naming what it is.
long long wholeNumber(const QString &text, long long low, long long high, const QString &what);

struct ApplyRegistrar {
    explicit ApplyRegistrar(ApplyOperation op) { applyOperations().push_back(std::move(op)); }
};

} // namespace vermeo::cli
