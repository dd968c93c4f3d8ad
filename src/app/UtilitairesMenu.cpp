// The "Utilitaires" menu: the calendar, the calculator and the clock.
#include "MenuRoutes.h"

namespace vermeo {

const MenuRoutes &utilitairesRoutes()
{
    static const MenuRoutes routes = {
        {"Calendrier1", pending()},
        {"Calculatrice1", pending()},
        {"Horloge1", pending()},
    };
    return routes;
}

} // namespace vermeo
