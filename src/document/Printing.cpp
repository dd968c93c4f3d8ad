#include "Printing.h"
#include "DialogRunner.h"
#include "Error.h"
#include "ImageDocument.h"

#include <QBoxLayout>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace vermeo::printing {

namespace {
std::function<QStringList()> &queueSource()
{
    static std::function<QStringList()> source;
    return source;
}

bool printsToFile(const QPrinter &p)
{
    return p.outputFormat() == QPrinter::PdfFormat && !p.outputFileName().isEmpty();
}

// A queue added after start-up: the printer object still points at none.
void pointAtAQueue(QPrinter &p, const QStringList &queues)
{
    if (p.outputFormat() != QPrinter::NativeFormat || queues.contains(p.printerName()))
        return;
    const QString preferred = QPrinterInfo::defaultPrinterName();
    p.setPrinterName(queues.contains(preferred) ? preferred : queues.first());
}

// The file the PDF output starts with: the job's name in the picture's folder.
QString pdfFileFor(const QString &jobName, const QString &folder)
{
    QString base = QFileInfo(jobName).completeBaseName();
    if (base.isEmpty())
        base = QStringLiteral("Vermeo");
    const QString dir = folder.isEmpty() || !QFileInfo(folder).isDir() ? QDir::homePath() : folder;
    return QDir(dir).filePath(base + QStringLiteral(".pdf"));
}
} // namespace

QPrinter &printer()
{
    // Never destroyed: the print engine must not outlive the application's end.
    static QPrinter *p = new QPrinter(QPrinter::HighResolution);
    return *p;
}

QStringList printerQueues()
{
    const auto &source = queueSource();
    return source ? source() : QPrinterInfo::availablePrinterNames();
}

void setPrinterQueueSource(std::function<QStringList()> source) { queueSource() = std::move(source); }

QString noQueueLine()
{
    return QStringLiteral("Aucune imprimante n'est installée : Vermeo imprime dans un fichier PDF.");
}

bool hasPrinter() { return printsToFile(printer()) || !printerQueues().isEmpty(); }

void requirePrinter()
{
    QPrinter &p = printer();
    if (printsToFile(p))
        return;
    const QStringList queues = printerQueues();
    if (queues.isEmpty())
        throw VermeoError(QStringLiteral("Aucune imprimante n'est installée. Ajoutez une imprimante au système, "
                                         "ou choisissez « Imprimer dans un fichier (PDF) » dans « Imprimer... »."));
    if (p.outputFormat() == QPrinter::PdfFormat)
        p.setOutputFormat(QPrinter::NativeFormat); // a PDF output without a file: back to a queue
    pointAtAQueue(p, queues);
}

PageMetrics pageMetrics(const QPrinter &p) { return {p.width(), p.height(), p.widthMM(), p.heightMM()}; }

void Imprime(const ImageDocument &doc, int copies, const QString &jobName)
{
    requirePrinter();
    QPrinter &p = printer();
    p.setCopyCount(std::max(1, copies));
    p.setDocName(jobName.isEmpty() ? QStringLiteral("Vermeo") : jobName);
    const QImage &picture = doc.view();
    const QRect target =
        printTarget(pageMetrics(p), doc.MarginLeft, doc.MarginTop, picture.size(), ImageDocument::PrintScale);
    QPainter painter;
    if (!painter.begin(&p))
        throw VermeoError(QStringLiteral("Impression impossible : l'imprimante « %1 » refuse le document.")
                              .arg(p.outputFileName().isEmpty() ? p.printerName() : p.outputFileName()));
    // The pixels as they are: a PDF would otherwise hold the picture as a JPEG.
    painter.setRenderHint(QPainter::LosslessImageRendering);
    // Stretched whole into the target; neither the right nor the bottom margin clips it.
    painter.drawImage(target, picture);
    if (!painter.end())
        throw VermeoError(QStringLiteral("Impression impossible : le document n'a pas pu être terminé."));
}

int askPrint(QWidget *parent, const QString &jobName, const QString &folder)
{
    QPrinter &p = printer();
    const QStringList queues = printerQueues();
    const bool noQueue = queues.isEmpty();
    if (noQueue) {
        // Qt's own "Imprimer dans un fichier (PDF)" is the one output there is.
        if (!printsToFile(p)) {
            p.setOutputFormat(QPrinter::PdfFormat);
            p.setOutputFileName(pdfFileFor(jobName, folder));
        }
    } else if (!printsToFile(p)) {
        p.setOutputFormat(QPrinter::NativeFormat);
        pointAtAQueue(p, queues);
    }
    p.setDocName(jobName.isEmpty() ? QStringLiteral("Vermeo") : jobName);
    QPrintDialog dlg(&p, parent);
    dlg.setWindowTitle(QStringLiteral("Imprimer"));
    // One picture, one page: no range to choose.
    dlg.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dlg.setOption(QAbstractPrintDialog::PrintSelection, false);
    dlg.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dlg.setOption(QAbstractPrintDialog::PrintToFile, true);
    if (noQueue) {
        auto *why = new QLabel(noQueueLine(), &dlg);
        why->setObjectName(QStringLiteral("noQueueLine"));
        why->setWordWrap(true);
        if (auto *column = qobject_cast<QBoxLayout *>(dlg.layout()))
            column->insertWidget(0, why);
    }
    if (DialogRunner::exec(dlg) != QDialog::Accepted)
        return 0;
    return std::max(1, p.copyCount());
}

void configurePrinter(QWidget *parent)
{
    QPrinter &p = printer();
    // Qt's set-up dialog serves the system's printers only, not its PDF output.
    if (p.outputFormat() == QPrinter::PdfFormat && !printerQueues().isEmpty()) {
        p.setOutputFileName(QString());
        p.setOutputFormat(QPrinter::NativeFormat);
    }
    if (p.outputFormat() == QPrinter::PdfFormat || printerQueues().isEmpty())
        throw VermeoError(QStringLiteral("Aucune imprimante n'est installée : il n'y a pas d'imprimante à configurer. "
                                         "« Imprimer... » imprime dans un fichier PDF."));
    requirePrinter();
    QPageSetupDialog dlg(&p, parent);
    dlg.setWindowTitle(QStringLiteral("Configuration imprimante"));
    DialogRunner::exec(dlg);
}

} // namespace vermeo::printing
