// The menus that act on the view, the windows and the help, and the desk utilities.
#include "CommandTable.h"

namespace vermeo {

std::vector<CommandRow> affichageRows()
{
    return {
        {"Taillerelle1", "Taille réelle", "", "Image en taille réelle", true, "affichage.html#taille-reelle"},
        {"Zoomavant1", "Zoom a&vant", "", "Vue agrandie", true, "affichage.html#zoom-avant"},
        {"Zoomarrire1", "Zoom a&rrière", "", "Vue réduite", true, "affichage.html#zoom-arriere"},
        {"", "-"},
        {"Palettedescouleurs1", "Palette des &couleurs", "", "", false, "affichage.html#palette"},
    };
}

std::vector<CommandRow> utilitairesRows()
{
    return {
        {"Calendrier1", "&Calendrier", "", "Calendrier", false, "utilitaires.html#calendrier", "TCalendrier"},
        {"Calculatrice1", "C&alculatrice", "", "Calculatrice", false, "utilitaires.html#calculatrice", "TPocket"},
        {"Horloge1", "&Horloge", "", "Horloge", false, "utilitaires.html#horloge", "THorloge"},
    };
}

std::vector<CommandRow> fenetreRows()
{
    return {
        {"WindowCascadeItem", "&Cascade", "", "Disposer les fenêtre de façon qu'elles se recouvrent", true,
         "fenetre.html#cascade"},
        {"WindowTileItem", "&Mosaïque", "", "Disposer les fenêtre sans recouvrement", true, "fenetre.html#mosaique"},
        {"WindowArrangeItem", "&Réorganiser les icônes", "", "Disposer les icônes en bas de la fenêtre principale",
         true, "fenetre.html#reorganiser"},
        {"WindowMinimizeItem", "&Tout réduire", "", "Réduire toutes les fenêtres", true, "fenetre.html#tout-reduire"},
    };
}

std::vector<CommandRow> aideRows()
{
    return {
        {"HContents", "&Index", "", "Sommaire de l'aide", false, "aide.html#index"},
        {"HSearch", "&Rechercher", "", "Rechercher", false, "aide.html#rechercher"},
        {"HowToUse", "&Utiliser l'aide", "", "Utiliser l'aide", false, "aide.html#utiliser"},
        {"", "-"},
        {"About1", "&A propos...", "", "A propos de Vermeo", false, "aide.html#a-propos", "TAPropos"},
    };
}

} // namespace vermeo
