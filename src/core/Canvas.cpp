#include "Canvas.h"
#include "Parallel.h"
#include "PixelRows.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <vector>

namespace vermeo {

namespace {
// The pixels from a to b inclusive, whatever their order. QRect(a, b).normalized() is
// not that: for a point above or left of the other it leaves out the end rows and columns.
QRect spanning(QPoint a, QPoint b)
{
    return QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                 QPoint(std::max(a.x(), b.x()), std::max(a.y(), b.y())));
}

constexpr QRgb kOpaque = 0xFF000000u;

Qt::BrushStyle qtBrushStyle(int code)
{
    switch (code) {
    case bsSolid: return Qt::SolidPattern;
    case bsHorizontal: return Qt::HorPattern;
    case bsVertical: return Qt::VerPattern;
    case bsFDiagonal: return Qt::BDiagPattern;
    case bsBDiagonal: return Qt::FDiagPattern;
    case bsCross: return Qt::CrossPattern;
    case bsDiagCross: return Qt::DiagCrossPattern;
    default: return Qt::NoBrush;
    }
}

Qt::PenStyle qtPenStyle(int code)
{
    switch (code) {
    case psDash: return Qt::DashLine;
    case psDot: return Qt::DotLine;
    case psDashDot: return Qt::DashDotLine;
    case psDashDotDot: return Qt::DashDotDotLine;
    case psClear: return Qt::NoPen;
    default: return Qt::SolidLine;
    }
}

// On/off run lengths of the classic cosmetic dash styles, in pixels.
const std::vector<int> &dashPattern(int code)
{
    static const std::vector<int> solid{};
    static const std::vector<int> dash{18, 6};
    static const std::vector<int> dot{3, 3};
    static const std::vector<int> dashDot{9, 6, 3, 6};
    static const std::vector<int> dashDotDot{9, 3, 3, 3, 3, 3};
    switch (code) {
    case psDash: return dash;
    case psDot: return dot;
    case psDashDot: return dashDot;
    case psDashDotDot: return dashDotDot;
    default: return solid;
    }
}

inline QRgb applyRop(CopyMode m, QRgb s, QRgb d)
{
    switch (m) {
    case CopyMode::SrcCopy: return s | kOpaque;
    case CopyMode::SrcAnd: return (s & d) | kOpaque;
    case CopyMode::SrcPaint: return (s | d) | kOpaque;
    case CopyMode::SrcInvert: return (s ^ d) | kOpaque;
    case CopyMode::NotSrcCopy: return ~s | kOpaque;
    case CopyMode::MergePaint: return (~s | d) | kOpaque;
    case CopyMode::NotSrcErase: return ~(s | d) | kOpaque;
    case CopyMode::Whiteness: return 0xFFFFFFFFu;
    case CopyMode::Blackness: return kOpaque;
    }
    return s;
}

} // namespace

QRect gdiRect(int x1, int y1, int x2, int y2)
{
    const int l = std::min(x1, x2), r = std::max(x1, x2);
    const int t = std::min(y1, y2), b = std::max(y1, y2);
    return QRect(QPoint(l, t), QPoint(r - 1, b - 1));
}

Canvas::Canvas(QImage *target) : m_img(target)
{
    m_font = QFont(QStringLiteral("Arial"));
    m_font.setPointSize(10);
}

void Canvas::setBrushColour(TColour c)
{
    m_brushColour = c & 0xFFFFFFu;
    if (m_brushStyle == bsClear)
        m_brushStyle = bsSolid;
}

int Canvas::fontStyle() const
{
    int s = 0;
    if (m_font.bold())
        s |= fsBold;
    if (m_font.italic())
        s |= fsItalic;
    if (m_font.underline())
        s |= fsUnderline;
    if (m_font.strikeOut())
        s |= fsStrikeOut;
    return s;
}

void Canvas::setFontStyle(int bits)
{
    m_font.setBold(bits & fsBold);
    m_font.setItalic(bits & fsItalic);
    m_font.setUnderline(bits & fsUnderline);
    m_font.setStrikeOut(bits & fsStrikeOut);
}

void Canvas::markDirty(const QRect &r)
{
    if (!m_img)
        return;
    const QRect c = r.intersected(m_img->rect());
    if (!c.isEmpty())
        m_dirty = m_dirty.united(c);
}

QRect Canvas::takeDirty()
{
    QRect d = m_dirty;
    m_dirty = QRect();
    return d;
}

QImage *Canvas::beginWrite(const QRect &area)
{
    if (!m_img || m_img->isNull())
        return nullptr;
    const QRect a = area.intersected(m_img->rect());
    if (!a.isEmpty() && m_beforeWrite)
        m_beforeWrite(a);
    return m_img;
}

void Canvas::markWritten(int x, int y)
{
    if (m_coverage)
        m_coverage->scanLine(y)[x] = 0xFF;
}

void Canvas::markWritten(const QRect &r)
{
    if (!m_coverage)
        return;
    const QRect a = r.intersected(m_coverage->rect());
    for (int y = a.top(); y <= a.bottom(); ++y)
        std::fill_n(m_coverage->scanLine(y) + a.left(), a.width(), uchar(0xFF));
}

// Draws into a transparent scratch image first, then puts each covered pixel on the
// picture exactly once (inverted for not-xor, so that drawing twice restores) and
// records it as written.
template <typename Fn>
void Canvas::paintOnScratch(const QRect &area, Fn draw, bool notXor)
{
    QImage scratch(area.size(), QImage::Format_ARGB32_Premultiplied);
    if (scratch.isNull())
        return;
    scratch.fill(Qt::transparent);
    {
        QPainter p(&scratch);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.translate(-area.topLeft());
        p.setBrushOrigin(0, 0);
        draw(p);
    }
    for (int y = 0; y < area.height(); ++y) {
        const QRgb *s = rowOf(scratch, y);
        QRgb *d = rowOf(*m_img, area.top() + y) + area.left();
        uchar *c = m_coverage ? m_coverage->scanLine(area.top() + y) + area.left() : nullptr;
        for (int x = 0; x < area.width(); ++x) {
            if (!qAlpha(s[x]))
                continue;
            d[x] = notXor ? (~(s[x] ^ d[x]) | kOpaque) : (s[x] | kOpaque);
            if (c)
                c[x] = 0xFF;
        }
    }
}

// Drawn straight onto the picture in copy mode; through a scratch image in not-xor
// mode, or when the written pixels must be recorded.
template <typename Fn>
void Canvas::paintArea(const QRect &bounds, Fn draw, bool notXor)
{
    if (!m_img || m_img->isNull())
        return;
    const QRect area = bounds.intersected(m_img->rect());
    if (area.isEmpty())
        return;
    beginWrite(area);
    if (!notXor && !m_coverage) {
        QPainter p(m_img);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setClipRect(area);
        draw(p);
    } else {
        paintOnScratch(area, draw, notXor);
    }
    markDirty(area);
}

// A figure in the pen and brush, in the pen mode.
template <typename Fn>
void Canvas::paintFigure(const QRect &bounds, Fn draw)
{
    QPen pen(qtPenStyle(m_penStyle));
    pen.setColor(toQColor(m_penColour));
    pen.setWidth(m_penWidth);
    pen.setCapStyle(m_penWidth > 1 ? Qt::RoundCap : Qt::FlatCap);
    pen.setJoinStyle(m_penWidth > 1 ? Qt::RoundJoin : Qt::MiterJoin);
    const QBrush brush(toQColor(m_brushColour), qtBrushStyle(m_brushStyle));
    paintArea(
        bounds,
        [&](QPainter &p) {
            p.setPen(pen);
            p.setBrush(brush);
            p.setBackgroundMode(Qt::TransparentMode);
            draw(p);
        },
        m_penMode == PenMode::NotXor);
}

void Canvas::LineTo(int x, int y)
{
    const QPoint from = m_penPos;
    m_penPos = QPoint(x, y);
    if (!m_img || m_penStyle == psClear)
        return;
    if (m_penWidth > 1) {
        const int r = m_penWidth / 2 + 2;
        QRect b = QRect(from, QPoint(x, y)).normalized().adjusted(-r, -r, r, r);
        paintFigure(b, [&](QPainter &p) { p.drawLine(from, QPoint(x, y)); });
        return;
    }
    // A one-pixel line, Bresenham, leaving out its end point.
    const QRgb pen = toQRgb(m_penColour);
    const auto &dashes = dashPattern(m_penStyle);
    int dashIndex = 0, dashLeft = dashes.empty() ? 0 : dashes[0];
    bool on = true;
    int x0 = from.x(), y0 = from.y();
    const int dx = std::abs(x - x0), sx = x0 < x ? 1 : -1;
    const int dy = -std::abs(y - y0), sy = y0 < y ? 1 : -1;
    int err = dx + dy;
    const int w = m_img->width(), h = m_img->height();
    beginWrite(spanning(from, QPoint(x, y)));
    while (!(x0 == x && y0 == y)) {
        if (on && x0 >= 0 && y0 >= 0 && x0 < w && y0 < h) {
            QRgb *d = rowOf(*m_img, y0) + x0;
            *d = m_penMode == PenMode::Copy ? (pen | kOpaque) : (~(pen ^ *d) | kOpaque);
            markWritten(x0, y0);
        }
        if (!dashes.empty() && --dashLeft == 0) {
            dashIndex = (dashIndex + 1) % int(dashes.size());
            dashLeft = dashes[dashIndex];
            on = (dashIndex % 2) == 0;
        }
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
    markDirty(spanning(from, QPoint(x, y)));
}

namespace {
// The outline path of a GDI figure on rectangle r (covered pixels): the pen runs
// through the centres of the outer pixels.
QRectF outlineRect(const QRect &r) { return QRectF(r.left() + 0.5, r.top() + 0.5, r.width() - 1, r.height() - 1); }
} // namespace

void Canvas::Rectangle(int x1, int y1, int x2, int y2)
{
    const QRect r = gdiRect(x1, y1, x2, y2);
    if (r.isEmpty())
        return;
    const int m = m_penWidth / 2 + 1;
    paintFigure(r.adjusted(-m, -m, m, m), [&](QPainter &p) {
        if (r.width() == 1 || r.height() == 1) {
            p.fillRect(r, p.pen().style() == Qt::NoPen ? p.brush() : QBrush(p.pen().color()));
            return;
        }
        p.drawRect(outlineRect(r));
    });
}

void Canvas::Ellipse(int x1, int y1, int x2, int y2)
{
    const QRect r = gdiRect(x1, y1, x2, y2);
    if (r.isEmpty())
        return;
    const int m = m_penWidth / 2 + 1;
    paintFigure(r.adjusted(-m, -m, m, m), [&](QPainter &p) { p.drawEllipse(outlineRect(r)); });
}

void Canvas::RoundRect(int x1, int y1, int x2, int y2, int cornerW, int cornerH)
{
    const QRect r = gdiRect(x1, y1, x2, y2);
    if (r.isEmpty())
        return;
    const int m = m_penWidth / 2 + 1;
    const qreal rx = std::min<qreal>(std::abs(cornerW) / 2.0, r.width() / 2.0);
    const qreal ry = std::min<qreal>(std::abs(cornerH) / 2.0, r.height() / 2.0);
    paintFigure(r.adjusted(-m, -m, m, m), [&](QPainter &p) { p.drawRoundedRect(outlineRect(r), rx, ry); });
}

void Canvas::Polygon(const QPolygon &pts)
{
    if (pts.isEmpty())
        return;
    const int m = m_penWidth / 2 + 2;
    paintFigure(pts.boundingRect().adjusted(-m, -m, m, m), [&](QPainter &p) {
        p.translate(0.5, 0.5);
        p.drawPolygon(pts);
    });
}

void Canvas::Polyline(const QPolygon &pts)
{
    if (pts.size() < 2 || m_penStyle == psClear)
        return;
    if (m_penWidth == 1) {
        // Chains one-pixel segments so each leaves out its end point, as GDI does.
        const QPoint keep = m_penPos;
        m_penPos = pts[0];
        for (int i = 1; i < pts.size(); ++i)
            LineTo(pts[i].x(), pts[i].y());
        m_penPos = keep;
        return;
    }
    const int m = m_penWidth / 2 + 2;
    paintFigure(pts.boundingRect().adjusted(-m, -m, m, m), [&](QPainter &p) {
        p.setBrush(Qt::NoBrush);
        p.translate(0.5, 0.5);
        p.drawPolyline(pts);
    });
}

void Canvas::FillRect(const QRect &r)
{
    if (r.isEmpty() || m_brushStyle == bsClear)
        return;
    paintFigure(r, [&](QPainter &p) { p.fillRect(r, p.brush()); });
}

void Canvas::FloodFill(int x, int y)
{
    if (!m_img || x < 0 || y < 0 || x >= m_img->width() || y >= m_img->height() || m_brushStyle == bsClear)
        return;
    const int w = m_img->width(), h = m_img->height();
    const QRgb target = rowOf(*m_img, y)[x] | kOpaque;
    const bool solid = m_brushStyle == bsSolid;
    const QRgb fill = toQRgb(m_brushColour);
    if (solid && fill == target)
        return;

    // A hatched fill leaves pixels of the target colour behind, so it marks what it has
    // covered; a solid fill of another colour needs no marks (filled pixels no longer match).
    std::vector<quint8> seen(solid ? 0 : size_t(w) * size_t(h), 0);
    // Detached once, so reads and writes below see the same pixels.
    const auto rows = rowsOf(*m_img);
    auto matches = [&](int px, int py) {
        return (solid || !seen[size_t(py) * w + px]) && (rows[py][px] | kOpaque) == target;
    };
    QRect bounds;
    std::vector<QPoint> stack;
    stack.emplace_back(x, y);
    while (!stack.empty()) {
        QPoint p = stack.back();
        stack.pop_back();
        const int py = p.y();
        if (!matches(p.x(), py))
            continue;
        int l = p.x(), r = p.x();
        while (l > 0 && matches(l - 1, py))
            --l;
        while (r < w - 1 && matches(r + 1, py))
            ++r;
        if (solid) {
            beginWrite(QRect(l, py, r - l + 1, 1));
            std::fill(rows[py] + l, rows[py] + r + 1, fill);
            markWritten(QRect(l, py, r - l + 1, 1));
        } else {
            std::fill(seen.begin() + qsizetype(py) * w + l, seen.begin() + qsizetype(py) * w + r + 1, quint8(1));
        }
        bounds = bounds.united(QRect(l, py, r - l + 1, 1));
        for (int ny : {py - 1, py + 1}) {
            if (ny < 0 || ny >= h)
                continue;
            bool inRun = false;
            for (int i = l; i <= r; ++i) {
                const bool m = matches(i, ny);
                if (m && !inRun)
                    stack.emplace_back(i, ny);
                inRun = m;
            }
        }
    }
    if (!solid && !bounds.isEmpty()) {
        // Hatched fill: paint the pattern, then keep it only inside the filled area.
        QImage pattern(bounds.size(), QImage::Format_ARGB32_Premultiplied);
        pattern.fill(Qt::transparent);
        {
            QPainter p(&pattern);
            p.setBrushOrigin(-bounds.topLeft());
            p.fillRect(pattern.rect(), QBrush(toQColor(m_brushColour), qtBrushStyle(m_brushStyle)));
        }
        beginWrite(bounds);
        for (int yy = 0; yy < bounds.height(); ++yy) {
            const QRgb *src = rowOf(pattern, yy);
            QRgb *dst = rowOf(*m_img, bounds.top() + yy) + bounds.left();
            const quint8 *s = &seen[size_t(bounds.top() + yy) * w + bounds.left()];
            for (int xx = 0; xx < bounds.width(); ++xx)
                if (s[xx] && qAlpha(src[xx])) {
                    dst[xx] = src[xx] | kOpaque;
                    markWritten(bounds.left() + xx, bounds.top() + yy);
                }
        }
    }
    markDirty(bounds);
}

QSize Canvas::TextExtent(const QString &text) const
{
    QFontMetrics fm(m_font, m_img);
    return QSize(fm.horizontalAdvance(text), fm.height());
}

void Canvas::TextOut(int x, int y, const QString &text)
{
    if (!m_img || text.isEmpty())
        return;
    QFont f = m_font;
    f.setStyleStrategy(QFont::NoAntialias);
    QFontMetrics fm(f, m_img);
    const QRect cell(x, y, fm.horizontalAdvance(text), fm.height());
    const bool fillCell = m_brushStyle == bsSolid;
    paintArea(
        cell.adjusted(-2, -2, 2, 2),
        [&](QPainter &p) {
            if (fillCell)
                p.fillRect(cell, toQColor(m_brushColour));
            p.setFont(f);
            p.setPen(toQColor(m_fontColour));
            p.drawText(QPoint(x, y + fm.ascent()), text);
        },
        false);
}

void Canvas::TextOutRotated(int x, int y, const QString &text, int angleTenths, const QFont &font)
{
    if (!m_img || text.isEmpty())
        return;
    QFont f = font;
    f.setStyleStrategy(QFont::NoAntialias);
    QFontMetrics fm(f, m_img);
    const int reach = fm.horizontalAdvance(text) + fm.height() + 2;
    paintArea(
        QRect(x - reach, y - reach, 2 * reach, 2 * reach),
        [&](QPainter &p) {
            p.setFont(f);
            p.setPen(toQColor(m_penColour));
            p.translate(x, y);
            p.rotate(-angleTenths / 10.0);
            p.drawText(QPoint(0, fm.ascent()), text);
        },
        false);
}

TColour Canvas::Pixel(int x, int y) const
{
    if (!m_img || x < 0 || y < 0 || x >= m_img->width() || y >= m_img->height())
        return 0xFFFFFFFFu;
    return fromQRgb(rowOf(*m_img, y)[x]);
}

void Canvas::SetPixel(int x, int y, TColour c)
{
    if (!m_img || x < 0 || y < 0 || x >= m_img->width() || y >= m_img->height())
        return;
    beginWrite(QRect(x, y, 1, 1));
    rowOf(*m_img, y)[x] = toQRgb(c);
    markWritten(x, y);
    markDirty(QRect(x, y, 1, 1));
}

void Canvas::Draw(int x, int y, const QImage &src)
{
    if (src.isNull())
        return;
    CopyRect(QRect(x, y, src.width(), src.height()), src, src.rect());
}

void Canvas::CopyRect(const QRect &dst, const QImage &srcIn, const QRect &srcRect)
{
    if (!m_img || srcIn.isNull() || dst.width() == 0 || dst.height() == 0 || srcRect.width() == 0 ||
        srcRect.height() == 0)
        return;
    const QImage src = srcIn.format() == QImage::Format_RGB32 || srcIn.format() == QImage::Format_ARGB32
                           ? srcIn
                           : srcIn.convertToFormat(QImage::Format_RGB32);
    // QRect keeps negative extents when built from width/height; a sign difference mirrors.
    const int dw = std::abs(dst.width()), dh = std::abs(dst.height());
    const int sw = std::abs(srcRect.width()), sh = std::abs(srcRect.height());
    const int dl = dst.width() > 0 ? dst.left() : dst.left() + dst.width();
    const int dt = dst.height() > 0 ? dst.top() : dst.top() + dst.height();
    const int sl = srcRect.width() > 0 ? srcRect.left() : srcRect.left() + srcRect.width();
    const int st = srcRect.height() > 0 ? srcRect.top() : srcRect.top() + srcRect.height();
    const bool mirrorX = (dst.width() > 0) != (srcRect.width() > 0);
    const bool mirrorY = (dst.height() > 0) != (srcRect.height() > 0);
    const QRect target = QRect(dl, dt, dw, dh).intersected(m_img->rect());
    if (target.isEmpty())
        return;
    beginWrite(target);
    markWritten(target);
    std::vector<int> colMap(size_t(target.width()));
    for (int i = 0; i < target.width(); ++i) {
        long long k = (long long)(target.left() + i - dl) * sw / dw;
        if (mirrorX)
            k = sw - 1 - k;
        colMap[size_t(i)] = int(sl + k);
    }
    const CopyMode mode = m_copyMode;
    const QRgb white = 0xFFFFFFFFu;
    const auto dstRows = rowsOf(*m_img);
    const auto srcRows = rowsOf(src);
    const bool colsInside =
        colMap.front() >= 0 && colMap.back() >= 0 && colMap.front() < src.width() && colMap.back() < src.width();
    // Rows are independent, so a large copy runs on every core.
    const int bandRows = (long long)target.width() * target.height() > (1 << 20) ? 32 : target.height();
    forBandsInParallel(target.height(), bandRows, [&](int j0, int j1) {
        for (int j = j0; j < j1; ++j) {
            long long k = (long long)(target.top() + j - dt) * sh / dh;
            if (mirrorY)
                k = sh - 1 - k;
            const int sy = int(st + k);
            QRgb *d = dstRows[target.top() + j] + target.left();
            const QRgb *s = sy >= 0 && sy < src.height() ? srcRows[sy] : nullptr;
            if (mode == CopyMode::SrcCopy && s && colsInside) {
                // The common stretched copy: no raster operation to apply.
                for (int i = 0; i < target.width(); ++i)
                    d[i] = s[colMap[size_t(i)]] | kOpaque;
                continue;
            }
            for (int i = 0; i < target.width(); ++i) {
                const int sx = colMap[size_t(i)];
                // Outside the source reads as white, as an empty area of a bitmap.
                const QRgb sp = (s && sx >= 0 && sx < src.width()) ? s[sx] : white;
                d[i] = applyRop(mode, sp, d[i]);
            }
        }
    });
    markDirty(target);
}

void Canvas::DrawTransparent(int x, int y, const QImage &srcIn, TColour transparent)
{
    if (!m_img || srcIn.isNull())
        return;
    const QImage src = srcIn.convertToFormat(QImage::Format_RGB32);
    const QRect target = QRect(x, y, src.width(), src.height()).intersected(m_img->rect());
    if (target.isEmpty())
        return;
    const QRgb key = toQRgb(transparent) & 0xFFFFFFu;
    beginWrite(target);
    for (int j = target.top(); j <= target.bottom(); ++j) {
        const QRgb *s = rowOf(src, j - y);
        QRgb *d = rowOf(*m_img, j);
        for (int i = target.left(); i <= target.right(); ++i) {
            const QRgb sp = s[i - x];
            if ((sp & 0xFFFFFFu) != key) {
                d[i] = sp | kOpaque;
                markWritten(i, j);
            }
        }
    }
    markDirty(target);
}

} // namespace vermeo
