#pragma once
// The program's one printer and what is printed on it: the picture of a window, one
// page, placed by the page set-up. Without a printer queue, the print dialog offers
// Qt's PDF file output; tests print to a PDF file they own, never to the machine's queues.
#include "PagePlacement.h"

#include <QImage>
#include <QStringList>
#include <functional>

class QPrinter;
class QWidget;

namespace vermeo {
class ImageDocument;
}

namespace vermeo::printing {

// The printer every command prints on (the system's default queue at first).
QPrinter &printer();
// The system's printer queues. Tests replace where they come from, so that what they
// check does not depend on the machine's printers; an empty function restores them.
QStringList printerQueues();
void setPrinterQueueSource(std::function<QStringList()> source);
// Whether there is anything to print on at once: a queue, or a file chosen as output.
bool hasPrinter();
// Throws VermeoError with the French message when there is no printer.
void requirePrinter();
// The printable area of the printer.
PageMetrics pageMetrics(const QPrinter &p);

// Prints the picture as the window shows it (zoomed size when zoomed) on one page, with
// that many copies, as a job named `jobName`; a PDF keeps the picture's pixels exactly.
// Throws VermeoError when there is no printer or printing fails.
void Imprime(const ImageDocument &doc, int copies, const QString &jobName);

// "&Imprimer...": the system print dialog; the number of copies chosen, 0 if cancelled.
// With no queue, the dialog opens on its PDF file output (a file named after the job in
// `folder`), the reason in its first line.
int askPrint(QWidget *parent, const QString &jobName, const QString &folder);
// "&Configuration imprimante": the system printer set-up dialog.
void configurePrinter(QWidget *parent);

// The text of the first line of the print dialog when the machine has no printer queue.
QString noQueueLine();

} // namespace vermeo::printing
