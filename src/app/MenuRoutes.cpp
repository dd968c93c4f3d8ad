#include "MenuRoutes.h"
#include "TMDIChild.h"
#include "TMainForm.h"

namespace vermeo {

std::function<void(TMainForm &)> onActiveWindow(DocumentCommand command)
{
    return onActiveWindow([command](TMDIChild &c) { command(c.doc(), c); });
}

std::function<void(TMainForm &)> onActiveWindow(std::function<void(TMDIChild &)> command)
{
    return [command = std::move(command)](TMainForm &f) {
        if (TMDIChild *c = f.activeChild())
            c->guarded([&] { command(*c); });
    };
}

std::function<void(TMainForm &)> onMainWindow(void (TMainForm::*handler)())
{
    return [handler](TMainForm &f) { (f.*handler)(); };
}

std::vector<const MenuRoutes *> allMenuRoutes()
{
    return {&fichierRoutes(),   &editionRoutes(),     &imageRoutes(),   &couleursRoutes(),
            &affichageRoutes(), &utilitairesRoutes(), &fenetreRoutes(), &aideRoutes()};
}

} // namespace vermeo
