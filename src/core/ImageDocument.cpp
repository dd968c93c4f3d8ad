#include "ImageDocument.h"
#include "PixelRows.h"
#include "ViewScaling.h"

#include <algorithm>

namespace vermeo {

int ImageDocument::PrintScale = 100;

ImageDocument::ImageDocument()
{
    m_canvas.setBrushStyle(bsClear);
    m_canvas.setPenColour(clBlack);
    retarget();
}

// --- the picture ---------------------------------------------------------------------

void ImageDocument::replaceWhole(Picture pic)
{
    flush();
    pic.image = toWorkingImage(pic.image);
    aboutToWrite(QRect());
    keepWholeForUndo();
    m_picture = std::move(pic);
    viewReplaced();
}

void ImageDocument::replacePixels(const QImage &img)
{
    Picture p{img, m_picture.depth, m_picture.palette, m_picture.resolution};
    replaceWhole(std::move(p));
}

void ImageDocument::replaceAsTrueColour(const QImage &img) { replaceWhole(Picture::fromImage(img)); }

void ImageDocument::replacePicture(const Picture &pic) { replaceWhole(pic); }

void ImageDocument::setDeclaredDepth(int depth, QList<QRgb> palette)
{
    m_picture.depth = depth;
    m_picture.palette = std::move(palette);
    if (m_history.dropRedoIfChanged(m_picture))
        historyChanged();
}

QImage &ImageDocument::editPixels(const QRect &area)
{
    flush();
    aboutToWrite(area);
    keepForUndo(area);
    return m_picture.image;
}

void ImageDocument::pixelsChanged(const QRect &area)
{
    const QRect a = area.intersected(m_picture.image.rect());
    if (a.isEmpty())
        return;
    if (m_zoomLevel == 0) {
        repaint(a);
        return;
    }
    const QRect v = viewAreaOf(a, m_view.size(), m_picture.image.size());
    scaleInto(m_picture.image, m_view, v);
    m_viewMissing -= v;
    repaint(v);
}

Canvas ImageDocument::pictureCanvas()
{
    flush();
    Canvas c = m_canvas;
    c.setTarget(&m_picture.image);
    c.setCoverage(nullptr);
    c.setBeforeWrite([this](const QRect &r) {
        aboutToWrite(r);
        keepForUndo(r);
    });
    c.takeDirty();
    return c;
}

void ImageDocument::aboutToWrite(const QRect &area)
{
    if (beforePictureWrite)
        beforePictureWrite(area);
}

void ImageDocument::keepForUndo(const QRect &area)
{
    m_history.record().keep(m_picture.image, area);
    // A new change after "Annuler": what "Rétablir" could do is gone.
    if (m_history.redoSteps() > 0 && m_history.dropRedoIfChanged(m_picture))
        historyChanged();
}

void ImageDocument::keepWholeForUndo()
{
    m_history.record().keepWhole(m_picture);
    if (m_history.dropRedoIfChanged(m_picture))
        historyChanged();
}

// --- the view ----------------------------------------------------------------------

QSize ImageDocument::levelSize(int level) const
{
    int w = width(), h = height();
    if (level > 1) {
        w *= level;
        h *= level;
    } else if (level < -1) {
        w /= -level;
        h /= -level;
    }
    // A very flat picture would divide down to nothing.
    return {std::max(w, 1), std::max(h, 1)};
}

void ImageDocument::setZoomLevel(int level)
{
    flush();
    const int keep = m_zoomLevel;
    m_zoomLevel = level;
    try {
        viewReplaced();
    } catch (...) {
        m_zoomLevel = keep;
        viewReplaced();
        throw;
    }
}

void ImageDocument::viewReplaced()
{
    if (m_zoomLevel == 0 || m_picture.image.isNull()) {
        m_view = QImage();
        m_viewMissing = QRegion();
        m_coverage = QImage();
    } else {
        const QSize s = levelSize(m_zoomLevel);
        m_view = newWorkingImage(s.width(), s.height());
        m_viewMissing = QRegion(m_view.rect());
        m_coverage = QImage(s, QImage::Format_Grayscale8);
        m_coverage.fill(0);
    }
    retarget();
    if (onReplaced)
        onReplaced();
}

const QImage &ImageDocument::viewPart(const QRect &area) const
{
    if (m_viewMissing.isEmpty())
        return view();
    const QRegion made = m_viewMissing.intersected(area);
    for (const QRect &r : made)
        scaleInto(m_picture.image, m_view, r);
    m_viewMissing -= made;
    return m_view;
}

void ImageDocument::completeView() const
{
    if (m_viewMissing.isEmpty())
        return;
    for (const QRect &r : std::as_const(m_viewMissing))
        scaleInto(m_picture.image, m_view, r);
    m_viewMissing = QRegion();
}

void ImageDocument::retarget()
{
    m_canvas.takeDirty();
    if (m_zoomLevel == 0) {
        m_canvas.setTarget(&m_picture.image);
        m_canvas.setCoverage(nullptr);
        m_canvas.setBeforeWrite([this](const QRect &r) {
            aboutToWrite(r);
            keepForUndo(r);
        });
    } else {
        m_canvas.setTarget(&m_view);
        m_canvas.setCoverage(&m_coverage);
        m_canvas.setBeforeWrite({});
    }
}

void ImageDocument::carryToPicture(const QRect &viewArea)
{
    const QSize vs = m_view.size(), ps = m_picture.image.size();
    const QRect target = pictureAreaOf(viewArea, vs, ps);
    if (!target.isEmpty()) {
        aboutToWrite(target);
        keepForUndo(target);
        const auto view = rowsOf(std::as_const(m_view));
        const auto out = rowsOf(m_picture.image);
        std::vector<int> cols(size_t(target.width()));
        for (int i = 0; i < target.width(); ++i)
            cols[size_t(i)] = int((long long)(target.left() + i) * vs.width() / ps.width());
        for (int y = target.top(); y <= target.bottom(); ++y) {
            const int vy = int((long long)y * vs.height() / ps.height());
            const uchar *covered = m_coverage.constScanLine(vy);
            const QRgb *v = view[vy];
            QRgb *p = out[y];
            for (int i = 0; i < target.width(); ++i)
                if (covered[cols[size_t(i)]])
                    p[target.left() + i] = v[cols[size_t(i)]];
        }
    }
    for (int y = viewArea.top(); y <= viewArea.bottom(); ++y)
        std::fill_n(m_coverage.scanLine(y) + viewArea.left(), viewArea.width(), uchar(0));
}

void ImageDocument::flush()
{
    const QRect d = m_canvas.takeDirty().intersected(viewRect());
    if (d.isEmpty())
        return;
    if (m_zoomLevel != 0)
        carryToPicture(d);
    repaint(d);
}

void ImageDocument::repaint(const QRegion &viewArea)
{
    if (!viewArea.isEmpty() && onChanged)
        onChanged(viewArea);
}

// --- the document operations -------------------------------------------------------------

void ImageDocument::Init(int w, int h, TColour colour)
{
    QImage img = newWorkingImage(w, h, toQRgb(colour));
    m_canvas.setPenColour(colour);
    m_canvas.setBrushColour(colour);
    FileName.clear();
    flush();
    aboutToWrite(QRect());
    m_zoomLevel = 0;
    m_picture = Picture{img, 24, {}, {}};
    viewReplaced();
    // An undo before the first change gives the new blank picture, which loses nothing.
    startHistory(true);
}

void ImageDocument::startHistory(bool matchesFile)
{
    flush();
    m_history.restart(m_picture, m_zoomLevel, matchesFile);
    m_modified = !matchesFile;
    edited();
    historyChanged();
}

void ImageDocument::SauveUndo()
{
    flush();
    m_history.mark(m_picture, m_zoomLevel);
    historyChanged();
}

void ImageDocument::setModified(bool m)
{
    flush();
    if (!m)
        m_history.markSaved(m_picture, m_zoomLevel);
    m_modified = m;
    edited();
}

void ImageDocument::Annule()
{
    flush();
    if (!m_history.prepareUndo(m_picture, m_zoomLevel)) {
        historyChanged();
        return;
    }
    aboutToWrite(QRect());
    const int zoom = m_zoomLevel;
    const QSize size = m_picture.image.size();
    const QRect changed = m_history.undo(m_picture, m_zoomLevel);
    afterStep(zoom, size, changed);
}

void ImageDocument::Retablit()
{
    flush();
    if (!m_history.canRedo(m_picture))
        return;
    aboutToWrite(QRect());
    const int zoom = m_zoomLevel;
    const QSize size = m_picture.image.size();
    const QRect changed = m_history.redo(m_picture, m_zoomLevel);
    afterStep(zoom, size, changed);
}

void ImageDocument::afterStep(int zoomBefore, const QSize &sizeBefore, const QRect &changed)
{
    // Strokes put back at the same size and zoom: only their tiles are shown again.
    if (m_zoomLevel == zoomBefore && sizeBefore == m_picture.image.size() && changed != m_picture.image.rect())
        pixelsChanged(changed);
    else
        viewReplaced();
    // The history says whether this is the state of the file.
    m_modified = !m_history.atSavePoint(m_picture);
    edited();
    historyChanged();
}

void ImageDocument::SaveStyles()
{
    PrevTool = Tool;
    SavedBrushStyle = m_canvas.brushStyle();
    SavedPenStyle = m_canvas.penStyle();
    SavedPenWidth = m_canvas.penWidth();
    SavedPenColor = m_canvas.penColour();
    SavedFontStyle = m_canvas.fontStyle();
}

void ImageDocument::RestoreStyles()
{
    Tool = PrevTool;
    m_canvas.setBrushStyle(SavedBrushStyle);
    m_canvas.setPenStyle(SavedPenStyle);
    m_canvas.setPenWidth(SavedPenWidth);
    m_canvas.setPenColour(SavedPenColor);
    m_canvas.setFontStyle(SavedFontStyle);
}

void ImageDocument::Efface()
{
    SauveUndo();
    // Whiteness over the whole picture: a new white picture, the old one kept for undo.
    replacePixels(newWorkingImage(width(), height(), 0xFFFFFFFFu));
    // Erasing is a change like any other: "Enregistrer" must write it and closing must ask.
    Modif();
}

} // namespace vermeo
