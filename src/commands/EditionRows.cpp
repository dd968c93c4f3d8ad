// The "Edition" menu: undo, the clipboard, select all and erase.
#include "CommandTable.h"

namespace vermeo {

std::vector<CommandRow> editionRows()
{
    return {
        {"Annuler1", "&Annuler", "Ctrl+U; Ctrl+Z", "Annuler modification", true, "edition.html#annuler"},
        {"Retablir1", "&Rétablir", "Ctrl+Y; Ctrl+Shift+Z", "Rétablir modification", true, "edition.html#retablir"},
        {"", "-"},
        {"CutItem", "&Couper", "Ctrl+X", "Couper dans le Presse-papiers", true, "edition.html#couper"},
        {"CopyItem", "Co&pier", "Ctrl+C", "Copier dans le Presse-papiers", true, "edition.html#copier"},
        {"PasteItem", "C&oller", "Ctrl+V", "Coller comme une nouvelle image", false, "edition.html#coller"},
        {"Collagespcial1", "Collage &spécial", "", "Coller comme sélection", true, "edition.html#collage-special"},
        {"Toutslectionner1", "&Tout sélectionner", "Ctrl+A", "Sélectionner l'image", true,
         "edition.html#tout-selectionner"},
        {"", "-"},
        {"Effacerlimage1", "&Effacer l'image", "", "Effacer l'image", true, "edition.html#effacer"},
    };
}

} // namespace vermeo
