#pragma once
// "vermeo-cli apply": an operation of the command table on a picture file.
#include <QStringList>

namespace vermeo::cli {

// The arguments after "apply": the operation, its values (its options anywhere among
// them), ENTRÉE and SORTIE. Returns the exit code; errors are thrown as VermeoError.
int runApply(const QStringList &args);
// Takes the options of args' operation (args[0]) out of args; false, with the message
// in error, when an option has no value.
bool takeApplyOptions(QStringList &args, QString &error);

} // namespace vermeo::cli
