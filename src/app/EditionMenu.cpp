// The "Edition" menu: undo, the clipboard, select all and erase.
#include "Clipboard.h"
#include "DialogRunner.h"
#include "MenuRoutes.h"
#include "PixelRows.h"
#include "TMDIChild.h"
#include "TMainForm.h"

#include <QMdiSubWindow>

namespace vermeo {

const MenuRoutes &editionRoutes()
{
    static const MenuRoutes routes = {
        {"Annuler1", onActiveWindow([](TMDIChild &c) { c.Annule(); })},
        {"Retablir1", onActiveWindow([](TMDIChild &c) { c.Retablit(); })},
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
    if (!clipboard::clipboardHasBitmap())
        return;
    // A refused picture says why, and no window is left behind.
    const QImage bitmap = clipboard::clipboardBitmap();
    if (bitmap.isNull()) {
        DialogRunner::tell(this, QMessageBox::Critical,
                           QStringLiteral("L'image du Presse-papiers ne peut pas être lue : elle est trop grande ou "
                                          "endommagée."));
        return;
    }
    if (!isHoldableSize(bitmap.width(), bitmap.height())) {
        DialogRunner::tell(this, QMessageBox::Critical,
                           QStringLiteral("L'image du Presse-papiers est trop grande : %1 x %2.")
                               .arg(bitmap.width())
                               .arg(bitmap.height()));
        return;
    }
    // A new window of the clipboard picture's size, on white, then the paste.
    TMDIChild *child = OuvreFenetreImage(QString());
    try {
        child->Init(bitmap.width(), bitmap.height(), clWhite);
        prepareChild(child);
        clipboard::Coller(child->doc(), *child);
    } catch (const VermeoError &e) {
        child->doc().setModified(false);
        child->subWindow()->close();
        DialogRunner::tell(this, QMessageBox::Critical, e.message());
    }
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
