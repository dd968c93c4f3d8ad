#pragma once
// "Horloge": the time and date, refreshed every second. "Set" stops the clock so the
// spin button can change the field chosen in the radio group; "Set" again writes the
// labels to the system clock (Modifie) and lets the clock run again.
#include "DeskRules.h"

#include <QDialog>
#include <array>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTimer;
class QToolButton;

namespace vermeo::utilities {

class THorloge : public QDialog {
    Q_OBJECT
public:
    explicit THorloge(QWidget *parent = nullptr, SystemClock &clock = systemClock());

    QLabel *Label1 = nullptr; // time, "18:23:00"
    QLabel *Label2 = nullptr; // date, "20/10/1998"
    QGroupBox *RadioGroup1 = nullptr;
    std::array<QRadioButton *, 5> RadioButton{}; // "Hr", "Mn", "Jo", "Mo", "An"
    QToolButton *SpinButton1Up = nullptr;
    QToolButton *SpinButton1Down = nullptr;
    QPushButton *Button1 = nullptr; // "Fermer"
    QPushButton *Button2 = nullptr; // "Set"
    QTimer *Timer1 = nullptr;

    bool editing() const { return m_edit; }

    void FormActivate();
    void FormDeactivate();
    void Timer1Timer();
    void Button2Click();
    void SpinButton1UpClick() { spin(1); }
    void SpinButton1DownClick() { spin(-1); }
    // Writes the labels to the system clock; a value the system refuses is said in French.
    void Modifie();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void spin(int step);
    SystemClock &m_clock;
    QButtonGroup *m_fields = nullptr;
    bool m_edit = false;
};

} // namespace vermeo::utilities
