#pragma once
// The drawing surface of a picture. It keeps the drawing attributes of its window
// (pen, brush, font, copy mode) and reproduces the classic rules the tools rely on:
// Rectangle/Ellipse/RoundRect leave out their right and bottom edge, a line leaves
// out its end point, a wide pen is centred on the outline, not-xor drawn twice
// restores, hatch brushes paint only their lines, block transfers honour the copy
// mode. Every operation widens the dirty rectangle, so views repaint only that.
#include "ColourValue.h"

#include <QFont>
#include <QImage>
#include <QPoint>
#include <QPolygon>
#include <QRect>
#include <QString>
#include <functional>

namespace vermeo {

enum class PenMode { Copy, NotXor };

// Raster operations of block transfers.
enum class CopyMode {
    SrcCopy,     // dst = src
    SrcAnd,      // dst = src & dst
    SrcPaint,    // dst = src | dst
    SrcInvert,   // dst = src ^ dst
    NotSrcCopy,  // dst = ~src
    MergePaint,  // dst = ~src | dst
    NotSrcErase, // dst = ~(src | dst)
    Whiteness,   // dst = white
    Blackness,   // dst = black
};

// Pen style codes 0 solid, 1 dashed, 2 dotted, 3 dash-dot, 4 dash-dot-dot, 5 none.
enum PenStyleCode { psSolid = 0, psDash, psDot, psDashDot, psDashDotDot, psClear };
// Brush style codes 0 solid, 1 clear, 2..7 hatches.
enum BrushStyleCode { bsSolid = 0, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

enum FontStyleBit { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

class Canvas {
public:
    explicit Canvas(QImage *target = nullptr);

    void setTarget(QImage *target) { m_img = target; }
    QImage *target() const { return m_img; }
    int width() const { return m_img ? m_img->width() : 0; }
    int height() const { return m_img ? m_img->height() : 0; }

    // --- attributes -----------------------------------------------------------
    TColour penColour() const { return m_penColour; }
    void setPenColour(TColour c) { m_penColour = c & 0xFFFFFFu; }
    int penWidth() const { return m_penWidth; }
    void setPenWidth(int w) { m_penWidth = w < 1 ? 1 : w; }
    int penStyle() const { return m_penStyle; }
    void setPenStyle(int s) { m_penStyle = (s < 0 || s > 5) ? 0 : s; }
    PenMode penMode() const { return m_penMode; }
    void setPenMode(PenMode m) { m_penMode = m; }

    TColour brushColour() const { return m_brushColour; }
    // Setting the brush colour on a clear brush makes it solid.
    void setBrushColour(TColour c);
    int brushStyle() const { return m_brushStyle; }
    void setBrushStyle(int s) { m_brushStyle = (s < 0 || s > 7) ? 1 : s; }

    const QFont &font() const { return m_font; }
    void setFont(const QFont &f) { m_font = f; }
    int fontStyle() const;
    void setFontStyle(int bits);
    TColour fontColour() const { return m_fontColour; }
    void setFontColour(TColour c) { m_fontColour = c & 0xFFFFFFu; }

    CopyMode copyMode() const { return m_copyMode; }
    void setCopyMode(CopyMode m) { m_copyMode = m; }

    QPoint penPos() const { return m_penPos; }

    // --- figures (pen + brush, pen mode) ------------------------------------
    void MoveTo(int x, int y) { m_penPos = QPoint(x, y); }
    void LineTo(int x, int y);
    void Rectangle(int x1, int y1, int x2, int y2);
    void Ellipse(int x1, int y1, int x2, int y2);
    void RoundRect(int x1, int y1, int x2, int y2, int cornerW, int cornerH);
    void Polygon(const QPolygon &pts);
    void Polyline(const QPolygon &pts);
    // Fills with the brush only, no outline (GDI FillRect).
    void FillRect(const QRect &r);
    // Fills the 4-connected area of the colour found at (x, y) with the brush.
    void FloodFill(int x, int y);
    // Writes text with its top-left at (x, y): font colour, background filled with the
    // brush colour only when the brush is solid.
    void TextOut(int x, int y, const QString &text);
    // Writes text rotated counter-clockwise by angleTenths/10 degrees, its reference
    // point (top-left of the unrotated cell) at (x, y); transparent background, pen colour.
    void TextOutRotated(int x, int y, const QString &text, int angleTenths, const QFont &font);
    QSize TextExtent(const QString &text) const;

    // --- pixels and block transfers (copy mode) --------------------------------
    // Reading outside the picture gives the all-ones value.
    TColour Pixel(int x, int y) const;
    void SetPixel(int x, int y, TColour c);
    void Draw(int x, int y, const QImage &src);
    // Copies src's srcRect into dst; a negative extent on either side mirrors.
    void CopyRect(const QRect &dst, const QImage &src, const QRect &srcRect);
    void StretchDraw(const QRect &dst, const QImage &src) { CopyRect(dst, src, src.rect()); }
    // Draws src at (x, y), leaving out the pixels of the transparent colour.
    void DrawTransparent(int x, int y, const QImage &src, TColour transparent);

    // The area changed since the last call; the view repaints only that.
    QRect takeDirty();
    QRect dirty() const { return m_dirty; }
    void markDirty(const QRect &r);

    // Called with each area just before its pixels change (the undo record keeps them).
    void setBeforeWrite(std::function<void(const QRect &)> hook) { m_beforeWrite = std::move(hook); }
    // While the picture is shown zoomed, the surface draws on the view and records in
    // this mask (Grayscale8, the target's size) every pixel it wrote, so that exactly
    // those reach the actual-size picture. Null: nothing is recorded.
    void setCoverage(QImage *mask) { m_coverage = mask; }
    QImage *coverage() const { return m_coverage; }

    // For pixel writers outside the surface (the airbrush): announce the area first,
    // then mark each pixel written.
    QImage *beginWrite(const QRect &area);
    void markWritten(int x, int y);
    void markWritten(const QRect &r);

private:
    template <typename Fn>
    void paintFigure(const QRect &bounds, Fn draw);
    template <typename Fn>
    void paintArea(const QRect &bounds, Fn draw, bool notXor);
    template <typename Fn>
    void paintOnScratch(const QRect &area, Fn draw, bool notXor);

    QImage *m_img = nullptr;
    QImage *m_coverage = nullptr;
    std::function<void(const QRect &)> m_beforeWrite;
    TColour m_penColour = clBlack;
    int m_penWidth = 1;
    int m_penStyle = psSolid;
    PenMode m_penMode = PenMode::Copy;
    TColour m_brushColour = clWhite;
    int m_brushStyle = bsSolid;
    QFont m_font;
    TColour m_fontColour = clBlack;
    CopyMode m_copyMode = CopyMode::SrcCopy;
    QPoint m_penPos;
    QRect m_dirty;
};

// A GDI rectangle given by two corners in any order, as the covered pixel area
// (right and bottom edge left out).
QRect gdiRect(int x1, int y1, int x2, int y2);

} // namespace vermeo
