#include "ApplyFrame.h"

namespace vermeo::colour {

void applyFrame(ImageDocument &doc, DocumentHost &host, const PixelKernel &kernel)
{
    QImage result;
    {
        ProgressScope scope(host.progress());
        result = kernel(doc.image(), scope.progress());
    }
    doc.SauveUndo();
    doc.assignImage(result);
    doc.Modif();
}

} // namespace vermeo::colour
