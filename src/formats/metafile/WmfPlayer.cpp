#include "ByteIO.h"
#include "MetafilePlayer.h"
#include "MetafileRecords.h"

#include <QPainterPath>
#include <cmath>
#include <vector>

// The Windows metafile (WMF) player: the placeable header, the size and the records.
namespace vermeo::formats::metafile {

namespace {
struct WmfInfo {
    qsizetype recordsAt = 0;
    QRect box; // placeable bounding box, when there is one
    int inch = 0;
};

WmfInfo wmfHeader(const QByteArray &d)
{
    ByteReader r(d);
    WmfInfo info;
    if (d.size() >= 22 && le32(r.here()) == 0x9AC6CDD7u) {
        r.skip(6);
        const int l = r.s16(), t = r.s16(), rt = r.s16(), b = r.s16();
        info.inch = r.u16();
        info.box = QRect(QPoint(l, t), QPoint(rt - 1, b - 1)).normalized();
        r.seek(22);
    }
    const qsizetype at = r.pos();
    const uint16_t type = r.u16(), headerWords = r.u16();
    if (r.failed() || (type != 1 && type != 2) || headerWords != 9)
        throw bad(QStringLiteral("en-tête WMF ou EMF absent"));
    info.recordsAt = at + 18;
    if (info.recordsAt > d.size())
        throw bad(QStringLiteral("en-tête WMF tronqué"));
    return info;
}

// Lowest free slot, as the format assigns them: the freed slots are kept in order, so
// a file of many creations costs no scan of the table; a full table takes no more.
int addObject(Player &pl, GdiObject o)
{
    if (!pl.freeSlots.empty()) {
        const int i = *pl.freeSlots.begin();
        pl.freeSlots.erase(pl.freeSlots.begin());
        pl.objects[size_t(i)] = std::move(o);
        return i;
    }
    if (pl.objects.size() >= size_t(kMaxObjects))
        return -1;
    pl.objects.push_back(std::move(o));
    return int(pl.objects.size() - 1);
}

QPolygonF wmfPoints(ByteReader &r, int n)
{
    QPolygonF poly;
    if (n < 0 || !r.has(qsizetype(n) * 4))
        return poly;
    poly.reserve(n);
    for (int i = 0; i < n; ++i) {
        const double x = r.s16(), y = r.s16();
        poly.append(QPointF(x, y));
    }
    return poly;
}

QString wmfText(ByteReader &r, int len)
{
    if (len <= 0 || !r.has(len))
        return {};
    const QString s = QString::fromLatin1(charsOf(r.here()), len);
    r.skip(len + (len & 1));
    return s;
}

void playRecords(const QByteArray &d, const WmfInfo &info, Player &pl)
{
    qsizetype pos = info.recordsAt;
    while (pos + 6 <= d.size() && !pl.budgetSpent()) {
        const uchar *rec = bytesOf(d) + pos;
        const qint64 words = le32(rec);
        const uint16_t fn = le16(rec + 4);
        if (fn == META_EOF || words < 3)
            break;
        if (words * 2 > d.size() - pos)
            break; // a record running past the end: stop at what we have
        ByteReader r(rec + 6, words * 2 - 6);
        pos += words * 2;
        auto rectFromParams = [&r]() {
            const double b = r.s16(), rt = r.s16(), t = r.s16(), l = r.s16();
            return QRectF(QPointF(l, t), QPointF(rt, b)).normalized();
        };
        switch (fn) {
        case META_SETWINDOWORG: {
            const double y = r.s16(), x = r.s16();
            pl.dc.winOrg = {x, y};
            break;
        }
        case META_SETWINDOWEXT: {
            const double y = r.s16(), x = r.s16();
            pl.dc.winExt = {x, y};
            pl.dc.winExtSet = true;
            break;
        }
        case META_SETVIEWPORTORG: {
            const double y = r.s16(), x = r.s16();
            pl.dc.vpOrg = {x, y};
            break;
        }
        case META_SETVIEWPORTEXT: {
            const double y = r.s16(), x = r.s16();
            pl.dc.vpExt = {x, y};
            break;
        }
        case META_SETMAPMODE: break; // the player keeps its own (anisotropic) mapping onto the picture
        case META_SETBKMODE: pl.dc.opaqueBk = r.u16() == 2; break;
        case META_SETBKCOLOR: pl.dc.bkColour = toQColor(r.u32()); break;
        case META_SETTEXTCOLOR: pl.dc.textColour = toQColor(r.u32()); break;
        case META_SETTEXTALIGN: pl.dc.textAlign = r.u16(); break;
        case META_SETPOLYFILLMODE: pl.dc.fill = r.u16() == 2 ? Qt::WindingFill : Qt::OddEvenFill; break;
        case META_SAVEDC: pl.save(); break;
        case META_RESTOREDC: pl.restore(r.s16()); break;
        case META_CREATEPENINDIRECT: {
            GdiObject o;
            o.kind = GdiObject::Pen;
            const int style = r.u16();
            const int width = r.s16();
            r.skip(2);
            o.pen = makePen(style, width, r.u32());
            addObject(pl, o);
            break;
        }
        case META_CREATEBRUSHINDIRECT: {
            GdiObject o;
            o.kind = GdiObject::Brush;
            const int style = r.u16();
            const uint32_t colour = r.u32();
            o.brush = makeBrush(style, colour, r.u16());
            addObject(pl, o);
            break;
        }
        case META_CREATEFONTINDIRECT: {
            GdiObject o;
            o.kind = GdiObject::Font;
            o.fontHeight = r.s16();
            r.skip(2);
            o.escapement = r.s16();
            r.skip(2);
            const int weight = r.s16();
            const bool italic = r.u8(), underline = r.u8(), strike = r.u8();
            r.skip(5);
            QByteArray face;
            while (r.has(1) && face.size() < 32) {
                const char c = char(r.u8());
                if (!c)
                    break;
                face.append(c);
            }
            o.font = makeFont(QString::fromLatin1(face), weight, italic, underline, strike);
            addObject(pl, o);
            break;
        }
        case META_CREATEPALETTE:
        case META_CREATEREGION:
        case META_CREATEPATTERNBRUSH:
        case META_DIBCREATEPATTERNBRUSH: // palette, region, pattern brushes
            addObject(pl, GdiObject{GdiObject::Other, {}, {}, {}, 0, 0});
            break;
        case META_SELECTOBJECT: {
            const uint16_t i = r.u16();
            if (i < pl.objects.size())
                pl.select(pl.objects[i]);
            break;
        }
        case META_DELETEOBJECT: {
            const uint16_t i = r.u16();
            if (i < pl.objects.size() && pl.objects[i].kind != GdiObject::None) {
                pl.objects[i] = GdiObject{};
                pl.freeSlots.insert(i);
            }
            break;
        }
        case META_MOVETO: {
            const double y = r.s16(), x = r.s16();
            pl.dc.position = {x, y};
            break;
        }
        case META_LINETO: {
            const double y = r.s16(), x = r.s16();
            QPainterPath p(pl.dc.position);
            p.lineTo(x, y);
            pl.shape(p, false);
            pl.dc.position = {x, y};
            break;
        }
        case META_POLYLINE:
        case META_POLYGON: {
            const QPolygonF poly = wmfPoints(r, r.s16());
            QPainterPath p;
            p.setFillRule(pl.dc.fill);
            p.addPolygon(poly);
            if (fn == META_POLYGON)
                p.closeSubpath();
            pl.shape(p, fn == META_POLYGON);
            break;
        }
        case META_POLYPOLYGON: {
            const int n = r.u16();
            if (!r.has(qsizetype(n) * 2))
                break;
            std::vector<int> counts(static_cast<size_t>(n));
            for (int &c : counts)
                c = r.u16();
            QPainterPath p;
            p.setFillRule(pl.dc.fill);
            for (int c : counts) {
                p.addPolygon(wmfPoints(r, c));
                p.closeSubpath();
            }
            pl.shape(p, true);
            break;
        }
        case META_RECTANGLE:
        case META_ELLIPSE: {
            const QRectF rc = rectFromParams();
            QPainterPath p;
            if (fn == META_RECTANGLE)
                p.addRect(rc);
            else
                p.addEllipse(rc);
            pl.shape(p, true);
            break;
        }
        case META_ROUNDRECT: {
            const double eh = r.s16(), ew = r.s16();
            const QRectF rc = rectFromParams();
            QPainterPath p;
            p.addRoundedRect(rc, ew / 2, eh / 2);
            pl.shape(p, true);
            break;
        }
        case META_TEXTOUT: {
            const int len = r.s16();
            const QString s = wmfText(r, len);
            const double y = r.s16(), x = r.s16();
            pl.text({x, y}, s, false);
            break;
        }
        case META_EXTTEXTOUT: {
            const double y = r.s16(), x = r.s16();
            const int len = r.s16();
            const uint16_t opts = r.u16();
            if (opts & 0x0006)
                r.skip(8); // clipping or opaquing rectangle
            pl.text({x, y}, wmfText(r, len), false);
            break;
        }
        case META_STRETCHDIB: { // StretchDIB
            r.skip(6);
            const double sh = r.s16(), sw = r.s16(), sy = r.s16(), sx = r.s16();
            const double dh = r.s16(), dw = r.s16(), dy = r.s16(), dx = r.s16();
            if (!r.failed())
                pl.bitmap(QRectF(dx, dy, dw, dh), QRectF(sx, sy, sw, sh),
                          QByteArray::fromRawData(charsOf(r.here()), r.left()));
            break;
        }
        case META_DIBSTRETCHBLT:
        case META_DIBBITBLT: { // DIBStretchBlt, DIBBitBlt
            r.skip(4);
            double sh = 0, sw = 0;
            const double sy = r.s16(), sx = r.s16();
            if (fn == META_DIBSTRETCHBLT) {
                sh = r.s16();
                sw = r.s16();
            }
            const double dh = r.s16(), dw = r.s16(), dy = r.s16(), dx = r.s16();
            if (fn == META_DIBBITBLT) {
                sw = dw;
                sh = dh;
            }
            if (!r.failed() && r.left() > 40)
                pl.bitmap(QRectF(dx, dy, dw, dh), QRectF(sx, sy, sw, sh),
                          QByteArray::fromRawData(charsOf(r.here()), r.left()));
            break;
        }
        default: break; // records that real drawings rarely need
        }
    }
}
} // namespace

QSize wmfSize(const QByteArray &d)
{
    const WmfInfo info = wmfHeader(d);
    if (info.box.isValid() && info.inch > 0)
        return QSize(int(std::lround((info.box.width()) * 96.0 / info.inch)),
                     int(std::lround((info.box.height()) * 96.0 / info.inch)));
    // No placeable header: the window extent of the records gives the size.
    QSize s;
    qsizetype pos = info.recordsAt;
    while (pos + 10 <= d.size()) {
        const uchar *rec = bytesOf(d) + pos;
        const qint64 words = le32(rec);
        if (words < 3 || words * 2 > d.size() - pos || le16(rec + 4) == META_EOF)
            break;
        if (le16(rec + 4) == META_SETWINDOWEXT)
            s = QSize(std::abs(int16_t(le16(rec + 8))), std::abs(int16_t(le16(rec + 6))));
        pos += words * 2;
    }
    if (!s.isValid() || s.isEmpty())
        throw bad(QStringLiteral("taille inconnue"));
    return s;
}

void playWmf(const QByteArray &d, QPainter &p, QSize size, const QTransform &toPicture)
{
    const WmfInfo info = wmfHeader(d);
    Player pl(p, toPicture, 96 / 25.4);
    pl.setPaintBudget(paintBudget(size, d.size()));
    // The picture is the viewport; the records' window is mapped onto it.
    pl.dc.mapMode = 8;
    pl.dc.vpExt = QSizeF(size);
    if (info.box.isValid()) {
        pl.dc.winOrg = info.box.topLeft();
        pl.dc.winExt = QSizeF(info.box.width(), info.box.height());
    } else {
        pl.dc.winExt = QSizeF(size);
    }
    playRecords(d, info, pl);
}

} // namespace vermeo::formats::metafile
