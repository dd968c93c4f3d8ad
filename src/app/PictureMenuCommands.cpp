// "Edition" clipboard items, the "Image" geometry items and the "Affichage" zoom items:
// each runs the image window's operation on the active window.
#include "Clipboard.h"
#include "GeometryCommands.h"
#include "TMDIChild.h"
#include "TMainForm.h"
#include "Zoom.h"

#include <QAction>

namespace vermeo {

void TMainForm::connectPictureMenus()
{
    using Command = void (*)(ImageDocument &, DocumentHost &);
    const std::pair<const char *, Command> commands[] = {
        {"CutItem", clipboard::Couper},
        {"CopyItem", clipboard::Copier},
        {"Collagespcial1", clipboard::CollerSel},
        {"Toutslectionner1", clipboard::SelectImg},
        {"Redimensionner1", geometry::Redimensionne},
        {"Recdrer1", geometry::Recadrer},
        {"Agrandirlesupport1", geometry::Agrandir},
        {"Encadrer1", geometry::Encadre},
        {"Miroirvertical1", geometry::MiroirV},
        {"MiroirHorizontal1", geometry::MiroirH},
        {"Taillerelle1", zoom::ZInit},
        {"Zoomavant1", zoom::ZAvant},
        {"Zoomarrire1", zoom::ZArriere},
    };
    for (const auto &[name, command] : commands)
        routeToChild(name, [command](TMDIChild &c) { command(c.doc(), c); });
    connect(action("PasteItem"), &QAction::triggered, this, &TMainForm::PasteItemClick);
}

void TMainForm::PasteItemClick()
{
    // A new window of the clipboard picture's size, on white, then the paste.
    const QImage bitmap = clipboard::clipboardBitmap();
    if (bitmap.isNull())
        return;
    TMDIChild *child = OuvreFenetreImage(QString());
    child->guarded([&] {
        child->Init(bitmap.width(), bitmap.height(), clWhite);
        prepareChild(child);
        clipboard::Coller(child->doc(), *child);
    });
}

} // namespace vermeo
