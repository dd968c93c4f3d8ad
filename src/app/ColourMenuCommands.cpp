// The "Couleurs" menu: every item runs its colour command on the active image window.
#include "ColourCommands.h"
#include "TMDIChild.h"
#include "TMainForm.h"

namespace vermeo {

void TMainForm::connectColourMenu()
{
    using Command = void (*)(ImageDocument &, DocumentHost &);
    const std::pair<const char *, Command> commands[] = {
        {"Inverser1", colour::Inverse},
        {"Remplacercouleur1", colour::Remplacer},
        {"Niveaudegris1", colour::Gris},
        {"Monochrome1", colour::Monochrome},
        {"SparationRVB1", colour::Separation},
        {"Histogramme1", colour::Histogramme},
        {"Compterlescouleurs1", colour::Compter},
        {"Balancedescouleurs1", colour::Balance},
        {"Luminosit1", colour::Luminosite},
        {"Clart1", colour::Clarte},
        {"Contraste1", colour::Contraste},
        {"Saturation1", colour::Saturation},
        {"Teinte1", colour::Teinte},
        {"Solariser1", colour::Solariser},
        {"PermuterRBV1", colour::Permuter},
        {"Ombrer1", colour::Ombrer},
    };
    for (const auto &[name, command] : commands)
        routeToChild(name, [command](TMDIChild &c) { command(c.doc(), c); });
    // Argument 1 is dark to light, 2 light to dark.
    routeToChild("Foncclair1", [](TMDIChild &c) { colour::Degrade(c.doc(), c, 1); });
    routeToChild("ClairFonc1", [](TMDIChild &c) { colour::Degrade(c.doc(), c, 2); });
    routeToChild("GaucheDroiteFoncClair1", [](TMDIChild &c) { colour::Degrade2(c.doc(), c, 1); });
    routeToChild("GaucheDroiteFoncClair2", [](TMDIChild &c) { colour::Degrade2(c.doc(), c, 2); });
}

} // namespace vermeo
