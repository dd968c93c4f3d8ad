#pragma once
// The menu bar as the main window builds it: captions, shortcuts, hints, separators, and
// whether a command needs an open image window. Made from the command table.
#include <QString>
#include <vector>

namespace vermeo {

struct MenuEntry {
    const char *name;     // handler name without "Click" ("FileNewItem")
    const char *caption;  // "&Nouveau..."; "-" for a separator; ">" opens a submenu, "<" closes it
    const char *shortcut; // "Ctrl+S", "Ctrl+U; Ctrl+Z" (the first is shown), or ""
    const char *hint;
    bool needsChild; // enabled exactly when an image window is open
};

struct MenuDef {
    const char *name;
    const char *caption;
    const char *hint;
    int helpContext;
    std::vector<MenuEntry> entries;
};

const std::vector<MenuDef> &menuTable();

} // namespace vermeo
