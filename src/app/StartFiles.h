#pragma once
// The program's command line: "vermeo [FICHIER...]", as a file manager's "Ouvrir avec"
// and the desktop entry's %F start it.
#include <QString>
#include <QStringList>

namespace vermeo {

struct CommandLine {
    QStringList files; // absolute paths, in the order given
    bool help = false;
    bool version = false;
    QString error; // French, for an unknown option
};

// The arguments after the program's name. Names after "--" are files even when they
// start with a dash; file: URLs are taken as their local path.
CommandLine parseCommandLine(const QStringList &arguments);
QString commandLineUsage();

} // namespace vermeo
