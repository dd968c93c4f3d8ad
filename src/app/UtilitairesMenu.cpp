// The "Utilitaires" menu: the calendar, the calculator and the clock.
#include "MenuRoutes.h"
#include "TMainForm.h"
#include "UtilityCommands.h"

namespace vermeo {

const MenuRoutes &utilitairesRoutes()
{
    static const MenuRoutes routes = {
        {"Calendrier1", [](TMainForm &f) { utilities::Calendrier(&f); }},
        {"Calculatrice1", [](TMainForm &f) { utilities::Calculatrice(&f); }},
        {"Horloge1", [](TMainForm &f) { utilities::Horloge(&f); }},
    };
    return routes;
}

} // namespace vermeo
