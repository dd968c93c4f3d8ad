// The "Fenêtre" menu: arranging the image windows.
#include "MenuRoutes.h"
#include "TMainForm.h"

#include <QMdiArea>
#include <QMdiSubWindow>

namespace vermeo {

const MenuRoutes &fenetreRoutes()
{
    static const MenuRoutes routes = {
        {"WindowCascadeItem", onMainWindow(&TMainForm::WindowCascadeItemClick)},
        {"WindowTileItem", onMainWindow(&TMainForm::WindowTileItemClick)},
        {"WindowArrangeItem", onMainWindow(&TMainForm::WindowArrangeItemClick)},
        {"WindowMinimizeItem", onMainWindow(&TMainForm::WindowMinimizeItemClick)},
    };
    return routes;
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

} // namespace vermeo
