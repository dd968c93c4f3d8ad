#include "Printing.h"
#include "DialogRunner.h"
#include "Error.h"
#include "ImageDocument.h"

#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace vermeo::printing {

QPrinter &printer()
{
    // Never destroyed: the print engine must not outlive the application's end.
    static QPrinter *p = new QPrinter(QPrinter::HighResolution);
    return *p;
}

bool hasPrinter()
{
    const QPrinter &p = printer();
    if (p.outputFormat() == QPrinter::PdfFormat && !p.outputFileName().isEmpty())
        return true;
    return !QPrinterInfo::availablePrinterNames().isEmpty();
}

void requirePrinter()
{
    if (!hasPrinter())
        throw VermeoError(QStringLiteral("Aucune imprimante n'est installée. Ajoutez une imprimante au système "
                                         "pour pouvoir imprimer."));
    QPrinter &p = printer();
    // A queue added after start-up: the printer object still points at none.
    if (p.outputFormat() == QPrinter::NativeFormat && !p.isValid())
        p.setPrinterName(QPrinterInfo::defaultPrinterName().isEmpty() ? QPrinterInfo::availablePrinterNames().first()
                                                                       : QPrinterInfo::defaultPrinterName());
    else if (p.outputFormat() == QPrinter::PdfFormat && p.outputFileName().isEmpty())
        p.setPrinterName(QPrinterInfo::availablePrinterNames().first());
}

PageMetrics pageMetrics(const QPrinter &p)
{
    return {p.width(), p.height(), p.widthMM(), p.heightMM()};
}

void Imprime(const ImageDocument &doc, int copies)
{
    requirePrinter();
    QPrinter &p = printer();
    p.setCopyCount(std::max(1, copies));
    const QImage &picture = doc.view();
    const QRect target = printTarget(pageMetrics(p), doc.MarginLeft, doc.MarginTop, picture.size(),
                                     ImageDocument::PrintScale);
    QPainter painter;
    if (!painter.begin(&p))
        throw VermeoError(QStringLiteral("Impression impossible : l'imprimante « %1 » refuse le document.")
                              .arg(p.outputFileName().isEmpty() ? p.printerName() : p.outputFileName()));
    // Stretched whole into the target; neither the right nor the bottom margin clips it.
    painter.drawImage(target, picture);
    if (!painter.end())
        throw VermeoError(QStringLiteral("Impression impossible : le document n'a pas pu être terminé."));
}

int askPrint(QWidget *parent)
{
    requirePrinter();
    QPrintDialog dlg(&printer(), parent);
    dlg.setWindowTitle(QStringLiteral("Imprimer"));
    // One picture, one page: no range to choose.
    dlg.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dlg.setOption(QAbstractPrintDialog::PrintSelection, false);
    dlg.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    if (DialogRunner::exec(dlg) != QDialog::Accepted)
        return 0;
    return std::max(1, printer().copyCount());
}

void configurePrinter(QWidget *parent)
{
    requirePrinter();
    QPageSetupDialog dlg(&printer(), parent);
    dlg.setWindowTitle(QStringLiteral("Configuration imprimante"));
    DialogRunner::exec(dlg);
}

} // namespace vermeo::printing
