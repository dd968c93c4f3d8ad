#include "FilterCommands.h"

#include "ApplyFrame.h"
#include "DialogRunner.h"
#include "Error.h"
#include "Selection.h"
#include "TEffets.h"
#include "TFiltre.h"

#include <optional>

namespace vermeo::geometry {

void Filtres(ImageDocument &doc, DocumentHost &host, const QString &filterFile)
{
    bool accepted = false;
    FilterCoefficients k{};
    std::optional<VermeoError> notSaved;
    {
        TFiltre dlg(host.dialogParent());
        // An unreadable file stops here, before anything could overwrite it.
        dlg.Charge(filterFile);
        dlg.Init(doc.image());
        DialogRunner::exec(dlg);
        dlg.Result(accepted, k);
        try {
            dlg.Sauve(filterFile);
        } catch (const VermeoError &e) {
            notSaved = e;
        }
    }
    host.takeFocus();
    if (accepted) {
        selection::endSelection(doc, host);
        // A filter that changes no pixel (the identity) leaves the picture unmodified.
        colour::applyFrame(
            doc, host, [&k](const QImage &src, Progress &p) { return convolve(src, k, p); },
            colour::Unchanged::LeaveUnmodified);
    }
    // The filter the user chose is applied all the same; then they learn the list was not kept.
    if (notSaved)
        throw *notSaved;
}

void Speciaux(ImageDocument &doc, DocumentHost &host)
{
    selection::endSelection(doc, host);
    QImage result;
    bool accepted = false, trueColour = false;
    {
        TEffets dlg(host.dialogParent());
        dlg.Init(doc.image());
        DialogRunner::exec(dlg);
        accepted = dlg.Result(result);
        trueColour = dlg.effectApplied();
    }
    host.takeFocus();
    doc.SauveUndo();
    if (accepted) {
        // The effects work in true colour; a picture only looked at keeps its depth.
        if (trueColour)
            doc.replaceAsTrueColour(result);
        else
            doc.replacePixels(result);
    }
    doc.Modif();
}

} // namespace vermeo::geometry
