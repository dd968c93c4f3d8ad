#include "TransformCommands.h"

#include "ApplyFrame.h"
#include "DialogRunner.h"
#include "Error.h"
#include "GeometryCommands.h"
#include "Resample.h"
#include "Rotate.h"
#include "Selection.h"
#include "Skew.h"
#include "TDeformer.h"
#include "TRedim.h"
#include "TRot.h"

namespace vermeo::geometry {

void Rechantilloner(ImageDocument &doc, DocumentHost &host)
{
    int w = 0, h = 0;
    if (!askNewSize(doc, host, w, h))
        return;
    QImage resampled;
    {
        ProgressScope scope(host.progress());
        resampled = ResampleStretch(doc.image(), w, h, mitchellFilter(), 2.0f, scope.progress());
    }
    showResized(doc, host, resampled, false);
    host.fitWindow();
    doc.Modif();
}

void Rotation(ImageDocument &doc, DocumentHost &host)
{
    TRot dlg(host.dialogParent());
    DialogRunner::exec(dlg);
    int choice = 0, typed = 0;
    dlg.Result(choice, typed);
    host.takeFocus();
    if (choice == 0)
        return;
    selection::endSelection(doc, host);
    const QRgb background = rotationBackground(doc.image());
    const double angle = rotationAngle(choice, typed);
    // "Autre" as the quarter turns: undo copy, new size shown, window refitted.
    colour::applyFrame(doc, host, [&](const QImage &src, Progress &progress) {
        return rotateImage(src, background, angle, progress);
    });
}

void Inclinaison(ImageDocument &doc, DocumentHost &host)
{
    TDeformer dlg(host.dialogParent());
    DialogRunner::exec(dlg);
    int angle = 0, direction = 0;
    dlg.Result(angle, direction);
    host.takeFocus();
    if (direction == 0 || angle == 0)
        return;
    selection::endSelection(doc, host);
    // The empty corner takes the window's current brush.
    const TColour brushColour = doc.canvas().brushColour();
    const int brushStyle = doc.canvas().brushStyle();
    colour::applyFrame(doc, host, [&](const QImage &src, Progress &progress) {
        SkewResult r = skewImage(src, angle, SkewDirection(direction), progress);
        fillSkewCorner(r.image, r.corner, brushColour, brushStyle);
        return r.image;
    });
}

} // namespace vermeo::geometry
