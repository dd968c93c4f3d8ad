#pragma once
// "Redimensiooner": the new width and height of a resize, optionally keeping the
// picture's proportions.
#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace vermeo {

class TRedim : public QDialog {
    Q_OBJECT
public:
    explicit TRedim(QWidget *parent = nullptr);

    void Init(int width, int height);
    // Both 0 unless accepted; an empty edit gives 0.
    void Result(int &width, int &height) const;

    // Leaving an edit with "Garder les proportions" checked fits the other one.
    void Edit1Exit();
    void Edit2Exit();
    void Button1Click(); // Annuler
    void Button2Click(); // OK; a size the picture cannot take is refused with a message

    // Why a typed width and height cannot be taken, in French; empty when they can.
    static QString sizeProblem(const QString &width, const QString &height);

    QLineEdit *Edit1;
    QLineEdit *Edit2;
    QCheckBox *CheckBox1;
    QPushButton *Button1;
    QPushButton *Button2;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    long double m_ratio = 1.0L;
    bool m_accepted = false;
};

// Half-to-even rounding of the proportion rule, kept apart so it can be checked alone.
int roundHalfEven(long double v);

} // namespace vermeo
