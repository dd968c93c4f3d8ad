#pragma once
// The program's one printer and what is printed on it: the picture of a window, one
// page, placed by the page set-up. Tests point the printer at a PDF file.
#include "PagePlacement.h"

#include <QImage>

class QPrinter;
class QWidget;

namespace vermeo {
class ImageDocument;
}

namespace vermeo::printing {

// The printer every command prints on (the system's default queue at first).
QPrinter &printer();
// Whether there is anything to print on: a queue of the system, or a file set as output.
bool hasPrinter();
// Throws VermeoError with the French message when there is no printer.
void requirePrinter();
// The printable area of the printer.
PageMetrics pageMetrics(const QPrinter &p);

// Prints the picture as the window shows it (zoomed size when zoomed) on one page, with
// that many copies. Throws VermeoError when there is no printer or printing fails.
void Imprime(const ImageDocument &doc, int copies);

// "&Imprimer...": the system print dialog; the number of copies chosen, 0 if cancelled.
int askPrint(QWidget *parent);
// "&Configuration imprimante": the system printer set-up dialog.
void configurePrinter(QWidget *parent);

} // namespace vermeo::printing
