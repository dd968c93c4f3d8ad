// The "Fichier" menu: new, open, close, save, and the commands of the other windows.
#include "AcquireCommands.h"
#include "Clipboard.h"
#include "DialogRunner.h"
#include "DocumentFiles.h"
#include "MenuRoutes.h"
#include "TMDIChild.h"
#include "TMainForm.h"
#include "TNouveau.h"

#include <QMdiSubWindow>

namespace vermeo {

const MenuRoutes &fichierRoutes()
{
    static const MenuRoutes routes = {
        {"FileNewItem", onMainWindow(&TMainForm::FileNewItemClick)},
        {"FileOpenItem", onMainWindow(&TMainForm::FileOpenItemClick)},
        {"FileCloseItem", onMainWindow(&TMainForm::FileCloseItemClick)},
        {"FileSaveItem", onMainWindow(&TMainForm::FileSaveItemClick)},
        {"FileSaveAsItem", onMainWindow(&TMainForm::FileSaveAsItemClick)},
        {"Parcourir1", onMainWindow(&TMainForm::Parcourir1Click)},
        {"Conversionsmultiples1", onMainWindow(&TMainForm::Conversionsmultiples1Click)},
        {"Capturecran1", onMainWindow(&TMainForm::Capturecran1Click)},
        {"Acqurir1", onMainWindow(&TMainForm::Acqurir1Click)},
        {"Slectionnersource1", [](TMainForm &f) { acquire::SelectionnerSource(&f); }},
        {"Configurationimprimante1", onMainWindow(&TMainForm::Configurationimprimante1Click)},
        {"Miseenpage1", onMainWindow(&TMainForm::Miseenpage1Click)},
        {"Apercuavantimpression1", onMainWindow(&TMainForm::Apercuavantimpression1Click)},
        {"Imprimer1", onMainWindow(&TMainForm::Imprimer1Click)},
        {"FileExitItem", onMainWindow(&TMainForm::FileExitItemClick)},
    };
    return routes;
}

void TMainForm::FileNewItemClick()
{
    int w = 0, h = 0;
    TColour colour = clWhite;
    {
        TNouveau dlg(this);
        DialogRunner::exec(dlg);
        dlg.Result(w, h, colour);
    }
    if (w == 0)
        return;
    // The background becomes the fill colour of the main window's drawing state.
    State.backColour = colour;
    Backcolor->setColour(colour);
    // Counted before the window is created: with two open, the next is "Image3".
    const QString name = QStringLiteral("Image%1").arg(childCount() + 1);
    TMDIChild *child = OuvreFenetreImage(name);
    child->Init(w, h, colour);
    prepareChild(child);
}

void TMainForm::FileOpenItemClick()
{
    const QString name = formats::askOpenPictureName(this);
    if (!name.isEmpty())
        openPictureFile(name);
}

void TMainForm::FileCloseItemClick()
{
    if (TMDIChild *c = activeChild())
        c->subWindow()->close();
}

void TMainForm::FileSaveItemClick()
{
    if (TMDIChild *c = activeChild())
        c->Sauve(false);
}

void TMainForm::FileSaveAsItemClick()
{
    if (TMDIChild *c = activeChild())
        c->Sauve(true);
}

void TMainForm::FileExitItemClick() { close(); }

void TMainForm::openAcquired(const QImage &picture)
{
    // A new unnamed window of the picture's size on white, the drawing state, the page
    // set-up, then the picture drawn in (no undo copy).
    TMDIChild *child = OuvreFenetreImage(QString());
    child->guarded([&] {
        child->Init(picture.width(), picture.height(), clWhite);
        prepareChild(child);
        clipboard::CollerEcran(child->doc(), *child, picture);
    });
}

void TMainForm::Capturecran1Click() { openAcquired(acquire::captureScreen(this)); }

void TMainForm::Acqurir1Click()
{
    // Every page the scanner delivered was collected; the first one opens, the others go.
    const QList<QImage> pages = acquire::Acquerir(this);
    if (!pages.isEmpty())
        openAcquired(pages.first());
}

} // namespace vermeo
