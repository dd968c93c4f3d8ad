// The "Couleurs" menu: every item runs its colour command on the active image window.
#include "ColourCommands.h"
#include "MenuRoutes.h"
#include "TMDIChild.h"

namespace vermeo {

const MenuRoutes &couleursRoutes()
{
    static const MenuRoutes routes = {
        {"Inverser1", onActiveWindow(colour::Inverse)},
        {"Remplacercouleur1", onActiveWindow(colour::Remplacer)},
        {"Niveaudegris1", onActiveWindow(colour::Gris)},
        {"Monochrome1", onActiveWindow(colour::Monochrome)},
        {"SparationRVB1", onActiveWindow(colour::Separation)},
        {"Histogramme1", onActiveWindow(colour::Histogramme)},
        {"Compterlescouleurs1", onActiveWindow(colour::Compter)},
        {"Balancedescouleurs1", onActiveWindow(colour::Balance)},
        {"Luminosit1", onActiveWindow(colour::Luminosite)},
        {"Clart1", onActiveWindow(colour::Clarte)},
        {"Contraste1", onActiveWindow(colour::Contraste)},
        {"Saturation1", onActiveWindow(colour::Saturation)},
        {"Teinte1", onActiveWindow(colour::Teinte)},
        {"Solariser1", onActiveWindow(colour::Solariser)},
        {"PermuterRBV1", onActiveWindow(colour::Permuter)},
        {"Ombrer1", onActiveWindow(colour::Ombrer)},
        // Argument 1 is dark to light, 2 light to dark.
        {"Foncclair1", onActiveWindow([](TMDIChild &c) { colour::Degrade(c.doc(), c, 1); })},
        {"ClairFonc1", onActiveWindow([](TMDIChild &c) { colour::Degrade(c.doc(), c, 2); })},
        {"GaucheDroiteFoncClair1", onActiveWindow([](TMDIChild &c) { colour::Degrade2(c.doc(), c, 1); })},
        {"GaucheDroiteFoncClair2", onActiveWindow([](TMDIChild &c) { colour::Degrade2(c.doc(), c, 2); })},
    };
    return routes;
}

} // namespace vermeo
