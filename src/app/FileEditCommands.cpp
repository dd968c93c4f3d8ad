// The "Fichier" and "Edition" menus: each handler hands the work to the active image window.
#include "DialogRunner.h"
#include "DocumentFiles.h"
#include "TMDIChild.h"
#include "TMainForm.h"
#include "TNouveau.h"

#include <QMdiArea>
#include <QMdiSubWindow>

namespace vermeo {

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
    if (name.isEmpty())
        return;
    TMDIChild *child = OuvreFenetreImage(name);
    child->Init(200, 200, clWhite);
    try {
        child->Charge(name);
    } catch (const VermeoError &e) {
        // No empty window is left behind for a file that could not be read.
        child->doc().setModified(false);
        if (child->subWindow())
            child->subWindow()->close();
        DialogRunner::tell(this, QMessageBox::Critical, e.message());
        return;
    }
    prepareChild(child);
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

void TMainForm::Annuler1Click()
{
    if (TMDIChild *c = activeChild())
        c->Annule();
}

void TMainForm::Effacerlimage1Click()
{
    TMDIChild *c = activeChild();
    if (!c)
        return;
    if (DialogRunner::ask(this, QMessageBox::Warning, QStringLiteral("Effacer l'image ?"),
                          QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes)
        c->Efface();
}

void TMainForm::Proprits1Click()
{
    if (TMDIChild *c = activeChild())
        c->Proprietes();
}

} // namespace vermeo
