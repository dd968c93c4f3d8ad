#include "HelpKey.h"
#include "HelpLibrary.h"
#include "THelp.h"
#include "TMainForm.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QMenu>

namespace vermeo {

HelpKey::HelpKey(TMainForm *form) : QObject(form), m_form(form) { qApp->installEventFilter(this); }

QString helpTopicOfWindow(QWidget *window)
{
    if (auto *menu = qobject_cast<QMenu *>(window)) {
        // The highlighted item; else the submenu's own item; else the menu's page.
        if (QAction *a = menu->activeAction())
            if (const QString t = helpTopicOfItem(a->objectName()); !t.isEmpty())
                return t;
        if (const QString t = helpTopicOfItem(menu->menuAction()->objectName()); !t.isEmpty())
            return t;
        return helpTopicOfMenu(menu->objectName());
    }
    if (qobject_cast<QDialog *>(window))
        return helpTopicOfDialog(QString::fromLatin1(window->metaObject()->className()));
    return {};
}

bool HelpKey::eventFilter(QObject *watched, QEvent *event)
{
    // A key reaches the window system's window first (the main window's, while a menu is
    // open), then the widget it is for: only the widget says what the user is asking about.
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return QObject::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier)
        return false;
    // The window the key was typed in says what the user is asking about.
    auto *target = qobject_cast<QWidget *>(watched);
    QWidget *window = target ? target->window() : QApplication::activeWindow();
    if (auto *help = qobject_cast<THelp *>(window)) {
        // In the help window itself, F1 explains the help window.
        help->showHowToUse();
        return true;
    }
    const QString topic = helpTopicOfWindow(window);
    // The menu closes first, as it does when any command is chosen.
    while (QWidget *popup = QApplication::activePopupWidget())
        popup->close();
    QWidget *modal = window && window->isModal() ? window : nullptr;
    m_form->showHelpTopic(topic, modal);
    return true;
}

} // namespace vermeo
