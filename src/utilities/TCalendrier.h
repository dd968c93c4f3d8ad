#pragma once
// "Calendrier": a month view whose weeks start on Sunday, its month and year as caption,
// and buttons (and Page Up / Page Down, with Ctrl for a year) to move by a month or a year.
#include <QDialog>

class QCalendarWidget;
class QLabel;
class QPushButton;

namespace vermeo::utilities {

class TCalendrier : public QDialog {
    Q_OBJECT
public:
    explicit TCalendrier(QWidget *parent = nullptr);

    QCalendarWidget *Calendar1 = nullptr;
    QLabel *Label1 = nullptr;       // "mmmmm  yyyy", 372 pixels wide
    QPushButton *BitBtn1 = nullptr; // a month back
    QPushButton *BitBtn2 = nullptr; // a month forward
    QPushButton *BitBtn3 = nullptr; // a year back
    QPushButton *BitBtn4 = nullptr; // a year forward
    QPushButton *Button1 = nullptr; // "Fermer"

    void BitBtn1Click() { moveMonths(-1); }
    void BitBtn2Click() { moveMonths(1); }
    void BitBtn3Click() { moveMonths(-12); }
    void BitBtn4Click() { moveMonths(12); }
    void Calendar1Change();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // From 29 February by a year lands on 28 February; from the 31st by a month on the month's last day.
    void moveMonths(int months);
};

} // namespace vermeo::utilities
