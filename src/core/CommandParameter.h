#pragma once
// A value a command takes: its name in vermeo-cli's usage, what an error message calls
// it, its range, the value its dialog starts at, and the dialog control that sets it.
// Each is declared once, beside its kernel; the dialog, vermeo-cli and the command
// table all read it from there.
#include <QString>
#include <QStringList>

namespace vermeo {

struct CommandParameter {
    enum Kind { Whole, Choice, Text };
    Kind kind;
    const char *name; // in the usage: "S", "gauche|droite|haut|bas", "#RRGGBB"
    const char *what; // the subject of its messages: "Le pourcentage"
    // Whole: the range and the dialog's first value. Choice: start is the index of the
    // choice the dialog starts at.
    long long low = 0, high = 0, start = 0;
    // The dialog's control ("SpinEdit1"); for a Choice one per choice, in order
    // ("RadioButton1|RadioButton2"). Empty where no dialog sets it.
    const char *controls = "";

    QStringList choices() const;      // a Choice's words, from its name
    QStringList controlNames() const; // from controls
    // The value of text, checked; a French message naming what it is otherwise.
    long long wholeValue(const QString &text) const;
    // The index of the choice text names (case does not count), or -1.
    int choiceIndex(const QString &text) const;
    // What the start value is written as on a command line.
    QString startText() const;
};

// A whole number of text within [low, high]; otherwise a French message naming what it is.
long long wholeNumber(const QString &text, long long low, long long high, const QString &what);

} // namespace vermeo
