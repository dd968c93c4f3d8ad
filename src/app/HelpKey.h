#pragma once
// F1 anywhere in the program: the help of the highlighted menu item, of the open
// dialog's command, or the contents.
#include <QObject>

namespace vermeo {

class TMainForm;

class HelpKey : public QObject {
    Q_OBJECT
public:
    explicit HelpKey(TMainForm *form);

    // The topic F1 opens now, and the modal dialog it belongs to (if any).
    QString currentTopic(QWidget **modalDialog = nullptr) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    TMainForm *m_form;
};

} // namespace vermeo
