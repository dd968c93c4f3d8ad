// The "?" menu: the help and the about box.
#include "DialogRunner.h"
#include "MenuRoutes.h"
#include "THelp.h"
#include "TMainForm.h"

namespace vermeo {

const MenuRoutes &aideRoutes()
{
    static const MenuRoutes routes = {
        {"HContents", onMainWindow(&TMainForm::HContents)},
        {"HSearch", onMainWindow(&TMainForm::HSearch)},
        {"HowToUse", onMainWindow(&TMainForm::HowToUse)},
        {"About1", onMainWindow(&TMainForm::About1Click)},
    };
    return routes;
}

void TMainForm::HContents()
{
    THelp help(THelp::Contents, m_helpFile, this);
    DialogRunner::exec(help);
}

void TMainForm::HSearch()
{
    THelp help(THelp::Search, m_helpFile, this);
    DialogRunner::exec(help);
}

void TMainForm::HowToUse()
{
    THelp help(THelp::HowToUse, m_helpFile, this);
    DialogRunner::exec(help);
}

void TMainForm::About1Click()
{
    DialogRunner::tell(this, QMessageBox::Information,
                       QStringLiteral("Vermeo\nProgramme de dessin et de retouche d'images.\nVersion 0.1"));
}

} // namespace vermeo
