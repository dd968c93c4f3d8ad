#pragma once
// The command table: one row per item of the menu bar and per command of vermeo-cli,
// holding everything about the command but how the window carries it out. The menus,
// their hints and shortcuts, the help's index, vermeo-cli's parsing and its --help are
// all made from it. How each menu item runs (its route) stands in the menu's file of
// the main window, by the item's name: vermeo-cli links no window code.
#include "CommandParameter.h"
#include "MadeRows.h"

#include <QImage>
#include <QStringList>
#include <cstdio>
#include <functional>
#include <vector>

namespace vermeo {

struct Picture;

// How vermeo-cli offers a row.
//  - An operation of "apply" (name set, command empty): reads ENTRÉE, changes the picture
//    with the values given before ENTRÉE and SORTIE, writes SORTIE.
//  - A command of its own (command set): "convert ENTRÉE SORTIE".
struct CliForm {
    using Values = QStringList;
    using BandChange = std::function<void(QImage &band)>;

    const char *name = nullptr; // "luminosite"; null: not in vermeo-cli
    // The values before ENTRÉE and SORTIE, in order.
    std::vector<CommandParameter> values = {};
    // A per-pixel change of a band of working pixels, made from the values (which it
    // checks before any file is touched); null when the values change nothing. Such an
    // operation runs band by band where both files allow it.
    std::function<BandChange(const Values &)> bands = {};
    // Otherwise the change of the whole picture.
    std::function<void(Picture &, const Values &)> whole = {};
    // The same change made a band of result rows at a time, where it has such a form:
    // the result's size and the maker of its rows (true colour), from the picture read and
    // the values (checked here, before any file is written). vermeo-cli writes those rows
    // straight to a file written by bands: the result is never held whole.
    std::function<MadeRows(const Picture &, const Values &)> made = {};
    // The same change made from the rows of the file read as they are needed, where it has
    // such a form: the whole picture is not held either.
    std::function<MadeRows(const RowFeed &, const Values &)> fed = {};
    // The same change made from the pixels as they lie in the file, where it has such a
    // form and the file allows it: nothing of the source is copied. A maker without make
    // declines, for values better served by the whole picture.
    std::function<MadeRows(const PackedPixels &, const Values &)> packed = {};
    // A picture changed band by band keeps its depth and palette only when this is set;
    // otherwise it becomes true colour, as in the window.
    bool keepsDepth = false;
    // Options taking one value each ("--filtre NOM": the option, then what its value is
    // called in --help), given anywhere after the name. Their values follow the others
    // in Values, in this order, empty when not given.
    std::vector<const char *> options = {};
    // A command of its own: runs with the arguments after its name, returns the exit code.
    std::function<int(const QStringList &args)> command = {};
    const char *usage = nullptr;   // a command's: "convert ENTRÉE SORTIE"; an operation's is made
    const char *summary = nullptr; // for --help; an operation without one shows the row's hint

    bool isOperation() const { return name && !command; }
    // "--filtre" of "--filtre NOM", and "NOM".
    static QString optionFlag(const char *option)
    {
        return QString::fromLatin1(option).section(QLatin1Char(' '), 0, 0);
    }
    static QString optionValueName(const char *option)
    {
        return QString::fromUtf8(option).section(QLatin1Char(' '), 1);
    }
};

struct CommandRow {
    const char *name;          // the menu item, its handler's name without "Click" ("Luminosit1");
                               // "" for separators and for commands of vermeo-cli alone
    const char *caption;       // "&Luminosité..."; "-" a separator; ">" opens a submenu, "<" closes it
    const char *shortcut = ""; // several keys: "Ctrl+Y; Ctrl+Shift+Z", the first shown in the menu
    const char *hint = "";
    bool needsChild = false;    // enabled exactly when an image window is open
    const char *helpTopic = ""; // "couleurs.html#luminosite"
    const char *dialogs = "";   // the classes of its dialogs, whose F1 leads here ("TLumin")
    CliForm cli = {};

    bool isItem() const; // a command of the menu bar (not a separator, nor "<")
};

struct MenuOfBar {
    const char *name; // "Couleurs1"
    const char *caption;
    const char *hint;
    int helpContext;
    const char *helpPage; // "couleurs.html"
    std::vector<CommandRow> rows;
};

// The menu bar, in its order.
const std::vector<MenuOfBar> &menuBarCommands();
// The commands of vermeo-cli that are no menu item ("convert").
const std::vector<CommandRow> &cliOnlyCommands();
// Every row vermeo-cli offers, commands first, then the operations of "apply", in the
// order of the menus.
std::vector<const CommandRow *> cliRows();
// Where vermeo-cli's commands write their lines for the user; stderr until set.
void setCliErrorOutput(FILE *file);
// A menu item's row by its name; nullptr when there is none.
const CommandRow *findCommand(const QString &name);

// Each menu's rows, in its own file.
std::vector<CommandRow> fichierRows();
std::vector<CommandRow> editionRows();
std::vector<CommandRow> imageRows();
// The "Image" commands of vermeo-cli alone ("fractale" drawing a new picture).
std::vector<CommandRow> imageCliRows();
std::vector<CommandRow> couleursRows();
std::vector<CommandRow> affichageRows();
std::vector<CommandRow> utilitairesRows();
std::vector<CommandRow> fenetreRows();
std::vector<CommandRow> aideRows();

} // namespace vermeo
