#pragma once
// The histogram window: a 160 x 120 sample of the picture, the level tables of its
// red, green and blue, and a bar chart of 32 bins per channel on one shared scale.
#include "HistogramKernels.h"
#include "Progress.h"

#include <QDialog>

class QCheckBox;
class QPainter;
class QPushButton;

namespace vermeo::colour {

class THisto : public QDialog {
    Q_OBJECT
public:
    static constexpr int kSampleWidth = 160;
    static constexpr int kSampleHeight = 120;

    explicit THisto(QWidget *parent = nullptr, Progress &progress = silentProgress());
    void Init(const QImage &graphic);
    void Recalcule();
    // Draws the chart on a painter over the form's client area.
    void Axes(QPainter &p) const;
    // The form's chart area as it is painted now (for the eye and for tests).
    QImage chart() const;

    const HistogramTables &tables() const { return m_tables; }
    const QImage &sample() const { return m_sample; }

    QCheckBox *CheckBox1 = nullptr, *CheckBox2 = nullptr, *CheckBox3 = nullptr; // Rouge, Vert, Bleu
    QPushButton *Button1 = nullptr;                                             // "Fermer"

public slots:
    void CheckBox1Click();

protected:
    void paintEvent(QPaintEvent *event) override; // FormPaint

private:
    Progress &m_progress;
    QImage m_sample;
    HistogramTables m_tables;
};

} // namespace vermeo::colour
