// The "Fichier" menu's browser, batch converter and printing commands.
#include "BatchConversion.h"
#include "DialogRunner.h"
#include "Printing.h"
#include "TCat.h"
#include "TConversion.h"
#include "TConvert.h"
#include "TMDIChild.h"
#include "TMainForm.h"
#include "TMep.h"
#include "TVignettes.h"

#include <QApplication>
#include <QFileInfo>
#include <QMdiSubWindow>

namespace vermeo {

void TMainForm::Parcourir1Click()
{
    QStringList names;
    {
        formats::TCat cat(this);
        DialogRunner::exec(cat);
        if (!cat.Result())
            return;
        names = cat.files();
    }
    int chosen = -1;
    {
        formats::TVignettes page(this);
        page.Init(names);
        DialogRunner::exec(page);
        chosen = page.Result();
    }
    if (chosen < 0)
        return;
    // Opened by Charge alone: the window keeps its own drawing state and page set-up.
    const QString name = names[chosen];
    if (TMDIChild *shown = childShowing(name)) {
        bringToFront(shown);
        return;
    }
    TMDIChild *child = OuvreFenetreImage(name);
    try {
        child->Charge(name);
    } catch (const VermeoError &e) {
        if (child->subWindow())
            child->subWindow()->close();
        DialogRunner::tell(this, QMessageBox::Critical, e.message());
        return;
    }
    pictureFileUsed(child->FileName());
}

void TMainForm::Conversionsmultiples1Click() { Conversions(); }

void TMainForm::Conversions()
{
    QStringList files;
    QString destination, format;
    {
        formats::TConvert dlg(this);
        DialogRunner::exec(dlg);
        dlg.Result(files, destination, format);
    }
    if (files.isEmpty())
        return;
    // The conversion runs beside its window, whose "Annuler" stops it after the files
    // being converted; the message says how many were.
    formats::ConversionReport report;
    try {
        formats::TConversion run(files, destination, format, this);
        DialogRunner::exec(run);
        report = run.Result();
    } catch (const VermeoError &e) {
        DialogRunner::tell(this, QMessageBox::Critical, e.message());
        return;
    }
    DialogRunner::tell(
        this, report.failures.empty() && report.notStarted == 0 ? QMessageBox::Information : QMessageBox::Warning,
        report.summary());
}

void TMainForm::Configurationimprimante1Click()
{
    try {
        printing::configurePrinter(this);
    } catch (const VermeoError &e) {
        DialogRunner::tell(this, QMessageBox::Critical, e.message());
    }
}

void TMainForm::Miseenpage1Click()
{
    {
        TMep mep(this);
        mep.Init(Margins[0], Margins[1], Margins[2], Margins[3], PrintScale);
        DialogRunner::exec(mep);
        mep.Result(Margins[0], Margins[1], Margins[2], Margins[3], PrintScale);
    }
    // Cancelled or not, the active window takes the main window's values.
    if (TMDIChild *c = activeChild())
        c->SetPage(Margins[0], Margins[1], Margins[2], Margins[3], PrintScale);
}

void TMainForm::Apercuavantimpression1Click()
{
    if (TMDIChild *c = activeChild())
        c->Apercu();
}

void TMainForm::Imprimer1Click()
{
    TMDIChild *c = activeChild();
    if (!c)
        return;
    const QString file = c->FileName();
    const int copies =
        printing::askPrint(this, c->printJobName(), file.isEmpty() ? QString() : QFileInfo(file).absolutePath());
    if (copies > 0)
        c->Imprime(copies);
}

void TMainForm::PrintButtonClick()
{
    // One copy at once, without the print dialog.
    if (TMDIChild *c = activeChild())
        c->Imprime(1);
}

} // namespace vermeo
