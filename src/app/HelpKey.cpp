#include "HelpKey.h"
#include "HelpLibrary.h"
#include "THelp.h"
#include "TMainForm.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>

namespace vermeo {

HelpKey::HelpKey(TMainForm *form) : QObject(form), m_form(form) { qApp->installEventFilter(this); }

QString HelpKey::currentTopic(QWidget **modalDialog) const
{
    if (modalDialog)
        *modalDialog = nullptr;
    if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
        // The highlighted item; else the submenu's own item; else the menu's page.
        if (QAction *a = menu->activeAction())
            if (const QString t = helpTopicOfItem(a->objectName()); !t.isEmpty())
                return t;
        if (const QString t = helpTopicOfItem(menu->menuAction()->objectName()); !t.isEmpty())
            return t;
        return helpTopicOfMenu(menu->objectName());
    }
    if (QWidget *modal = QApplication::activeModalWidget()) {
        if (modalDialog)
            *modalDialog = modal;
        return helpTopicOfDialog(QString::fromLatin1(modal->metaObject()->className()));
    }
    return {};
}

bool HelpKey::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier)
        return false;
    // In the help window itself, F1 explains the help window.
    if (auto *help = qobject_cast<THelp *>(QApplication::activeWindow())) {
        help->showHowToUse();
        return true;
    }
    QWidget *modal = nullptr;
    const QString topic = currentTopic(&modal);
    // The menu closes first, as it does when any command is chosen.
    while (QWidget *popup = QApplication::activePopupWidget())
        popup->close();
    m_form->showHelpTopic(topic, modal);
    return true;
}

} // namespace vermeo
