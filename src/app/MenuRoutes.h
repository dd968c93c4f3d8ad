#pragma once
// How each item of the menu bar is carried out: a handler of the main window, or a
// command run on the active image window. Each menu's file holds its own table; the
// main window connects every item through them, and a test checks that no item of
// the menu bar is left without a route.
#include "DocumentHost.h"
#include "ImageDocument.h"

#include <functional>
#include <vector>

namespace vermeo {

class TMainForm;
class TMDIChild;

struct MenuRoute {
    const char *name;                     // the item's name in menuTable()
    std::function<void(TMainForm &)> run; // empty: the command is not built yet
};
using MenuRoutes = std::vector<MenuRoute>;

// A command of the active image window; a failure is shown in a message box there.
using DocumentCommand = void (*)(ImageDocument &, DocumentHost &);
std::function<void(TMainForm &)> onActiveWindow(DocumentCommand command);
std::function<void(TMainForm &)> onActiveWindow(std::function<void(TMDIChild &)> command);
// A handler of the main window.
std::function<void(TMainForm &)> onMainWindow(void (TMainForm::*handler)());
// An item whose command is not built yet.
inline std::function<void(TMainForm &)> pending() { return {}; }

const MenuRoutes &fichierRoutes();
const MenuRoutes &editionRoutes();
const MenuRoutes &imageRoutes();
const MenuRoutes &couleursRoutes();
const MenuRoutes &affichageRoutes();
const MenuRoutes &utilitairesRoutes();
const MenuRoutes &fenetreRoutes();
const MenuRoutes &aideRoutes();
// Every menu's table, in the order of the menu bar.
std::vector<const MenuRoutes *> allMenuRoutes();

} // namespace vermeo
