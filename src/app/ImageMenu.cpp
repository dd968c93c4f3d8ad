// The "Image" menu: each item runs its geometry command on the active image window.
#include "CombineCommands.h"
#include "FilterCommands.h"
#include "GeometryCommands.h"
#include "MenuRoutes.h"
#include "TMDIChild.h"
#include "TMainForm.h"
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
        {"Effetsspciaux1", onActiveWindow(geometry::Speciaux)},
        // The filter file lies in the start directory.
        {"Filtres1",
         [](TMainForm &f) {
             if (TMDIChild *c = f.activeChild())
                 c->guarded(
                     [&] { geometry::Filtres(c->doc(), *c, f.startDirectory() + QStringLiteral("/Vermeo.flt")); });
         }},
        {"Fractales1", onActiveWindow(geometry::Fractales)},
        {"Mosaque1", onActiveWindow(geometry::Mosaique)},
        {"Proprits1", onActiveWindow([](TMDIChild &c) { c.Proprietes(); })},
    };
    return routes;
}

} // namespace vermeo
