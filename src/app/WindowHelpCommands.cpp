// The "Affichage" palette toggle, the "Fenêtre" menu and the "?" menu.
#include "DialogRunner.h"
#include "THelp.h"
#include "TMainForm.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace vermeo {

void TMainForm::Palettedescouleurs1Click()
{
    Panel3->setVisible(action("Palettedescouleurs1")->isChecked());
}

void TMainForm::WindowCascadeItemClick() { m_mdi->cascadeSubWindows(); }

void TMainForm::WindowTileItemClick() { m_mdi->tileSubWindows(); }

void TMainForm::WindowArrangeItemClick()
{
    // Minimised windows line up along the bottom of the frame, left to right.
    int x = 0;
    const int bottom = m_mdi->viewport()->height();
    for (QMdiSubWindow *sw : m_mdi->subWindowList(QMdiArea::CreationOrder)) {
        if (!sw->isMinimized())
            continue;
        sw->move(x, bottom - sw->height());
        x += sw->width();
    }
}

void TMainForm::WindowMinimizeItemClick()
{
    const auto list = m_mdi->subWindowList(QMdiArea::CreationOrder);
    for (auto it = list.crbegin(); it != list.crend(); ++it)
        (*it)->showMinimized();
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
