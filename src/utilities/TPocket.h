#pragma once
// "Calculatrice": the pocket calculator's window. Every button hands its key presses to
// the window's key handler, so typing works whichever button has the focus.
#include "PocketCalculator.h"

#include <QDialog>
#include <array>

class QLabel;
class QPushButton;

namespace vermeo::utilities {

class TPocket : public QDialog {
    Q_OBJECT
public:
    explicit TPocket(QWidget *parent = nullptr);

    // Button0..Button9 the digits, 10 ",", 11 "=", 12..15 "+ - * /", 16 "1/x", 17 "sqr",
    // 18 "C", 19 "Fermer".
    std::array<QPushButton *, 20> Button{};
    QLabel *Label1 = nullptr; // the display

    const PocketCalculator &state() const { return m_calc; }

    void FormActivate();
    // A key clicks its button; true when the key was one of the calculator's.
    bool FormKeyPress(QKeyEvent *event);

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void ButtonClick(int index);
    PocketCalculator m_calc;
};

} // namespace vermeo::utilities
