#pragma once
// One open picture without its window: the picture, its one-level undo copy, file
// name, modified flag, zoom fields, drawing surface and the tool state that the
// styles are saved with. The image window (TMDIChild) shows it and forwards the
// commands; picture commands work on this model so they run without widgets.
#include "Canvas.h"
#include "Picture.h"

#include <QPoint>
#include <QRect>
#include <QString>
#include <functional>

namespace vermeo {

class ImageDocument {
public:
    ImageDocument();
    ImageDocument(const ImageDocument &) = delete;
    ImageDocument &operator=(const ImageDocument &) = delete;

    // --- picture -------------------------------------------------------------
    const QImage &image() const { return m_picture.image; }
    QImage &image() { return m_picture.image; }
    const Picture &picture() const { return m_picture; }
    int width() const { return m_picture.width(); }
    int height() const { return m_picture.height(); }
    Canvas &canvas() { return m_canvas; }
    const Canvas &canvas() const { return m_canvas; }

    // Replaces the whole picture in one assignment (the drawing attributes stay).
    // The declared depth becomes 24 unless a Picture with its own depth is given.
    void assignImage(const QImage &img);
    void assignPicture(const Picture &pic);
    void setDeclaredDepth(int depth, QList<QRgb> palette = {});

    // --- the document operations ----------------------------------------------
    // A new blank picture of w x h, filled with colour (pen and brush take it).
    void Init(int w, int h, TColour colour);
    void SauveUndo();
    void Annule();
    void Modif() { m_modified = true; }
    void SaveStyles();
    void RestoreStyles();
    void Efface();

    const QImage &undoImage() const { return m_undo; }

    QString FileName;
    bool modified() const { return m_modified; }
    void setModified(bool m) { m_modified = m; }

    int ZoomLevel = 0;
    int BaseWidth = 0;
    int BaseHeight = 0;
    // While zoomed: the picture at actual size, and the zoomed picture as last shown,
    // so that a return to actual size restores what was not painted over.
    QImage ZoomBase;
    QImage ZoomShown;

    // Tool codes: 0 line, 1 rectangle, 2 ellipse, 3 rounded rectangle, 4 pencil,
    // 5 rectangular selection, 6 text, 7 fill, 8 eraser, 9 polygon, 10 spray,
    // 11 oval selection, 12 stamp.
    int Tool = 4;
    int PrevTool = 4;
    int EraserWidth = 1;

    // Saved by SaveStyles.
    int SavedBrushStyle = bsClear;
    int SavedPenStyle = psSolid;
    int SavedPenWidth = 1;
    TColour SavedPenColor = clBlack;
    int SavedFontStyle = 0;

    // --- mouse, selection and paste state -------------------------------------------
    bool ButtonDown = false;
    bool PolyOpen = false;
    int PolyCount = 0;
    QPoint PolyPts[101];
    QPoint StartPt;
    QPoint CurPt;
    QPoint StampSource;
    bool StampArmed = false;
    bool RectSelected = false;
    bool OvalSelected = false;
    QRect SelRect;        // corners in press/release order: (left, top) = press, (right, bottom) = release
    bool PipetteMode = false;
    bool FloatingPaste = false;
    bool FirstFloatMove = false;
    bool TextPlacing = false;
    QString Text;
    QImage PasteBitmap;

    // Page set-up (millimetres); the print scale is shared by all documents.
    int MarginLeft = 20, MarginTop = 20, MarginRight = 20, MarginBottom = 20;
    static int PrintScale;

    // --- change notification ----------------------------------------------------
    // Called after the picture was replaced (its size may have changed).
    std::function<void()> onReplaced;
    // Called with the area drawn since the last call.
    std::function<void(const QRect &)> onChanged;
    // Reports what the canvas has drawn (and anything marked) to the view.
    void flush();

private:
    Picture m_picture;
    QImage m_undo;
    Canvas m_canvas;
    bool m_modified = false;
};

} // namespace vermeo
