#include "ApplyFrame.h"

namespace vermeo::colour {

void applyFrame(ImageDocument &doc, DocumentHost &host, const PixelKernel &kernel, Unchanged unchanged)
{
    QImage result;
    {
        ProgressScope scope(host.progress());
        result = kernel(doc.image(), scope.progress());
    }
    if (unchanged == Unchanged::LeaveUnmodified && result.size() == doc.image().size() && result == doc.image())
        return;
    doc.SauveUndo();
    // A picture of another size is shown at actual size, as any new size is.
    if (result.size() != doc.image().size()) {
        doc.setZoomLevel(0);
        doc.replaceAsTrueColour(result);
        host.fitWindow();
        host.setStatusText(1, QStringLiteral("%1 x %2").arg(result.width()).arg(result.height()));
    } else {
        doc.replaceAsTrueColour(result);
    }
    doc.Modif();
}

} // namespace vermeo::colour
