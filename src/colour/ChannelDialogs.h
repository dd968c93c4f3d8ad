#pragma once
// The channel dialogs: colour balance and permutation (with preview), colour
// replacement (shows the two colours) and the red, green, blue components of a colour.
#include "AdjustDialog.h"
#include "ColourValue.h"

class QRadioButton;
class QFrame;

namespace vermeo::colour {

class TBalCoul : public PreviewDialog {
    Q_OBJECT
public:
    explicit TBalCoul(QWidget *parent = nullptr);
    // Accepted flag (1 or 0), then the red, blue and green offsets (spin x 255 div 100).
    void Result(int &accepted, int &red, int &blue, int &green) const;

    QSpinBox *SpinEdit1 = nullptr, *SpinEdit2 = nullptr, *SpinEdit3 = nullptr; // R, V, B
    QSlider *TrackBar1 = nullptr, *TrackBar2 = nullptr, *TrackBar3 = nullptr;  // Rouge, Vert, Bleu

protected:
    QImage computePreview(const QImage &reference) override;
    void resetControls() override;
    void beforePreview() override;

private:
    void couple(QSlider *slider, QSpinBox *spin);
};

class TPermut : public PreviewDialog {
    Q_OBJECT
public:
    explicit TPermut(QWidget *parent = nullptr);
    // 0 unless accepted, else the checked order 1..6.
    int Result() const;
    int checkedOrder() const;
    QRadioButton *RadioButton[7] = {}; // 1..6, as captioned by permutationName

protected:
    QImage computePreview(const QImage &reference) override;
    void resetControls() override;
};

class TRCouleur : public QDialog {
    Q_OBJECT
public:
    explicit TRCouleur(QWidget *parent = nullptr);
    void Init(TColour toReplace, TColour replacement);
    // The colours are written only when accepted.
    void Result(TColour &toReplace, TColour &replacement, bool &accepted) const;
    QFrame *Panel1 = nullptr, *Panel2 = nullptr;
    QPushButton *Button1 = nullptr, *Button2 = nullptr; // "Annuler", "Ok"

private:
    TColour m_from = clBlack, m_to = clBlack;
    bool m_accepted = false;
};

class TRvb : public QDialog {
    Q_OBJECT
public:
    explicit TRvb(QWidget *parent = nullptr);
    void Init(TColour colour);
    void Recalcule();
    // Writes the colour only when accepted.
    void Result(TColour &colour) const;
    TColour currentColour() const { return m_colour; }

    QSlider *TrackBar1 = nullptr, *TrackBar2 = nullptr, *TrackBar3 = nullptr; // Rouge, Bleu, Vert
    QFrame *Panel1 = nullptr;
    QPushButton *Button1 = nullptr, *Button2 = nullptr; // "Annuler", "OK"

private:
    void paintPanel();
    TColour m_colour = clBlack;
    bool m_accepted = false;
};

// Paints a frame in a colour value.
void paintSwatch(QFrame *panel, TColour colour);

} // namespace vermeo::colour
