#pragma once
// "Effets spéciaux": the list of the eight fractals and the control that draws them.
#include "TFractalImage.h"

#include <QDialog>

class QListWidget;
class QPushButton;

namespace vermeo {

class TFract : public QDialog {
    Q_OBJECT
public:
    explicit TFract(QWidget *parent = nullptr);

    // When accepted, the control's picture stretched into (0, 0, width - 1, height - 1)
    // of bitmap; otherwise bitmap is left alone.
    void Result(QImage &bitmap) const;
    bool isAccepted() const { return m_accepted; }

    void Button1Click(); // "Aperçu", also a double click in the list
    void Button3Click(); // "Annuler"
    void Button4Click(); // "OK"

    geometry::TFractalImage *FractalImage1;
    QListWidget *ListBox1;
    QPushButton *Button1;
    QPushButton *Button3;
    QPushButton *Button4;

public slots:
    void reject() override; // Escape and the close box: as "Annuler"

protected:
    void showEvent(QShowEvent *event) override;

private:
    bool m_accepted = false;
};

} // namespace vermeo
