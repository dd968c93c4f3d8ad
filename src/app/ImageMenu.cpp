// The "Image" menu: each item runs its geometry command on the active image window.
#include "CombineCommands.h"
#include "GeometryCommands.h"
#include "MenuRoutes.h"
#include "TMDIChild.h"
#include "TransformCommands.h"

namespace vermeo {

const MenuRoutes &imageRoutes()
{
    static const MenuRoutes routes = {
        {"Redimensionner1", onActiveWindow(geometry::Redimensionne)},
        {"Rchantilloner1", onActiveWindow(geometry::Rechantilloner)},
        {"Recdrer1", onActiveWindow(geometry::Recadrer)},
        {"Agrandirlesupport1", onActiveWindow(geometry::Agrandir)},
        {"Encadrer1", onActiveWindow(geometry::Encadre)},
        {"Miroirvertical1", onActiveWindow(geometry::MiroirV)},
        {"MiroirHorizontal1", onActiveWindow(geometry::MiroirH)},
        {"Rotation1", onActiveWindow(geometry::Rotation)},
        {"Incliner1", onActiveWindow(geometry::Inclinaison)},
        {"Fusionner1", onActiveWindow(geometry::Fusionner)},
        {"Effetsspciaux1", pending()},
        {"Filtres1", pending()},
        {"Fractales1", onActiveWindow(geometry::Fractales)},
        {"Mosaque1", onActiveWindow(geometry::Mosaique)},
        {"Proprits1", onActiveWindow([](TMDIChild &c) { c.Proprietes(); })},
    };
    return routes;
}

} // namespace vermeo
