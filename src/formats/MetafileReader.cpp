#include "BmpCodec.h"
#include "ByteIO.h"
#include "Error.h"
#include "Metafile.h"
#include "MetafilePlayer.h"

#include <QPainter>
#include <QPainterPath>
#include <QTransform>
#include <cmath>
#include <map>
#include <vector>

namespace vermeo::formats {

namespace {
using namespace metafile;

VermeoError bad(const QString &why) { return VermeoError(QStringLiteral("metafile endommagé (%1)").arg(why)); }

constexpr uint32_t kEmfSignature = 0x464D4520;

bool isEmf(const QByteArray &d)
{
    return d.size() >= 88 && le32(reinterpret_cast<const uchar *>(d.constData())) == 1
           && le32(reinterpret_cast<const uchar *>(d.constData()) + 40) == kEmfSignature;
}

// --- WMF ---------------------------------------------------------------------------------

struct WmfInfo {
    qsizetype recordsAt = 0;
    QRect box;   // placeable bounding box, when there is one
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
        throw bad(QStringLiteral("en-tête WMF absent"));
    info.recordsAt = at + 18;
    if (info.recordsAt > d.size())
        throw bad(QStringLiteral("en-tête WMF tronqué"));
    return info;
}

// Lowest free slot, as the format assigns them.
int addObject(Player &pl, GdiObject o)
{
    for (size_t i = 0; i < pl.objects.size(); ++i)
        if (pl.objects[i].kind == GdiObject::None) {
            pl.objects[i] = o;
            return int(i);
        }
    if (pl.objects.size() >= size_t(kMaxObjects))
        return -1;
    pl.objects.push_back(o);
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
    const QString s = QString::fromLatin1(reinterpret_cast<const char *>(r.here()), len);
    r.skip(len + (len & 1));
    return s;
}

void playWmf(const QByteArray &d, const WmfInfo &info, Player &pl)
{
    qsizetype pos = info.recordsAt;
    while (pos + 6 <= d.size()) {
        const uchar *rec = reinterpret_cast<const uchar *>(d.constData()) + pos;
        const qint64 words = le32(rec);
        const uint16_t fn = le16(rec + 4);
        if (fn == 0 || words < 3)
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
        case 0x020B: { const double y = r.s16(), x = r.s16(); pl.dc.winOrg = {x, y}; break; }
        case 0x020C: { const double y = r.s16(), x = r.s16(); pl.dc.winExt = {x, y}; pl.dc.winExtSet = true; break; }
        case 0x020D: { const double y = r.s16(), x = r.s16(); pl.dc.vpOrg = {x, y}; break; }
        case 0x020E: { const double y = r.s16(), x = r.s16(); pl.dc.vpExt = {x, y}; break; }
        case 0x0103: break; // the player keeps its own (anisotropic) mapping onto the picture
        case 0x0102: pl.dc.opaqueBk = r.u16() == 2; break;
        case 0x0201: pl.dc.bkColour = toQColor(r.u32()); break;
        case 0x0209: pl.dc.textColour = toQColor(r.u32()); break;
        case 0x012E: pl.dc.textAlign = r.u16(); break;
        case 0x0106: pl.dc.fill = r.u16() == 2 ? Qt::WindingFill : Qt::OddEvenFill; break;
        case 0x001E: pl.save(); break;
        case 0x0127: pl.restore(r.s16()); break;
        case 0x02FA: {
            GdiObject o;
            o.kind = GdiObject::Pen;
            const int style = r.u16();
            const int width = r.s16();
            r.skip(2);
            o.pen = makePen(style, width, r.u32());
            addObject(pl, o);
            break;
        }
        case 0x02FC: {
            GdiObject o;
            o.kind = GdiObject::Brush;
            const int style = r.u16();
            const uint32_t colour = r.u32();
            o.brush = makeBrush(style, colour, r.u16());
            addObject(pl, o);
            break;
        }
        case 0x02FB: {
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
        case 0x00F7: case 0x06FF: case 0x01F9: case 0x0142: // palette, region, pattern brushes
            addObject(pl, GdiObject{GdiObject::Other, {}, {}, {}, 0, 0});
            break;
        case 0x012D: {
            const uint16_t i = r.u16();
            if (i < pl.objects.size())
                pl.select(pl.objects[i]);
            break;
        }
        case 0x01F0: {
            const uint16_t i = r.u16();
            if (i < pl.objects.size())
                pl.objects[i] = GdiObject{};
            break;
        }
        case 0x0214: { const double y = r.s16(), x = r.s16(); pl.dc.position = {x, y}; break; }
        case 0x0213: {
            const double y = r.s16(), x = r.s16();
            QPainterPath p(pl.dc.position);
            p.lineTo(x, y);
            pl.shape(p, false);
            pl.dc.position = {x, y};
            break;
        }
        case 0x0325:
        case 0x0324: {
            const QPolygonF poly = wmfPoints(r, r.s16());
            QPainterPath p;
            p.setFillRule(pl.dc.fill);
            p.addPolygon(poly);
            if (fn == 0x0324)
                p.closeSubpath();
            pl.shape(p, fn == 0x0324);
            break;
        }
        case 0x0538: {
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
        case 0x041B: case 0x0418: {
            const QRectF rc = rectFromParams();
            QPainterPath p;
            if (fn == 0x041B) p.addRect(rc); else p.addEllipse(rc);
            pl.shape(p, true);
            break;
        }
        case 0x061C: {
            const double eh = r.s16(), ew = r.s16();
            const QRectF rc = rectFromParams();
            QPainterPath p;
            p.addRoundedRect(rc, ew / 2, eh / 2);
            pl.shape(p, true);
            break;
        }
        case 0x0521: {
            const int len = r.s16();
            const QString s = wmfText(r, len);
            const double y = r.s16(), x = r.s16();
            pl.text({x, y}, s, false);
            break;
        }
        case 0x0A32: {
            const double y = r.s16(), x = r.s16();
            const int len = r.s16();
            const uint16_t opts = r.u16();
            if (opts & 0x0006)
                r.skip(8); // clipping or opaquing rectangle
            pl.text({x, y}, wmfText(r, len), false);
            break;
        }
        case 0x0F43: { // StretchDIB
            r.skip(6);
            const double sh = r.s16(), sw = r.s16(), sy = r.s16(), sx = r.s16();
            const double dh = r.s16(), dw = r.s16(), dy = r.s16(), dx = r.s16();
            if (!r.failed())
                pl.bitmap(QRectF(dx, dy, dw, dh), QRectF(sx, sy, sw, sh),
                          QByteArray::fromRawData(reinterpret_cast<const char *>(r.here()), r.left()));
            break;
        }
        case 0x0B41: case 0x0940: { // DIBStretchBlt, DIBBitBlt
            r.skip(4);
            double sh = 0, sw = 0;
            const double sy = r.s16(), sx = r.s16();
            if (fn == 0x0B41) {
                sh = r.s16();
                sw = r.s16();
            }
            const double dh = r.s16(), dw = r.s16(), dy = r.s16(), dx = r.s16();
            if (fn == 0x0940) {
                sw = dw;
                sh = dh;
            }
            if (!r.failed() && r.left() > 40)
                pl.bitmap(QRectF(dx, dy, dw, dh), QRectF(sx, sy, sw, sh),
                          QByteArray::fromRawData(reinterpret_cast<const char *>(r.here()), r.left()));
            break;
        }
        default: break; // records that real drawings rarely need
        }
    }
}

// --- EMF ---------------------------------------------------------------------------------

// Corners as the file gives them, widened so that damaged values cannot overflow.
struct Box {
    qint64 left = 0, top = 0, right = 0, bottom = 0;
    qint64 width() const { return right - left; }
    qint64 height() const { return bottom - top; }
};

struct EmfInfo {
    Box bounds;  // device pixels, inclusive
    Box frame;   // 0.01 mm
    QSize device, millimetres;
};

EmfInfo emfHeader(const QByteArray &d)
{
    ByteReader r(d);
    r.skip(8);
    EmfInfo e;
    const int bl = r.s32(), bt = r.s32(), br = r.s32(), bb = r.s32();
    const int fl = r.s32(), ft = r.s32(), fr = r.s32(), fb = r.s32();
    r.skip(4 * 4 + 2 * 2 + 4 * 3);
    const int dw = r.s32(), dh = r.s32(), mw = r.s32(), mh = r.s32();
    if (r.failed())
        throw bad(QStringLiteral("en-tête EMF tronqué"));
    e.bounds = Box{bl, bt, br, bb};
    e.frame = Box{fl, ft, fr, fb};
    e.device = QSize(dw, dh);
    e.millimetres = QSize(mw, mh);
    return e;
}

QSize emfPixelSize(const EmfInfo &e)
{
    if (e.device.width() > 0 && e.device.height() > 0 && e.millimetres.width() > 0 && e.millimetres.height() > 0
        && e.frame.width() > 0 && e.frame.height() > 0) {
        const double w = double(e.frame.width()) * e.device.width() / (e.millimetres.width() * 100.0);
        const double h = double(e.frame.height()) * e.device.height() / (e.millimetres.height() * 100.0);
        if (w < 1e6 && h < 1e6)
            return QSize(int(std::lround(w)), int(std::lround(h)));
    }
    // 64-bit: damaged bounds may span the whole 32-bit range.
    const qint64 w = e.bounds.width() + 1, h = e.bounds.height() + 1;
    return QSize(int(std::clamp<qint64>(w, -1, 1 << 20)), int(std::clamp<qint64>(h, -1, 1 << 20)));
}

QPolygonF emfPoints(ByteReader &r, uint32_t n, bool small)
{
    QPolygonF poly;
    if (n > uint32_t(kMaxPoints) || !r.has(qsizetype(n) * (small ? 4 : 8)))
        return poly;
    poly.reserve(int(n));
    for (uint32_t i = 0; i < n; ++i) {
        const double x = small ? r.s16() : r.s32();
        const double y = small ? r.s16() : r.s32();
        poly.append(QPointF(x, y));
    }
    return poly;
}

QString utf16Text(const uchar *rec, qsizetype recSize, uint32_t offset, uint32_t chars)
{
    if (chars == 0 || chars > 1u << 20 || offset > recSize || qsizetype(chars) * 2 > recSize - offset)
        return {};
    QString s(int(chars), Qt::Uninitialized);
    for (uint32_t i = 0; i < chars; ++i)
        s[int(i)] = QChar(le16(rec + offset + 2 * i));
    return s;
}

void emfObject(Player &pl, uint32_t index, GdiObject o)
{
    if (index == 0 || index >= uint32_t(kMaxObjects))
        return;
    if (pl.objects.size() <= index)
        pl.objects.resize(index + 1);
    pl.objects[index] = std::move(o);
}

void playEmf(const QByteArray &d, Player &pl)
{
    qsizetype pos = 0;
    while (pos + 8 <= d.size()) {
        const uchar *rec = reinterpret_cast<const uchar *>(d.constData()) + pos;
        const uint32_t type = le32(rec);
        const qint64 size = le32(rec + 4);
        if (size < 8 || size > d.size() - pos || (size & 3))
            break;
        pos += size;
        ByteReader r(rec + 8, size - 8);
        auto point = [&r]() { const double x = r.s32(); const double y = r.s32(); return QPointF(x, y); };
        auto rect = [&r]() {
            const double l = r.s32(), t = r.s32(), rt = r.s32(), b = r.s32();
            return QRectF(QPointF(l, t), QPointF(rt, b)).normalized();
        };
        switch (type) {
        case 14: return; // end of file
        case 9: { const double w = r.s32(), h = r.s32(); pl.dc.winExt = {w, h}; break; }
        case 10: pl.dc.winOrg = point(); break;
        case 11: { const double w = r.s32(), h = r.s32(); pl.dc.vpExt = {w, h}; break; }
        case 12: pl.dc.vpOrg = point(); break;
        case 17: pl.dc.mapMode = int(r.u32()); break;
        case 18: pl.dc.opaqueBk = r.u32() == 2; break;
        case 19: pl.dc.fill = r.u32() == 2 ? Qt::WindingFill : Qt::OddEvenFill; break;
        case 22: pl.dc.textAlign = r.u32(); break;
        case 24: pl.dc.textColour = toQColor(r.u32()); break;
        case 25: pl.dc.bkColour = toQColor(r.u32()); break;
        case 27:
            pl.dc.position = point();
            if (pl.inPath)
                pl.path.moveTo(pl.dc.position);
            break;
        case 59: pl.inPath = true; pl.path = QPainterPath(); pl.path.setFillRule(pl.dc.fill); break;
        case 60: pl.inPath = false; break;
        case 61: if (pl.inPath) pl.path.closeSubpath(); break;
        case 68: pl.inPath = false; pl.path = QPainterPath(); break;
        case 62: case 63: case 64: // fill, stroke and fill, stroke the path
            pl.inPath = false;
            pl.path.setFillRule(pl.dc.fill);
            pl.drawPath(pl.path, type != 64, type != 62);
            pl.path = QPainterPath();
            break;
        case 33: pl.save(); break;
        case 34: pl.restore(r.s32()); break;
        case 35: case 36: { // world transform
            float m[6];
            for (float &v : m) {
                const uint32_t bits = r.u32();
                std::memcpy(&v, &bits, 4);
                if (!std::isfinite(v) || std::abs(v) > 1e6f)
                    v = 0;
            }
            const QTransform t(m[0], m[1], m[2], m[3], m[4], m[5]);
            if (r.failed())
                break;
            const uint32_t mode = type == 36 ? r.u32() : 4;
            if (mode == 1) pl.dc.world = QTransform();
            else if (mode == 2) pl.dc.world = t * pl.dc.world;
            else if (mode == 3) pl.dc.world = pl.dc.world * t;
            else pl.dc.world = t;
            break;
        }
        case 37: {
            const uint32_t i = r.u32();
            if (i & 0x80000000u)
                pl.select(stockObject(i));
            else if (i < pl.objects.size())
                pl.select(pl.objects[i]);
            break;
        }
        case 38: { // CreatePen
            const uint32_t i = r.u32();
            const uint32_t style = r.u32();
            const int width = r.s32();
            r.skip(4);
            GdiObject o; o.kind = GdiObject::Pen;
            o.pen = makePen(int(style), width, r.u32());
            if (!r.failed()) emfObject(pl, i, o);
            break;
        }
        case 95: { // ExtCreatePen
            const uint32_t i = r.u32();
            r.skip(16);
            const uint32_t style = r.u32();
            const uint32_t width = r.u32();
            r.skip(4);
            GdiObject o; o.kind = GdiObject::Pen;
            o.pen = makePen(int(style), width, r.u32());
            if (!r.failed()) emfObject(pl, i, o);
            break;
        }
        case 39: {
            const uint32_t i = r.u32();
            const uint32_t style = r.u32(), colour = r.u32(), hatch = r.u32();
            GdiObject o; o.kind = GdiObject::Brush;
            o.brush = makeBrush(int(style), colour, int(hatch));
            if (!r.failed()) emfObject(pl, i, o);
            break;
        }
        case 82: { // ExtCreateFontIndirectW
            const uint32_t i = r.u32();
            GdiObject o; o.kind = GdiObject::Font;
            o.fontHeight = r.s32();
            r.skip(4);
            o.escapement = r.s32();
            r.skip(4);
            const int weight = r.s32();
            const bool italic = r.u8(), underline = r.u8(), strike = r.u8();
            r.skip(5);
            QString face;
            for (int k = 0; k < 32 && r.has(2); ++k) {
                const QChar c(r.u16());
                if (c.isNull())
                    break;
                face.append(c);
            }
            o.font = makeFont(face, weight, italic, underline, strike);
            emfObject(pl, i, o);
            break;
        }
        case 40: {
            const uint32_t i = r.u32();
            if (i < pl.objects.size())
                pl.objects[i] = GdiObject{};
            break;
        }
        case 42: case 43: {
            const QRectF rc = rect();
            QPainterPath p;
            if (type == 43) p.addRect(rc); else p.addEllipse(rc);
            pl.shape(p, true);
            break;
        }
        case 44: {
            const QRectF rc = rect();
            const double ew = r.s32(), eh = r.s32();
            QPainterPath p;
            p.addRoundedRect(rc, ew / 2, eh / 2);
            pl.shape(p, true);
            break;
        }
        case 54: {
            const QPointF to = point();
            if (pl.inPath) {
                pl.pathFromPosition().lineTo(to);
                pl.dc.position = to;
                break;
            }
            QPainterPath p(pl.dc.position);
            p.lineTo(to);
            pl.shape(p, false);
            pl.dc.position = to;
            break;
        }
        case 3: case 4: case 6: case 86: case 87: case 89: case 2: case 85: case 5: case 88: { // polygons, lines, Béziers
            const bool small = type >= 85;
            r.skip(16);
            const uint32_t n = r.u32();
            const QPolygonF poly = emfPoints(r, n, small);
            if (poly.isEmpty())
                break;
            QPainterPath p;
            p.setFillRule(pl.dc.fill);
            const bool lineTo = type == 6 || type == 89;
            const bool bezier = type == 2 || type == 85;
            const bool bezierTo = type == 5 || type == 88;
            if ((lineTo || bezierTo) && pl.inPath) {
                QPainterPath &path = pl.pathFromPosition();
                if (lineTo)
                    for (const QPointF &pt : poly)
                        path.lineTo(pt);
                else
                    for (int k = 0; k + 2 < poly.size(); k += 3)
                        path.cubicTo(poly[k], poly[k + 1], poly[k + 2]);
                pl.dc.position = poly.last();
                break;
            }
            if (bezierTo) {
                p.moveTo(pl.dc.position);
                for (int k = 0; k + 2 < poly.size(); k += 3)
                    p.cubicTo(poly[k], poly[k + 1], poly[k + 2]);
                pl.dc.position = poly.last();
            } else if (lineTo) {
                p.moveTo(pl.dc.position);
                for (const QPointF &pt : poly)
                    p.lineTo(pt);
                pl.dc.position = poly.last();
            } else if (bezier) {
                p.moveTo(poly[0]);
                for (int k = 1; k + 2 < poly.size(); k += 3)
                    p.cubicTo(poly[k], poly[k + 1], poly[k + 2]);
            } else {
                p.addPolygon(poly);
            }
            const bool closed = type == 3 || type == 86;
            if (closed)
                p.closeSubpath();
            pl.shape(p, closed);
            break;
        }
        case 7: case 8: case 90: case 91: { // poly-polylines and poly-polygons
            const bool small = type >= 90;
            r.skip(16);
            const uint32_t n = r.u32(), total = r.u32();
            if (n > uint32_t(kMaxPoints) || !r.has(qsizetype(n) * 4))
                break;
            std::vector<uint32_t> counts(n);
            uint64_t sum = 0;
            for (uint32_t &c : counts) {
                c = r.u32();
                sum += c;
            }
            if (sum != total || sum > uint64_t(kMaxPoints))
                break;
            QPainterPath p;
            p.setFillRule(pl.dc.fill);
            const bool closed = type == 8 || type == 91;
            for (uint32_t c : counts) {
                p.addPolygon(emfPoints(r, c, small));
                if (closed)
                    p.closeSubpath();
            }
            pl.shape(p, closed);
            break;
        }
        case 84: { // ExtTextOutW
            r.skip(16 + 4 + 8); // bounds, graphics mode, scales
            const QPointF ref = point();
            const uint32_t chars = r.u32(), offString = r.u32();
            pl.text(ref, utf16Text(rec, size, offString, chars), false);
            break;
        }
        case 81: { // StretchDIBits
            r.skip(16);
            const double dx = r.s32(), dy = r.s32(), sx = r.s32(), sy = r.s32(), sw = r.s32(), sh = r.s32();
            const uint32_t offBmi = r.u32(), cbBmi = r.u32(), offBits = r.u32(), cbBits = r.u32();
            r.skip(8);
            const double dw = r.s32(), dh = r.s32();
            if (r.failed() || offBmi > size || cbBmi > size - offBmi || offBits > size || cbBits > size - offBits
                || offBits < offBmi + cbBmi)
                break;
            QByteArray dib(reinterpret_cast<const char *>(rec + offBmi), cbBmi);
            dib.append(reinterpret_cast<const char *>(rec + offBits), cbBits);
            pl.bitmap(QRectF(dx, dy, dw, dh), QRectF(sx, sy, sw, sh), dib);
            break;
        }
        case 76: case 77: { // BitBlt, StretchBlt
            r.skip(16);
            const double dx = r.s32(), dy = r.s32(), dw = r.s32(), dh = r.s32();
            r.skip(4);
            const double sx = r.s32(), sy = r.s32();
            r.skip(24 + 4 + 4); // transform, background colour, usage
            const uint32_t offBmi = r.u32(), cbBmi = r.u32(), offBits = r.u32(), cbBits = r.u32();
            double sw = dw, sh = dh;
            if (type == 77) {
                sw = r.s32();
                sh = r.s32();
            }
            if (r.failed() || cbBmi == 0 || offBmi > size || cbBmi > size - offBmi || offBits > size
                || cbBits > size - offBits)
                break;
            QByteArray dib(reinterpret_cast<const char *>(rec + offBmi), cbBmi);
            dib.append(reinterpret_cast<const char *>(rec + offBits), cbBits);
            pl.bitmap(QRectF(dx, dy, dw, dh), QRectF(sx, sy, sw, sh), dib);
            break;
        }
        default: break;
        }
    }
}

// A few bytes of drawing can ask for any size: metafiles are rendered up to 8000 x 8000,
// or larger when the file is big enough to hold a bitmap of that size.
QImage blank(QSize s, qsizetype fileBytes)
{
    const long long bound = std::min<long long>(kMaxPixels, std::max<long long>(64'000'000LL, (long long)fileBytes / 2));
    if (s.width() <= 0 || s.height() <= 0 || s.width() > 32767 || s.height() > 32767
        || (long long)s.width() * s.height() > bound)
        throw bad(QStringLiteral("taille %1 x %2").arg(s.width()).arg(s.height()));
    return newWorkingImage(s.width(), s.height(), qRgb(255, 255, 255));
}
} // namespace

QSize metafileSize(const QByteArray &d)
{
    if (isEmf(d))
        return emfPixelSize(emfHeader(d));
    const WmfInfo info = wmfHeader(d);
    if (info.box.isValid() && info.inch > 0)
        return QSize(int(std::lround((info.box.width()) * 96.0 / info.inch)),
                     int(std::lround((info.box.height()) * 96.0 / info.inch)));
    // No placeable header: the window extent of the records gives the size.
    QSize s;
    qsizetype pos = info.recordsAt;
    while (pos + 10 <= d.size()) {
        const uchar *rec = reinterpret_cast<const uchar *>(d.constData()) + pos;
        const qint64 words = le32(rec);
        if (words < 3 || words * 2 > d.size() - pos || le16(rec + 4) == 0)
            break;
        if (le16(rec + 4) == 0x020C)
            s = QSize(std::abs(int16_t(le16(rec + 8))), std::abs(int16_t(le16(rec + 6))));
        pos += words * 2;
    }
    if (!s.isValid() || s.isEmpty())
        throw bad(QStringLiteral("taille inconnue"));
    return s;
}

Picture decodeMetafile(const QByteArray &d)
{
    const QSize size = metafileSize(d);
    QImage img = blank(size, d.size());
    {
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setRenderHint(QPainter::SmoothPixmapTransform, false);
        if (isEmf(d)) {
            const EmfInfo e = emfHeader(d);
            // Reference-device pixels of the frame onto the picture.
            const double pxW = e.millimetres.width() > 0 ? e.device.width() / (e.millimetres.width() * 100.0) : 0;
            const double pxH = e.millimetres.height() > 0 ? e.device.height() / (e.millimetres.height() * 100.0) : 0;
            const double fw = double(e.frame.width()) * pxW;
            const double fh = double(e.frame.height()) * pxH;
            QTransform toImage;
            if (fw > 0 && fh > 0)
                toImage = QTransform(size.width() / fw, 0, 0, size.height() / fh, -double(e.frame.left) * pxW * size.width() / fw,
                                     -double(e.frame.top) * pxH * size.height() / fh);
            else
                toImage = QTransform::fromTranslate(-double(e.bounds.left), -double(e.bounds.top));
            const double pxPerMm = e.millimetres.width() > 0 ? double(e.device.width()) / e.millimetres.width() : 96 / 25.4;
            Player pl(p, toImage, pxPerMm);
            playEmf(d, pl);
        } else {
            const WmfInfo info = wmfHeader(d);
            Player pl(p, QTransform(), 96 / 25.4);
            // The picture is the viewport; the records' window is mapped onto it.
            pl.dc.mapMode = 8;
            pl.dc.vpExt = QSizeF(size);
            if (info.box.isValid()) {
                pl.dc.winOrg = info.box.topLeft();
                pl.dc.winExt = QSizeF(info.box.width(), info.box.height());
            } else {
                pl.dc.winExt = QSizeF(size);
            }
            playWmf(d, info, pl);
        }
    }
    Picture pic = Picture::fromImage(img);
    return pic;
}

} // namespace vermeo::formats
