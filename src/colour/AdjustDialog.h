#pragma once
// The adjustment dialogs of the "Couleurs" menu share one protocol: Init with the
// document's picture (scaled into a 132 x 99 preview that is kept as the reference),
// "Aperçu" recomputes the preview from the reference, "Rétablir" puts the reference
// and the start values back, "OK" / "Annuler" set or clear the accepted flag.
// PreviewDialog holds that protocol; AdjustDialog adds the coupled spin field and
// slider of the percentage dialogs.
#include "ToneKernels.h"

#include <QDialog>
#include <QImage>

class QLabel;
class QPushButton;
class QSlider;
class QSpinBox;

namespace vermeo::colour {

// The percentage fields: a spin field of -100..100 coupled to a slider of 0..50 centred on 25.
constexpr int percentSliderToSpin(int position) { return (position - 25) * 100 / 25; }
constexpr int percentSpinToSlider(int value) { return value / 4 + 25; }

class PreviewDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kPreviewWidth = 132;
    static constexpr int kPreviewHeight = 99;

    void Init(const QImage &graphic);
    void Recalcule();
    bool isAccepted() const { return m_accepted; }

    // What Image1 shows, and the unchanged reference.
    const QImage &shownPreview() const { return m_shown; }
    const QImage &referencePreview() const { return m_reference; }

    QPushButton *Button1 = nullptr; // "Annuler"
    QPushButton *Button2 = nullptr; // "OK"
    QPushButton *Button3 = nullptr; // "Aperçu"
    QPushButton *Button4 = nullptr; // "Rétablir"
    QLabel *Image1 = nullptr;

public slots:
    // Virtual for dialogs that do more on a button (the filter dialog stores its entry first).
    virtual void Button1Click();
    virtual void Button2Click();
    virtual void Button3Click();
    virtual void Button4Click();

protected:
    // The buttons at their usual places on a client area of w x h; the preview at (previewX, previewY).
    PreviewDialog(QWidget *parent, const QString &caption, int w, int h, int previewX = 128, int previewY = 104);

    // The dialog's own formula applied to the reference preview.
    virtual QImage computePreview(const QImage &reference) = 0;
    // Puts the dialog's controls back at their start values, without raising their change handlers.
    virtual void resetControls() = 0;
    // Called at the start of Recalcule, after the reference is shown (the slider follows the spin there).
    virtual void beforePreview() {}
    // Called by Init once the preview exists.
    virtual void afterInit() {}

    void showPreview(const QImage &img);
    void showEvent(QShowEvent *event) override; // FormShow
    bool eventFilter(QObject *watched, QEvent *event) override;
    // Enter on this control previews.
    void previewOnEnter(QWidget *w);

    bool m_accepted = false;

private:
    QImage m_reference;
    QImage m_work;
    QImage m_shown;
};

struct AdjustRanges {
    int spinMin = int(kPercent.low), spinMax = int(kPercent.high), spinStart = int(kPercent.start), sliderStart = 25;
};

// The percentage dialogs (and TSolar): SpinEdit1 and TrackBar1 coupled.
class AdjustDialog : public PreviewDialog {
    Q_OBJECT
public:
    QSlider *TrackBar1 = nullptr;
    QSpinBox *SpinEdit1 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;

    // The dialog's parameter, 0 unless accepted.
    int Result() const { return m_accepted ? parameter() : 0; }

public slots:
    void TrackBar1Change(int position);
    void SpinEdit1Change(int value);

protected:
    using Ranges = AdjustRanges;
    AdjustDialog(QWidget *parent, const QString &caption, const QString &label2, const QString &label1,
                 Ranges ranges = {});

    virtual int sliderToSpin(int position) const { return percentSliderToSpin(position); }
    virtual int spinToSlider(int value) const { return percentSpinToSlider(value); }
    virtual int parameter() const = 0;

    void resetControls() override;
    void beforePreview() override;
    void setSliderQuietly(int position);
    void setSpinQuietly(int value);

    Ranges m_ranges;
};

} // namespace vermeo::colour
