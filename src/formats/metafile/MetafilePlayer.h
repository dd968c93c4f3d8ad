#pragma once
// The drawing state shared by the WMF and EMF players (WmfPlayer.cpp, EmfPlayer.cpp):
// the GDI objects of a file's table, the device context with its mapping, and the
// drawing calls on a QPainter.
#include "BmpCodec.h"
#include "ByteIO.h"
#include "ColourValue.h"
#include "Error.h"

#include <QPainter>
#include <QPainterPath>
#include <QTransform>
#include <cmath>
#include <map>
#include <set>
#include <vector>

namespace vermeo::formats::metafile {

inline VermeoError bad(const QString &why) { return VermeoError(QStringLiteral("metafile endommagé (%1)").arg(why)); }

constexpr uint32_t kEmfSignature = 0x464D4520; // " EMF"

// Files can ask for many objects and saved states; beyond these they are damaged.
constexpr int kMaxObjects = 65535;
constexpr int kMaxSavedStates = 1024;
constexpr int kMaxPoints = 1 << 22;

// A GDI object of the file's table.
struct GdiObject {
    enum Kind { None, Pen, Brush, Font, Other } kind = None;
    QPen pen;
    QBrush brush;
    QFont font;
    double fontHeight = 0; // logical units; negative means character height
    int escapement = 0;    // tenths of a degree
};

struct DcState {
    QPen pen = QPen(Qt::black, 0);
    QBrush brush = QBrush(Qt::white);
    GdiObject font;
    QColor textColour = Qt::black;
    QColor bkColour = Qt::white;
    bool opaqueBk = true;
    uint32_t textAlign = 0;
    Qt::FillRule fill = Qt::OddEvenFill;
    QPointF position;
    int mapMode = 1;
    QPointF winOrg, vpOrg;
    QSizeF winExt{1, 1}, vpExt{1, 1};
    bool winExtSet = false;
    QTransform world;
};

// Plays the records of either kind on a painter.
class Player {
public:
    Player(QPainter &p, QTransform deviceToImage, double pxPerMm)
        : m_p(p),
          m_deviceToImage(deviceToImage),
          m_pxPerMm(pxPerMm)
    {
    }

    DcState dc;

    QTransform logicalToDevice() const
    {
        QTransform t;
        switch (dc.mapMode) {
        case 1: // text: logical units are device pixels
            t.translate(dc.vpOrg.x() - dc.winOrg.x(), dc.vpOrg.y() - dc.winOrg.y());
            break;
        case 7:
        case 8: { // isotropic, anisotropic
            double sx = dc.winExt.width() ? dc.vpExt.width() / dc.winExt.width() : 1;
            double sy = dc.winExt.height() ? dc.vpExt.height() / dc.winExt.height() : 1;
            if (dc.mapMode == 7) {
                const double s = std::min(std::abs(sx), std::abs(sy));
                sx = std::copysign(s, sx);
                sy = std::copysign(s, sy);
            }
            t = QTransform(sx, 0, 0, sy, dc.vpOrg.x() - dc.winOrg.x() * sx, dc.vpOrg.y() - dc.winOrg.y() * sy);
            break;
        }
        default: { // metric and English modes: fixed units, y upwards
            static const std::map<int, double> mm = {{2, 0.1}, {3, 0.01}, {4, 0.254}, {5, 0.0254}, {6, 25.4 / 1440}};
            auto it = mm.find(dc.mapMode);
            const double s = (it == mm.end() ? 1.0 : it->second) * m_pxPerMm;
            t = QTransform(s, 0, 0, -s, dc.vpOrg.x() - dc.winOrg.x() * s, dc.vpOrg.y() + dc.winOrg.y() * s);
            break;
        }
        }
        return dc.world * t;
    }

    void apply() { m_p.setTransform(logicalToDevice() * m_deviceToImage); }

    void save()
    {
        if (m_saved.size() < size_t(kMaxSavedStates))
            m_saved.push_back(dc);
    }
    // A negative count pops that many states; a positive one restores that saved state.
    void restore(qint64 rel)
    {
        qint64 n = rel < 0 ? -rel : qint64(m_saved.size()) - rel;
        while (n-- > 0 && !m_saved.empty()) {
            dc = m_saved.back();
            m_saved.pop_back();
        }
    }

    void select(const GdiObject &o)
    {
        if (o.kind == GdiObject::Pen)
            dc.pen = o.pen;
        else if (o.kind == GdiObject::Brush)
            dc.brush = o.brush;
        else if (o.kind == GdiObject::Font)
            dc.font = o;
    }

    // Inside a path bracket figures are collected, to be filled or stroked at its end.
    bool inPath = false;
    QPainterPath path;

    void shape(const QPainterPath &figure, bool fill)
    {
        if (inPath) {
            if (path.elementCount() < kMaxPoints)
                path.addPath(figure);
            return;
        }
        drawPath(figure, fill, true);
    }

    void drawPath(const QPainterPath &figure, bool fill, bool stroke)
    {
        apply();
        const double penWidth =
            stroke ? std::max(1.0, dc.pen.widthF() * std::hypot(m_p.transform().m11(), m_p.transform().m12())) : 0;
        if (!charge(figure.controlPointRect(), penWidth))
            return;
        m_p.setPen(stroke ? dc.pen : QPen(Qt::NoPen));
        m_p.setBrush(fill ? dc.brush : Qt::NoBrush);
        m_p.drawPath(figure);
    }

    // Continues the figure being collected from the current position.
    QPainterPath &pathFromPosition()
    {
        if (path.elementCount() == 0 || path.currentPosition() != dc.position)
            path.moveTo(dc.position);
        return path;
    }

    void text(QPointF at, const QString &s, bool useCurrent)
    {
        if (s.isEmpty())
            return;
        if (useCurrent || (dc.textAlign & 1))
            at = dc.position;
        apply();
        QFont f = dc.font.kind == GdiObject::Font ? dc.font.font : QFont(QStringLiteral("Arial"));
        const double hgt = std::abs(dc.font.fontHeight) > 0 ? std::abs(dc.font.fontHeight) : 12;
        const QTransform t = m_p.transform();
        const double sx = std::hypot(t.m11(), t.m12()), sy = std::hypot(t.m21(), t.m22());
        // Glyphs larger than any picture we hold cannot be meant; they would only cost time.
        if (!(hgt * std::max(sx, sy) < 8192) || !(std::min(sx, sy) > 1e-4) || s.size() > 4096)
            return;
        f.setPixelSize(int(std::clamp(std::lround(hgt), 1L, 65535L)));
        QFontMetricsF fm(f);
        m_p.save();
        // Text is drawn upright in the logical space even when y runs upwards.
        const QPointF dev = t.map(at);
        // Qt's glyph cache misbehaves far outside the picture; such text is never seen.
        if (!(std::abs(dev.x()) < 1e6 && std::abs(dev.y()) < 1e6)) {
            m_p.restore();
            return;
        }
        m_p.resetTransform();
        m_p.translate(dev);
        m_p.scale(sx, sy);
        m_p.rotate(-double(dc.font.escapement) / 10.0);
        m_p.setFont(f);
        const double width = fm.horizontalAdvance(s);
        double x = 0, y = 0;
        if ((dc.textAlign & 6) == 6)
            x = -width / 2;
        else if (dc.textAlign & 2)
            x = -width;
        if (dc.textAlign & 8)
            y = -fm.descent(); // bottom
        else if ((dc.textAlign & 24) == 24)
            y = 0; // baseline
        else
            y = fm.ascent(); // top
        if (dc.textAlign & 24 && (dc.textAlign & 24) != 24)
            y = -fm.descent();
        if (!charge(QRectF(x, y - fm.ascent(), width, fm.height()), 0)) {
            m_p.restore();
            return;
        }
        if (dc.opaqueBk)
            m_p.fillRect(QRectF(x, y - fm.ascent(), width, fm.height()), dc.bkColour);
        m_p.setPen(dc.textColour);
        m_p.drawText(QPointF(x, y), s);
        m_p.restore();
        if (dc.textAlign & 1)
            dc.position = at + QPointF(width / sx, 0);
    }

    void bitmap(const QRectF &dest, const QRectF &src, const QByteArray &dibBytes)
    {
        // Bitmaps become BMP files in memory, so they pass the same checks.
        ByteReader r(dibBytes);
        const uint32_t infoSize = r.u32();
        if (r.failed() || infoSize < 12 || infoSize > uint32_t(dibBytes.size()))
            return;
        int bits = 0;
        uint32_t compression = 0, used = 0;
        if (infoSize == 12) {
            r.skip(6);
            bits = r.u16();
        } else {
            r.skip(10);
            bits = r.u16();
            compression = r.u32();
            r.skip(12);
            used = r.u32();
        }
        qsizetype colours = bits <= 8 ? (used ? std::min<uint32_t>(used, 1u << bits) : (1u << bits)) : 0;
        if (compression == 3 && infoSize == 40)
            colours = 3; // the three bit-field masks
        const qsizetype entry = infoSize == 12 ? 3 : 4;
        QByteArray file;
        ByteWriter w(file);
        w.bytes("BM", 2);
        w.u32(uint32_t(14 + dibBytes.size()));
        w.u32(0);
        w.u32(uint32_t(14 + infoSize + colours * entry));
        file.append(dibBytes);
        try {
            apply();
            if (!charge(dest, 0))
                return;
            const Picture pic = decodeBmp(file);
            m_p.drawImage(dest, pic.image, src.isValid() ? src : QRectF(pic.image.rect()));
        } catch (const VermeoError &) {
            // A damaged bitmap record is skipped like an unknown one.
        }
    }

    std::vector<GdiObject> objects;
    std::set<int> freeSlots; // WMF: emptied slots below objects.size()

    // Pixels the records may still paint: every figure costs the area of its bounds on
    // the picture, so a small file cannot ask for hours of filling the whole picture.
    void setPaintBudget(double pixels) { m_budget = pixels; }
    bool budgetSpent() const { return m_budget <= 0; }

private:
    // Charges the figure's bounds (in the painter's current mapping) to the budget;
    // false once it is spent, and the figure is then not drawn.
    bool charge(const QRectF &logicalBounds, double penWidth)
    {
        if (m_budget <= 0)
            return false;
        const QRectF dev = m_p.transform().mapRect(logicalBounds).adjusted(-penWidth, -penWidth, penWidth, penWidth);
        const QRectF seen = dev.intersected(QRectF(0, 0, m_p.device()->width(), m_p.device()->height()));
        m_budget -= std::max(1.0, seen.width() + 1) * std::max(1.0, seen.height() + 1);
        return true;
    }

    QPainter &m_p;
    QTransform m_deviceToImage;
    double m_pxPerMm;
    double m_budget = 1e300;
    std::vector<DcState> m_saved;
};

inline QPen makePen(int style, double width, uint32_t colour)
{
    if ((style & 0xF) == 5)
        return QPen(Qt::NoPen);
    QPen pen(toQColor(colour), width <= 1 ? 0 : std::min(width, 4096.0));
    static const Qt::PenStyle styles[] = {Qt::SolidLine,      Qt::DashLine, Qt::DotLine,  Qt::DashDotLine,
                                          Qt::DashDotDotLine, Qt::NoPen,    Qt::SolidLine};
    const int s = style & 0xF;
    pen.setStyle(s <= 6 ? styles[s] : Qt::SolidLine);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

inline QBrush makeBrush(int style, uint32_t colour, int hatch)
{
    if (style == 1)
        return QBrush(Qt::NoBrush);
    if (style == 2) {
        static const Qt::BrushStyle hatches[] = {Qt::HorPattern,   Qt::VerPattern,   Qt::FDiagPattern,
                                                 Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
        return QBrush(toQColor(colour), hatch >= 0 && hatch < 6 ? hatches[hatch] : Qt::SolidPattern);
    }
    return QBrush(toQColor(colour));
}

inline GdiObject stockObject(uint32_t index)
{
    GdiObject o;
    switch (index & 0x7FFFFFFF) {
    case 0:
        o.kind = GdiObject::Brush;
        o.brush = QBrush(Qt::white);
        break;
    case 1:
        o.kind = GdiObject::Brush;
        o.brush = QBrush(QColor(192, 192, 192));
        break;
    case 2:
        o.kind = GdiObject::Brush;
        o.brush = QBrush(QColor(128, 128, 128));
        break;
    case 3:
        o.kind = GdiObject::Brush;
        o.brush = QBrush(QColor(64, 64, 64));
        break;
    case 4:
        o.kind = GdiObject::Brush;
        o.brush = QBrush(Qt::black);
        break;
    case 5:
        o.kind = GdiObject::Brush;
        o.brush = QBrush(Qt::NoBrush);
        break;
    case 6:
        o.kind = GdiObject::Pen;
        o.pen = QPen(Qt::white, 0);
        break;
    case 7:
        o.kind = GdiObject::Pen;
        o.pen = QPen(Qt::black, 0);
        break;
    case 8:
        o.kind = GdiObject::Pen;
        o.pen = QPen(Qt::NoPen);
        break;
    default: break;
    }
    return o;
}

inline QFont makeFont(const QString &face, int weight, bool italic, bool underline, bool strike)
{
    QFont f(face.isEmpty() ? QStringLiteral("Arial") : face);
    f.setBold(weight >= 600);
    f.setItalic(italic);
    f.setUnderline(underline);
    f.setStrikeOut(strike);
    return f;
}

// What a file may paint in all: the picture four times over, and 1024 pixels for
// each of its bytes, so that the time to play it grows with its size, not faster.
inline double paintBudget(QSize picture, qsizetype bytes)
{
    return 4.0 * picture.width() * picture.height() + 1024.0 * double(bytes);
}

// The two players: the size a file asks for, and its records played onto a painter
// whose device is a picture of that size (or, through toPicture, a reduced copy of it).
bool isEmf(const QByteArray &d);
QSize emfSize(const QByteArray &d);
void playEmf(const QByteArray &d, QPainter &p, QSize size, const QTransform &toPicture = {});
QSize wmfSize(const QByteArray &d);
void playWmf(const QByteArray &d, QPainter &p, QSize size, const QTransform &toPicture = {});

} // namespace vermeo::formats::metafile
