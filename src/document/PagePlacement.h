#pragma once
// Where a picture lands on the printed page and on the preview's page. The printer's
// pixels per millimetre are a whole number, and the picture starts 10 mm right of and
// 5 mm below the margins.
#include <QRect>
#include <QSize>

namespace vermeo::printing {

// The printable area of the printer, in pixels and in millimetres.
struct PageMetrics {
    int widthPixels = 0, heightPixels = 0;
    int widthMM = 0, heightMM = 0;
};

// A margin in millimetres as printer pixels, across and down.
int Mh(const PageMetrics &page, int millimetres);
int Mv(const PageMetrics &page, int millimetres);

// length x scale %, halves rounded to even.
int scaledLength(int length, int scale);

// Where the picture (its size as shown: the view's when zoomed) is stretched on the page.
QRect printTarget(const PageMetrics &page, int marginLeft, int marginTop, QSize picture, int scale);

// The preview window's parts for a window of the given size.
struct PreviewLayout {
    int buttonLeft = 0; // "Fermer"
    QRect pagePanel;    // the page, in the printer's proportions
};
PreviewLayout previewLayout(QSize window, const PageMetrics &page);

// The picture on a preview page drawn paintWidth pixels wide: the printed place and
// size times paintWidth / the page's width in printer pixels.
QRect previewTarget(const PageMetrics &page, int paintWidth, int marginLeft, int marginTop, QSize picture, int scale);

} // namespace vermeo::printing
