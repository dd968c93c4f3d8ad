#include "MenuTable.h"
#include "CommandTable.h"

namespace vermeo {

const std::vector<MenuDef> &menuTable()
{
    static const std::vector<MenuDef> table = [] {
        std::vector<MenuDef> menus;
        for (const MenuOfBar &m : menuBarCommands()) {
            MenuDef def{m.name, m.caption, m.hint, m.helpContext, {}};
            for (const CommandRow &r : m.rows)
                def.entries.push_back({r.name, r.caption, r.shortcut, r.hint, r.needsChild});
            menus.push_back(std::move(def));
        }
        return menus;
    }();
    return table;
}

} // namespace vermeo
