// The "Image" menu: each item runs its geometry command on the active image window.
#include "GeometryCommands.h"
#include "MenuRoutes.h"
#include "TMDIChild.h"

namespace vermeo {

const MenuRoutes &imageRoutes()
{
    static const MenuRoutes routes = {
        {"Redimensionner1", onActiveWindow(geometry::Redimensionne)},
        {"Rchantilloner1", pending()},
        {"Recdrer1", onActiveWindow(geometry::Recadrer)},
        {"Agrandirlesupport1", onActiveWindow(geometry::Agrandir)},
        {"Encadrer1", onActiveWindow(geometry::Encadre)},
        {"Miroirvertical1", onActiveWindow(geometry::MiroirV)},
        {"MiroirHorizontal1", onActiveWindow(geometry::MiroirH)},
        {"Rotation1", pending()},
        {"Incliner1", pending()},
        {"Fusionner1", pending()},
        {"Effetsspciaux1", pending()},
        {"Filtres1", pending()},
        {"Fractales1", pending()},
        {"Mosaque1", pending()},
        {"Proprits1", onActiveWindow([](TMDIChild &c) { c.Proprietes(); })},
    };
    return routes;
}

} // namespace vermeo
