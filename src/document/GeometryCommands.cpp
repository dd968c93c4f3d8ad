#include "GeometryCommands.h"

#include "Clipboard.h"
#include "DialogRunner.h"
#include "GeometryKernels.h"
#include "Selection.h"
#include "TCadre.h"
#include "TRedim.h"
#include "TSupport.h"
#include "Zoom.h"

#include "Error.h"

namespace vermeo::geometry {

namespace {

// A selection outline moved, stretched or painted over by a command would be
// redrawn in the wrong place by the deselection that follows; it goes first.
void endSelection(ImageDocument &doc, DocumentHost &host)
{
    if (doc.RectSelected)
        selection::Deselectionne(doc, host);
    if (doc.OvalSelected)
        selection::Deselectionne2(doc, host);
}

// Commands that change the size work on the actual-size picture: they leave the
// view at actual size with the new size as base size.
void toActualSize(ImageDocument &doc, DocumentHost &host)
{
    if (doc.ZoomLevel != 0)
        zoom::ZInit(doc, host);
}

void replaceSized(ImageDocument &doc, const QImage &img)
{
    Picture p = doc.picture();
    p.image = img;
    doc.assignPicture(p);
    doc.BaseWidth = img.width();
    doc.BaseHeight = img.height();
    doc.ZoomLevel = 0;
    doc.ZoomBase = QImage();
    doc.ZoomShown = QImage();
}

} // namespace

void Redimensionne(ImageDocument &doc, DocumentHost &host)
{
    endSelection(doc, host);
    toActualSize(doc, host);
    doc.SauveUndo();
    TRedim dlg(host.dialogParent());
    dlg.Init(doc.BaseWidth, doc.BaseHeight);
    DialogRunner::exec(dlg);
    int w = 0, h = 0;
    dlg.Result(w, h);
    if (w == 0)
        return;
    if (h == 0)
        throw VermeoError(QStringLiteral("La hauteur doit valoir au moins 1."));
    const QImage stretched = stretchImage(doc.image(), w, h);
    replaceSized(doc, stretched);
    host.fitWindow();
    host.pictureReplaced();
    doc.Modif();
}

void Agrandir(ImageDocument &doc, DocumentHost &host)
{
    endSelection(doc, host);
    toActualSize(doc, host);
    TSupport dlg(host.dialogParent());
    dlg.Init(doc.BaseWidth, doc.BaseHeight);
    DialogRunner::exec(dlg);
    int w = 0, h = 0;
    bool centre = false;
    dlg.Result(w, h, centre);
    host.takeFocus();
    if (w < doc.BaseWidth || w == 0)
        return;
    QPoint offset(0, 0);
    if (centre)
        offset = QPoint((w - doc.width()) / 2, (h - doc.height()) / 2);
    const QImage enlarged = enlargeCanvas(doc.image(), w, h, offset);
    doc.SauveUndo();
    replaceSized(doc, enlarged);
    host.resizeWindow(doc.width() + 12, doc.height() + 36);
    host.pictureReplaced();
    doc.Modif();
}

void Recadrer(ImageDocument &doc, DocumentHost &host)
{
    if (!doc.RectSelected && !doc.OvalSelected)
        return;
    endSelection(doc, host);
    // Whichever way the selection was dragged, the crop is the area it covers, upright.
    QRect area = clipboard::selectionArea(doc);
    if (area.isEmpty())
        return;
    if (doc.ZoomLevel != 0) {
        // Crop the actual-size picture at the place the zoomed selection shows.
        const int zw = doc.width(), zh = doc.height();
        toActualSize(doc, host);
        const int bw = doc.width(), bh = doc.height();
        const int l = int((long long)area.left() * bw / zw);
        const int t = int((long long)area.top() * bh / zh);
        const int r = int(((long long)(area.right() + 1) * bw + zw - 1) / zw);
        const int b = int(((long long)(area.bottom() + 1) * bh + zh - 1) / zh);
        area = QRect(QPoint(l, t), QPoint(std::max(r, l + 1) - 1, std::max(b, t + 1) - 1));
    }
    const QImage cropped = cropImage(doc.image(), area);
    doc.SauveUndo();
    replaceSized(doc, cropped);
    host.fitWindow();
    host.pictureReplaced();
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
    endSelection(doc, host);
    Canvas &c = doc.canvas();
    const PenMode mode = c.penMode();
    doc.SaveStyles();
    c.setPenColour(colour);
    c.setPenWidth(thickness);
    doc.SauveUndo();
    c.setPenMode(PenMode::Copy);
    c.setPenStyle(psSolid);
    c.setBrushStyle(bsClear);
    c.Rectangle(0, 0, doc.width(), doc.height());
    doc.RestoreStyles();
    c.setPenMode(mode);
    doc.Modif();
    doc.flush();
}

void MiroirH(ImageDocument &doc, DocumentHost &host)
{
    endSelection(doc, host);
    doc.SauveUndo();
    zoom::transformKeepingZoom(doc, &mirrorHorizontal);
    doc.Modif();
}

void MiroirV(ImageDocument &doc, DocumentHost &host)
{
    endSelection(doc, host);
    doc.SauveUndo();
    zoom::transformKeepingZoom(doc, &mirrorVertical);
    doc.Modif();
}

} // namespace vermeo::geometry
