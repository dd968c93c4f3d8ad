#pragma once
// "Fusion": a second picture (at first the picture itself, or a bitmap chosen with
// "Parcourir") laid over the picture with one of six raster operations, tried on the
// 132 x 99 preview first.
#include "AdjustDialog.h"

class QGroupBox;
class QRadioButton;

namespace vermeo {

class TFusion : public colour::PreviewDialog {
    Q_OBJECT
public:
    explicit TFusion(QWidget *parent = nullptr);

    // The picture in both previews; the second picture is a copy of it.
    void Init(const QImage &picture);
    // operation 0 unless accepted; otherwise 1..6 by the checked button, and bitmap
    // receives the second picture.
    void Result(int &operation, QImage &bitmap) const;
    // The operation of the checked button (1..6).
    int checkedOperation() const;
    const QImage &secondPicture() const { return m_second; }

    void Button5Click(); // "Parcourir"

    QLabel *Image2 = nullptr;
    QGroupBox *GroupBox1 = nullptr;
    QRadioButton *RadioButton[6] = {};
    QPushButton *Button5 = nullptr;

protected:
    QImage computePreview(const QImage &reference) override;
    void resetControls() override {}
    void showEvent(QShowEvent *event) override;

private:
    void showSecond();
    QImage m_second;
};

} // namespace vermeo
