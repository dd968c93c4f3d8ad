#pragma once
// "Récupération des images": at start-up, the pictures a crash or a kill left
// unsaved, each with its name, size and the time of its last change. "Récupérer"
// reopens the ticked ones, "Ignorer" leaves them all for the next start, "Supprimer"
// throws the ticked ones away.
#include "JournalSession.h"

#include <QDialog>
#include <vector>

class QLabel;
class QListWidget;
class QPushButton;

namespace vermeo {

// One line of the list: "plan.pcx : 640 x 480, 8 bits, modifiée le 9 décembre 2026 à 03:12".
QString recoveryLine(const JournalEntry &entry);

class TRecup : public QDialog {
    Q_OBJECT
public:
    enum Choice { Ignore, Recover, Remove };

    explicit TRecup(QWidget *parent = nullptr);
    void Init(const std::vector<JournalEntry> &entries);
    // The button pressed and the entries ticked (indices into Init's list).
    Choice Result(std::vector<int> &ticked) const;

    QLabel *Label1;
    QListWidget *ListBox1;
    QPushButton *Button1; // Récupérer
    QPushButton *Button2; // Ignorer
    QPushButton *Button3; // Supprimer

private:
    void Button1Click();
    void Button2Click();
    void Button3Click();
    Choice m_choice = Ignore;
};

} // namespace vermeo
