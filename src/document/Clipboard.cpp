#include "Clipboard.h"
#include "Crop.h"
#include "Figures.h"
#include "PixelRows.h"
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

// Whiteness over an area of the picture. Over the whole picture it is a new white
// picture, and the old one is kept for undo as it is.
void paintWhite(ImageDocument &doc, const QRect &area)
{
    if (area.contains(doc.image().rect())) {
        doc.replacePixels(newWorkingImage(doc.width(), doc.height(), 0xFFFFFFFFu));
        return;
    }
    const QRect a = area.intersected(doc.image().rect());
    QImage &img = doc.editPixels(a);
    const auto rows = rowsOf(img);
    for (int y = a.top(); y <= a.bottom(); ++y)
        std::fill_n(rows[y] + a.left(), a.width(), 0xFFFFFFFFu);
    doc.pixelsChanged(a);
}

// The selected area of the picture at actual size; the whole picture is handed over
// as it is, without a copy.
QImage selectedPixels(const ImageDocument &doc, const QRect &area)
{
    if (area == doc.image().rect())
        return doc.image();
    return cropImage(doc.image(), area);
}

void drawAtOrigin(ImageDocument &doc, const QImage &bitmap) { selection::drawIntoPicture(doc, QPoint(0, 0), bitmap); }

} // namespace

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
    selection::endSelection(doc, host);
    changeMarks(doc, [&] {
        doc.SelRect = QRect(QPoint(0, 0), QPoint(doc.viewWidth(), doc.viewHeight()));
        doc.RectSelected = true;
    });
    host.setCursorShape(Qt::CrossCursor);
    doc.PrevTool = doc.Tool;
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
    const QRect area = selection::pictureArea(doc);
    selection::endSelection(doc, host);
    // A click without a drag selects nothing: there is no bitmap to offer.
    if (area.isEmpty())
        return;
    QImage bitmap = selectedPixels(doc, area);
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
    const QRect area = selection::pictureArea(doc);
    selection::Deselectionne(doc, host);
    if (area.isEmpty())
        return;
    doc.SauveUndo();
    if (QClipboard *cb = systemClipboard())
        cb->setImage(selectedPixels(doc, area));
    host.clipboardChanged();
    paintWhite(doc, area);
    doc.Modif();
}

void DeleteKey(ImageDocument &doc, DocumentHost &host)
{
    if (!doc.RectSelected)
        return;
    const QRect area = selection::pictureArea(doc);
    // The selection ends first; an empty one changes nothing.
    selection::Deselectionne(doc, host);
    if (area.isEmpty())
        return;
    doc.SauveUndo();
    paintWhite(doc, area);
    doc.Modif();
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
    // A bitmap the picture's size covers it all: it becomes the picture as it is (shared,
    // not copied), and the old picture is kept for undo as it is.
    if (bitmap.size() == doc.image().size())
        doc.replacePixels(bitmap);
    else
        drawAtOrigin(doc, bitmap);
    doc.Modif();
}

void CollerSel(ImageDocument &doc, DocumentHost &host)
{
    if (!clipboardHasBitmap())
        return;
    // A second special paste before the first was dropped: its ghost goes.
    changeMarks(doc, [&] { doc.FloatingPaste = false; });
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
}

} // namespace vermeo::clipboard
