// The "Edition" menu: undo, the clipboard, select all and erase.
#include "Clipboard.h"
#include "DialogRunner.h"
#include "MenuRoutes.h"
#include "TMDIChild.h"
#include "TMainForm.h"

namespace vermeo {

const MenuRoutes &editionRoutes()
{
    static const MenuRoutes routes = {
        {"Annuler1", onActiveWindow([](TMDIChild &c) { c.Annule(); })},
        {"CutItem", onActiveWindow(clipboard::Couper)},
        {"CopyItem", onActiveWindow(clipboard::Copier)},
        {"PasteItem", onMainWindow(&TMainForm::PasteItemClick)},
        {"Collagespcial1", onActiveWindow(clipboard::CollerSel)},
        {"Toutslectionner1", onActiveWindow(clipboard::SelectImg)},
        {"Effacerlimage1", onMainWindow(&TMainForm::Effacerlimage1Click)},
    };
    return routes;
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

void TMainForm::Effacerlimage1Click()
{
    TMDIChild *c = activeChild();
    if (!c)
        return;
    if (DialogRunner::ask(this, QMessageBox::Warning, QStringLiteral("Effacer l'image ?"),
                          QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes)
        c->guarded([&] { c->Efface(); });
}

} // namespace vermeo
