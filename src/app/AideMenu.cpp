// The "?" menu: the help window at its contents, its search or its page on using
// help, the help a topic at a time for F1, and the about box.
#include "DialogRunner.h"
#include "HelpKey.h"
#include "MenuRoutes.h"
#include "TAPropos.h"
#include "THelp.h"
#include "TMainForm.h"

#include <QApplication>

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

THelp *TMainForm::helpWindow()
{
    // One window beside the pictures, kept with its history until the program ends.
    auto *help = findChild<THelp *>(QStringLiteral("THelp"), Qt::FindDirectChildrenOnly);
    if (!help)
        help = new THelp(m_helpFile, this);
    help->show();
    help->raise();
    help->activateWindow();
    return help;
}

void TMainForm::HContents() { helpWindow()->showContents(); }

void TMainForm::HSearch() { helpWindow()->showSearch(); }

void TMainForm::HowToUse() { helpWindow()->showHowToUse(); }

void TMainForm::showHelpTopic(const QString &topic, QWidget *modalDialog)
{
    if (!modalDialog) {
        helpWindow()->showTopic(topic);
        return;
    }
    // A window opened beside a modal dialog could not be used: this one is the dialog's own.
    THelp help(m_helpFile, modalDialog);
    help.showTopic(topic);
    DialogRunner::exec(help);
}

void TMainForm::About1Click()
{
    TAPropos about(this);
    DialogRunner::exec(about);
}

} // namespace vermeo
