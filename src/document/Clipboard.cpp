#include "Clipboard.h"
#include "PixelRows.h"

#include "GeometryKernels.h"
#include "Selection.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <cmath>

namespace vermeo::clipboard {

namespace {

QClipboard *systemClipboard()
{
    return qobject_cast<QGuiApplication *>(QCoreApplication::instance()) ? QGuiApplication::clipboard() : nullptr;
}

void paintWhite(ImageDocument &doc, const QRect &area)
{
    Canvas &c = doc.canvas();
    c.setCopyMode(CopyMode::Whiteness);
    c.CopyRect(area, doc.image(), area);
    c.setCopyMode(CopyMode::SrcCopy);
}

void drawAtOrigin(ImageDocument &doc, const QImage &bitmap)
{
    Canvas &c = doc.canvas();
    const CopyMode keep = c.copyMode();
    c.setCopyMode(CopyMode::SrcCopy);
    c.Draw(0, 0, bitmap);
    c.setCopyMode(keep);
}

} // namespace

QRect selectionArea(const ImageDocument &doc)
{
    const QRect &r = doc.SelRect;
    return gdiRect(r.left(), r.top(), r.right(), r.bottom());
}

bool clipboardHasBitmap()
{
    QClipboard *cb = systemClipboard();
    const QMimeData *data = cb ? cb->mimeData() : nullptr;
    return data && data->hasImage();
}

QImage clipboardBitmap()
{
    QClipboard *cb = systemClipboard();
    if (!cb)
        return {};
    const QImage img = cb->image();
    return img.isNull() ? QImage() : toWorkingImage(img);
}

void SelectImg(ImageDocument &doc, DocumentHost &host)
{
    // A selection already shown is taken away first, or its outline would stay behind.
    if (doc.RectSelected)
        selection::Deselectionne(doc, host);
    if (doc.OvalSelected)
        selection::Deselectionne2(doc, host);
    doc.SelRect = QRect(QPoint(0, 0), QPoint(doc.width(), doc.height()));
    doc.RectSelected = true;
    host.setCursorShape(Qt::CrossCursor);
    doc.PrevTool = doc.Tool;
    doc.SaveStyles();
    selection::drawMarker(doc, false);
}

void CopyEllipse(QImage &bitmap)
{
    const int W = bitmap.width(), H = bitmap.height();
    const int p = W / 2, q = H / 2;
    if (q == 0 || bitmap.isNull())
        return;
    if (bitmap.format() != QImage::Format_RGB32)
        bitmap = toWorkingImage(bitmap);
    const double pp = double(p) * p, qq = double(q) * q;
    for (int y = 1; y <= H; ++y) {
        const double dy = double(y - q);
        const double arg = pp * (1.0 - dy * dy / qq);
        if (arg < 0)
            continue; // only the last row of an odd height
        const double s = std::sqrt(arg);
        QRgb *line = rowOf(bitmap, y - 1);
        for (int x = 1; x <= W; ++x)
            if (x >= p + s || x <= p - s)
                line[x - 1] = 0xFFFFFFFFu;
    }
}

void Copier(ImageDocument &doc, DocumentHost &host)
{
    const bool oval = doc.OvalSelected;
    if (!doc.RectSelected && !oval)
        return;
    oval ? selection::Deselectionne2(doc, host) : selection::Deselectionne(doc, host);
    const QRect area = selectionArea(doc);
    // A click without a drag selects nothing: there is no bitmap to offer.
    if (area.isEmpty())
        return;
    QImage bitmap = geometry::cropImage(doc.image(), area);
    if (oval)
        CopyEllipse(bitmap);
    if (QClipboard *cb = systemClipboard())
        cb->setImage(bitmap);
    host.clipboardChanged();
}

void Couper(ImageDocument &doc, DocumentHost &host)
{
    if (!doc.RectSelected)
        return;
    // The marker goes first, so that neither the undo copy nor the clipboard holds it.
    selection::Deselectionne(doc, host);
    doc.SauveUndo();
    const QRect area = selectionArea(doc);
    if (area.isEmpty())
        return;
    if (QClipboard *cb = systemClipboard())
        cb->setImage(geometry::cropImage(doc.image(), area));
    host.clipboardChanged();
    paintWhite(doc, area);
    doc.Modif();
    doc.flush();
}

void DeleteKey(ImageDocument &doc, DocumentHost &host)
{
    if (!doc.RectSelected)
        return;
    // Ending the selection first: its outline would otherwise come back on the white.
    selection::Deselectionne(doc, host);
    doc.SauveUndo();
    paintWhite(doc, selectionArea(doc));
    doc.Modif();
    doc.flush();
}

void FormKeyDown(ImageDocument &doc, DocumentHost &host, int key)
{
    if (key == Qt::Key_Delete)
        DeleteKey(doc, host);
}

void Coller(ImageDocument &doc, DocumentHost &host)
{
    (void)host;
    const QImage bitmap = clipboardBitmap();
    if (bitmap.isNull())
        return;
    doc.SauveUndo();
    drawAtOrigin(doc, bitmap);
    doc.Modif();
    doc.flush();
}

void CollerSel(ImageDocument &doc, DocumentHost &host)
{
    if (!clipboardHasBitmap())
        return;
    // A second special paste before the first was dropped: its ghost goes first.
    if (doc.FloatingPaste && !doc.FirstFloatMove && !doc.PasteBitmap.isNull()) {
        Canvas &c = doc.canvas();
        const CopyMode keep = c.copyMode();
        c.setCopyMode(CopyMode::SrcInvert);
        c.Draw(doc.StartPt.x(), doc.StartPt.y(), doc.PasteBitmap);
        c.setCopyMode(keep);
        doc.flush();
    }
    doc.FloatingPaste = false;
    doc.SauveUndo();
    host.setCursorShape(Qt::WaitCursor);
    const QImage bitmap = clipboardBitmap();
    if (bitmap.isNull()) {
        host.setCursorShape(Qt::ArrowCursor);
    } else {
        doc.PasteBitmap = bitmap;
        const QPoint size = host.windowSize();
        doc.StartPt = QPoint(size.x() / 2, size.y() / 2);
        host.moveMouseTo(doc.StartPt);
        doc.FloatingPaste = true;
        doc.FirstFloatMove = true;
        host.setCursorShape(Qt::PointingHandCursor);
    }
    doc.Modif();
    host.takeFocus();
}

void CollerEcran(ImageDocument &doc, DocumentHost &host, const QImage &bitmap)
{
    (void)host;
    if (bitmap.isNull())
        return;
    drawAtOrigin(doc, toWorkingImage(bitmap));
    doc.Modif();
    doc.flush();
}

} // namespace vermeo::clipboard
