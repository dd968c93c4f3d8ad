#pragma once
// One open picture without its window. The picture at actual size, with its declared
// depth and palette, is the document's one truth; the zoomed view is made from it.
// Whole-picture commands change the picture and the view follows; the tools draw on
// the view, and flush() carries every pixel they wrote to the picture. Each step of the
// undo history brings back picture, size, depth, palette and zoom level together, and
// "modified" means: not the state of the last save or load.
#include "Canvas.h"
#include "Picture.h"
#include "UndoHistory.h"

#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QString>
#include <functional>

namespace vermeo {

// The tools of an image window.
enum ToolCode : int {
    tcLine = 0,
    tcRectangle = 1,
    tcEllipse = 2,
    tcRoundRect = 3,
    tcPencil = 4,
    tcRectSelection = 5,
    tcText = 6,
    tcFill = 7,
    tcEraser = 8,
    tcPolygon = 9,
    tcSpray = 10,
    tcOvalSelection = 11,
    tcStamp = 12,
};

inline bool isSelectionTool(int tool) { return tool == tcRectSelection || tool == tcOvalSelection; }

class ImageDocument {
public:
    ImageDocument();
    ImageDocument(const ImageDocument &) = delete;
    ImageDocument &operator=(const ImageDocument &) = delete;

    // --- the picture, at actual size -------------------------------------------------
    const Picture &picture() const { return m_picture; }
    const QImage &image() const { return m_picture.image; }
    int width() const { return m_picture.width(); }
    int height() const { return m_picture.height(); }

    // Whole-picture changes; an open undo record keeps the old picture itself.
    // The pixels change, the declared depth and palette stay.
    void replacePixels(const QImage &img);
    // A plain new true-colour picture (depth 24, no palette).
    void replaceAsTrueColour(const QImage &img);
    // A picture with its own depth and palette.
    void replacePicture(const Picture &pic);
    void setDeclaredDepth(int depth, QList<QRgb> palette = {});

    // In-place change of an area of the picture: the undo record keeps the area's
    // pixels first. Call pixelsChanged(area) once written, so the view follows.
    QImage &editPixels(const QRect &area);
    void pixelsChanged(const QRect &area);
    // A drawing surface with the window's attributes on the picture itself (for the
    // commands that draw at actual size); the undo record keeps what it writes over.
    // Call pixelsChanged(surface.takeDirty()) once drawn.
    Canvas pictureCanvas();

    // --- the view ---------------------------------------------------------------------
    // 0 = actual size; 2..5 enlarged; -2..-5 reduced.
    int zoomLevel() const { return m_zoomLevel; }
    // The view's size at a level, from the picture's size (never below 1 x 1).
    QSize levelSize(int level) const;
    // Remakes the view from the picture at that level.
    void setZoomLevel(int level);
    // What the window shows and the tools draw on: the picture itself at level 0. A view
    // remade is made at first only where the window paints (viewPart); the rest when it is
    // asked for whole (view, canvas) or when the window has painted (completeView).
    const QImage &view() const
    {
        completeView();
        return m_zoomLevel == 0 ? m_picture.image : m_view;
    }
    // The view with at least area made.
    const QImage &viewPart(const QRect &area) const;
    void completeView() const;
    bool viewComplete() const { return m_viewMissing.isEmpty(); }
    QSize viewSize() const { return m_zoomLevel == 0 ? m_picture.image.size() : m_view.size(); }
    QRect viewRect() const { return QRect(QPoint(0, 0), viewSize()); }
    int viewWidth() const { return viewSize().width(); }
    int viewHeight() const { return viewSize().height(); }
    // The drawing surface, on the view (made whole first).
    Canvas &canvas()
    {
        completeView();
        return m_canvas;
    }
    const Canvas &canvas() const { return m_canvas; }
    // Carries what the canvas wrote since the last call to the picture and repaints it.
    void flush();
    // Asks the window to repaint an area of the view (picture or marks over it).
    void repaint(const QRegion &viewArea);

    // --- the document operations --------------------------------------------------------
    // A new blank picture of w x h, filled with colour (pen and brush take it).
    void Init(int w, int h, TColour colour);
    // Ends the change in progress as a step of the history and opens the record of the
    // next one on the picture as it is now (cheap: nothing is copied).
    void SauveUndo();
    // Takes the last step back: picture, size, depth, palette and zoom level as before it.
    // The first one after a SauveUndo gives the state of that SauveUndo.
    void Annule();
    // Does the step taken back last again.
    void Retablit();
    bool hasUndo() const { return m_history.record().isOpen(); }
    bool canRedo() const { return m_history.canRedo(m_picture); }
    // The record of the change in progress.
    const UndoRecord &undoRecord() const { return m_history.record(); }
    UndoHistory &history() { return m_history; }
    const UndoHistory &history() const { return m_history; }
    // A history of this picture alone, from now on; matchesFile: it is what the file holds.
    void startHistory(bool matchesFile);
    void Modif()
    {
        m_modified = true;
        edited();
    }
    void SaveStyles();
    void RestoreStyles();
    void Efface();

    QString FileName;
    bool SaveLossless = false; // WebP chosen "sans perte" in the save dialog
    // Set by Modif; cleared by a save or a load; a step of the history sets it to whether
    // the picture is not the state of the last save or load.
    bool modified() const { return m_modified; }
    // false: the picture is what its file holds now (saved); true: it differs anyway.
    void setModified(bool m);

    int Tool = tcPencil;
    int PrevTool = tcPencil;
    int EraserWidth = 1;

    // Saved by SaveStyles.
    int SavedBrushStyle = bsClear;
    int SavedPenStyle = psSolid;
    int SavedPenWidth = 1;
    TColour SavedPenColor = clBlack;
    int SavedFontStyle = 0;

    // --- mouse, selection and paste state (view coordinates) ------------------------------
    bool ButtonDown = false;
    bool BandShown = false; // the rubber band of the press has been drawn
    bool PolyOpen = false;
    int PolyCount = 0;
    QPoint PolyPts[101];
    QPoint StartPt;
    QPoint CurPt;
    QPoint StampSource;
    bool StampArmed = false;
    bool RectSelected = false;
    bool OvalSelected = false;
    QRect SelRect; // corners in press/release order: (left, top) = press, (right, bottom) = release
    bool PipetteMode = false;
    bool FloatingPaste = false;
    bool FirstFloatMove = false;
    bool TextPlacing = false;
    QString Text;
    QImage PasteBitmap;

    // Page set-up (millimetres); the print scale is shared by all documents.
    int MarginLeft = 20, MarginTop = 20, MarginRight = 20, MarginBottom = 20;
    static int PrintScale;

    // --- change notification ----------------------------------------------------------
    // The view was replaced (its size may have changed).
    std::function<void()> onReplaced;
    // An area of the view changed.
    std::function<void(const QRegion &)> onChanged;
    // The recovery journal's two hooks: pixels of the picture are about to be written
    // (a null area: the whole picture is about to be replaced), and the document was
    // marked modified or saved, or undone.
    std::function<void(const QRect &)> beforePictureWrite;
    std::function<void()> onEdited;
    // What "Annuler" and "Rétablir" can do has changed.
    std::function<void()> onHistoryChanged;

private:
    void replaceWhole(Picture pic);
    void aboutToWrite(const QRect &area);
    // The old pixels of an area go into the record of the change in progress.
    void keepForUndo(const QRect &area);
    void keepWholeForUndo();
    void afterStep(int zoomBefore, const QSize &sizeBefore, const QRect &changed);
    void historyChanged()
    {
        if (onHistoryChanged)
            onHistoryChanged();
    }
    void edited()
    {
        if (onEdited)
            onEdited();
    }
    void viewReplaced();
    void retarget();
    void carryToPicture(const QRect &viewArea);

    Picture m_picture;
    int m_zoomLevel = 0;
    mutable QImage m_view;         // while zoomed
    mutable QRegion m_viewMissing; // the parts of the view not made yet
    QImage m_coverage; // while zoomed: the view pixels the canvas wrote since the last flush
    UndoHistory m_history;
    Canvas m_canvas;
    bool m_modified = false;
};

} // namespace vermeo
