#pragma once
// F1 anywhere in the program: the help of the highlighted menu item, of the open
// dialog's command, or the contents.
#include <QObject>

class QWidget;

namespace vermeo {

class TMainForm;

class HelpKey : public QObject {
    Q_OBJECT
public:
    explicit HelpKey(TMainForm *form);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    TMainForm *m_form;
};

// The topic of F1 pressed in this window: a menu's highlighted item (or the menu), a
// dialog's command; empty for the contents.
QString helpTopicOfWindow(QWidget *window);

} // namespace vermeo
