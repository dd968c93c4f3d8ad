#pragma once
// What the rows' command-line forms share: reading the values as the dialogs take them.
#include "ColourValue.h"
#include "CommandParameter.h"
#include "Progress.h"

#include <QString>
#include <cstdio>

namespace vermeo::commands {

inline Progress &quiet() { return silentProgress(); }
// Where a command writes its own lines for the user (vermeo-cli sets it: the libraries'
// own texts on fd 2 go nowhere without --verbose).
FILE *errorOutput();

// "#RRGGBB" as the program's colour value $00BBGGRR.
TColour colourValue(const QString &text);
// A choice's index, or a French message: "<unknown> « x » : a, b, c ou d."
int choiceValue(const CommandParameter &p, const QString &text, const QString &unknown);
// The parameter's usage word and a colour parameter of that name.
inline constexpr CommandParameter colourParameter(const char *what)
{
    return {CommandParameter::Text, "#RRGGBB", what};
}

} // namespace vermeo::commands
