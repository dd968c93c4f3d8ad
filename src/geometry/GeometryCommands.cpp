#include "GeometryCommands.h"

#include "DialogRunner.h"
#include "Error.h"
#include "GeometryKernels.h"
#include "Selection.h"
#include "TCadre.h"
#include "TRedim.h"
#include "TSupport.h"

namespace vermeo::geometry {

bool askNewSize(ImageDocument &doc, DocumentHost &host, int &w, int &h)
{
    selection::endSelection(doc, host);
    doc.SauveUndo();
    TRedim dlg(host.dialogParent());
    dlg.Init(doc.width(), doc.height());
    DialogRunner::exec(dlg);
    dlg.Result(w, h);
    host.takeFocus();
    if (w == 0)
        return false;
    if (h == 0)
        throw VermeoError(QStringLiteral("La hauteur doit valoir au moins 1."));
    return true;
}

void showResized(ImageDocument &doc, DocumentHost &host, const QImage &img, bool keepDepth)
{
    doc.setZoomLevel(0);
    keepDepth ? doc.replacePixels(img) : doc.replaceAsTrueColour(img);
    host.setStatusText(1, QStringLiteral("%1 x %2").arg(img.width()).arg(img.height()));
}

void Redimensionne(ImageDocument &doc, DocumentHost &host)
{
    int w = 0, h = 0;
    if (!askNewSize(doc, host, w, h))
        return;
    showResized(doc, host, stretchImage(doc.image(), w, h), true);
    host.fitWindow();
    doc.Modif();
}

void Agrandir(ImageDocument &doc, DocumentHost &host)
{
    selection::endSelection(doc, host);
    TSupport dlg(host.dialogParent());
    dlg.Init(doc.width(), doc.height());
    DialogRunner::exec(dlg);
    int w = 0, h = 0;
    bool centre = false;
    dlg.Result(w, h, centre);
    host.takeFocus();
    if (w < doc.width() || w == 0)
        return;
    QPoint offset(0, 0);
    if (centre)
        offset = QPoint((w - doc.width()) / 2, (h - doc.height()) / 2);
    const QImage enlarged = enlargeCanvas(doc.image(), w, h, offset);
    doc.SauveUndo();
    showResized(doc, host, enlarged, true);
    host.resizeWindow(w + 12, h + 36);
    doc.Modif();
}

void Recadrer(ImageDocument &doc, DocumentHost &host)
{
    if (!doc.RectSelected && !doc.OvalSelected)
        return;
    // Whichever way the selection was dragged, at whatever zoom: the area it covers of
    // the picture at actual size.
    const QRect area = selection::pictureArea(doc);
    selection::endSelection(doc, host);
    if (area.isEmpty())
        return;
    const QImage cropped = cropImage(doc.image(), area);
    doc.SauveUndo();
    showResized(doc, host, cropped, true);
    host.fitWindow();
    doc.Modif();
}

void Encadre(ImageDocument &doc, DocumentHost &host)
{
    TCadre dlg(host.dialogParent());
    dlg.Init(doc.canvas().penColour());
    DialogRunner::exec(dlg);
    int thickness = 0;
    TColour colour = clBlack;
    dlg.Result(thickness, colour);
    host.takeFocus();
    if (thickness < 1)
        return;
    selection::endSelection(doc, host);
    doc.SauveUndo();
    // Drawn on the picture at actual size, so the frame is as thick at any zoom.
    Canvas c = doc.pictureCanvas();
    c.setPenColour(colour);
    c.setPenWidth(thickness);
    c.setPenMode(PenMode::Copy);
    c.setPenStyle(psSolid);
    c.setBrushStyle(bsClear);
    c.Rectangle(0, 0, doc.width(), doc.height());
    doc.pixelsChanged(c.takeDirty());
    doc.Modif();
}

void MiroirH(ImageDocument &doc, DocumentHost &host)
{
    selection::endSelection(doc, host);
    const QImage mirrored = mirrorHorizontal(doc.image());
    doc.SauveUndo();
    doc.replacePixels(mirrored);
    doc.Modif();
}

void MiroirV(ImageDocument &doc, DocumentHost &host)
{
    selection::endSelection(doc, host);
    const QImage mirrored = mirrorVertical(doc.image());
    doc.SauveUndo();
    doc.replacePixels(mirrored);
    doc.Modif();
}

} // namespace vermeo::geometry
