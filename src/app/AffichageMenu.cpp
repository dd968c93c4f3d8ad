// The "Affichage" menu: the zoom steps and the palette bar.
#include "MenuRoutes.h"
#include "TMainForm.h"
#include "Zoom.h"

#include <QAction>

namespace vermeo {

const MenuRoutes &affichageRoutes()
{
    static const MenuRoutes routes = {
        {"Taillerelle1", onActiveWindow(zoom::ZInit)},
        {"Zoomavant1", onActiveWindow(zoom::ZAvant)},
        {"Zoomarrire1", onActiveWindow(zoom::ZArriere)},
        {"Palettedescouleurs1", onMainWindow(&TMainForm::Palettedescouleurs1Click)},
    };
    return routes;
}

void TMainForm::Palettedescouleurs1Click() { Panel3->setVisible(action("Palettedescouleurs1")->isChecked()); }

} // namespace vermeo
