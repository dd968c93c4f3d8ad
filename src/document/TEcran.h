#pragma once
// "Aperçu avant impression": the page in the printer's proportions with the picture
// placed and scaled as it will print. The picture is made once, in Init.
#include "PagePlacement.h"

#include <QDialog>
#include <QImage>

class QFrame;
class QPushButton;

namespace vermeo {

class TEcran : public QDialog {
    Q_OBJECT
public:
    explicit TEcran(QWidget *parent = nullptr);
    void Init(int left, int top, int right, int bottom, int scale, const QImage &picture,
              const printing::PageMetrics &page);

    QWidget *Panel1;      // the top bar
    QPushButton *Button1; // "Fermer"
    QFrame *Panel2;       // the page
    QWidget *PaintBox1;   // the page's drawing area
    // A margin as preview pixels across and down (the printed place, in proportion).
    int Mh(int millimetres) const;
    int Mv(int millimetres) const;
    // The picture as drawn and where it stands on the paint box.
    const QImage &previewPicture() const { return m_bitmap; }
    QPoint picturePosition() const { return m_position; }

protected:
    void resizeEvent(QResizeEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    void FormResize();
    void FormPaint();
    void Button1Click() { accept(); }

    printing::PageMetrics m_page;
    double m_ratio = 0; // preview pixels per printer pixel, fixed by Init
    QImage m_bitmap;
    QPoint m_position;
};

} // namespace vermeo
