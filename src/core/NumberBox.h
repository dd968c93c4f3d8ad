#pragma once
// The number field of every dialog and panel: a spin box that never keeps a number other
// than the one it shows. A number typed past a limit becomes that limit at once, shown.
#include <QSpinBox>

namespace vermeo {

class NumberBox : public QSpinBox {
    Q_OBJECT
public:
    using QSpinBox::QSpinBox;

protected:
    QValidator::State validate(QString &input, int &pos) const override;
    void fixup(QString &input) const override;

private:
    // The typed whole number, without prefix and suffix; false when it is none.
    bool typedNumber(const QString &input, qlonglong &number) const;
    QString shownAs(int value) const;
};

} // namespace vermeo
