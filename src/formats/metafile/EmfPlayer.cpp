#include "ByteIO.h"
#include "MetafilePlayer.h"
#include "MetafileRecords.h"

#include <QPainterPath>
#include <cmath>
#include <cstring>
#include <vector>

// The enhanced metafile (EMF) player: its header, its size and its records, by group.
namespace vermeo::formats::metafile {

namespace {
// Corners as the file gives them, widened so that damaged values cannot overflow.
struct Box {
    qint64 left = 0, top = 0, right = 0, bottom = 0;
    qint64 width() const { return right - left; }
    qint64 height() const { return bottom - top; }
};

struct EmfInfo {
    Box bounds; // device pixels, inclusive
    Box frame;  // 0.01 mm
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
    if (e.device.width() > 0 && e.device.height() > 0 && e.millimetres.width() > 0 && e.millimetres.height() > 0 &&
        e.frame.width() > 0 && e.frame.height() > 0) {
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

// One record: its type, its bytes and a reader over its parameters.
struct EmfRecordView {
    uint32_t type;
    const uchar *rec;
    qint64 size;
    ByteReader r;
    QPointF point()
    {
        const double x = r.s32();
        const double y = r.s32();
        return QPointF(x, y);
    }
    QRectF rect()
    {
        const double l = r.s32(), t = r.s32(), rt = r.s32(), b = r.s32();
        return QRectF(QPointF(l, t), QPointF(rt, b)).normalized();
    }
};

// Mapping, colours, modes, paths and saved states.
bool playStateRecord(EmfRecordView &v, Player &pl)
{
    const uint32_t type = v.type;
    ByteReader &r = v.r;
    switch (type) {
    case EMR_SETWINDOWEXTEX: {
        const double w = r.s32(), h = r.s32();
        pl.dc.winExt = {w, h};
        break;
    }
    case EMR_SETWINDOWORGEX: pl.dc.winOrg = v.point(); break;
    case EMR_SETVIEWPORTEXTEX: {
        const double w = r.s32(), h = r.s32();
        pl.dc.vpExt = {w, h};
        break;
    }
    case EMR_SETVIEWPORTORGEX: pl.dc.vpOrg = v.point(); break;
    case EMR_SETMAPMODE: pl.dc.mapMode = int(r.u32()); break;
    case EMR_SETBKMODE: pl.dc.opaqueBk = r.u32() == 2; break;
    case EMR_SETPOLYFILLMODE: pl.dc.fill = r.u32() == 2 ? Qt::WindingFill : Qt::OddEvenFill; break;
    case EMR_SETTEXTALIGN: pl.dc.textAlign = r.u32(); break;
    case EMR_SETTEXTCOLOR: pl.dc.textColour = toQColor(r.u32()); break;
    case EMR_SETBKCOLOR: pl.dc.bkColour = toQColor(r.u32()); break;
    case EMR_MOVETOEX:
        pl.dc.position = v.point();
        if (pl.inPath)
            pl.path.moveTo(pl.dc.position);
        break;
    case EMR_BEGINPATH:
        pl.inPath = true;
        pl.path = QPainterPath();
        pl.path.setFillRule(pl.dc.fill);
        break;
    case EMR_ENDPATH: pl.inPath = false; break;
    case EMR_CLOSEFIGURE:
        if (pl.inPath)
            pl.path.closeSubpath();
        break;
    case EMR_ABORTPATH:
        pl.inPath = false;
        pl.path = QPainterPath();
        break;
    case EMR_FILLPATH:
    case EMR_STROKEANDFILLPATH:
    case EMR_STROKEPATH: // fill, stroke and fill, stroke the path
        pl.inPath = false;
        pl.path.setFillRule(pl.dc.fill);
        pl.drawPath(pl.path, type != EMR_STROKEPATH, type != EMR_FILLPATH);
        pl.path = QPainterPath();
        break;
    case EMR_SAVEDC: pl.save(); break;
    case EMR_RESTOREDC: pl.restore(r.s32()); break;
    case EMR_SETWORLDTRANSFORM:
    case EMR_MODIFYWORLDTRANSFORM: { // world transform
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
        const uint32_t mode = type == EMR_MODIFYWORLDTRANSFORM ? r.u32() : 4;
        if (mode == 1)
            pl.dc.world = QTransform();
        else if (mode == 2)
            pl.dc.world = t * pl.dc.world;
        else if (mode == 3)
            pl.dc.world = pl.dc.world * t;
        else
            pl.dc.world = t;
        break;
    }
    default: return false;
    }
    return true;
}

// Pens, brushes and fonts: made, chosen and deleted.
bool playObjectRecord(EmfRecordView &v, Player &pl)
{
    const uint32_t type = v.type;
    ByteReader &r = v.r;
    switch (type) {
    case EMR_SELECTOBJECT: {
        const uint32_t i = r.u32();
        if (i & 0x80000000u)
            pl.select(stockObject(i));
        else if (i < pl.objects.size())
            pl.select(pl.objects[i]);
        break;
    }
    case EMR_CREATEPEN: { // CreatePen
        const uint32_t i = r.u32();
        const uint32_t style = r.u32();
        const int width = r.s32();
        r.skip(4);
        GdiObject o;
        o.kind = GdiObject::Pen;
        o.pen = makePen(int(style), width, r.u32());
        if (!r.failed())
            emfObject(pl, i, o);
        break;
    }
    case EMR_EXTCREATEPEN: { // ExtCreatePen
        const uint32_t i = r.u32();
        r.skip(16);
        const uint32_t style = r.u32();
        const uint32_t width = r.u32();
        r.skip(4);
        GdiObject o;
        o.kind = GdiObject::Pen;
        o.pen = makePen(int(style), width, r.u32());
        if (!r.failed())
            emfObject(pl, i, o);
        break;
    }
    case EMR_CREATEBRUSHINDIRECT: {
        const uint32_t i = r.u32();
        const uint32_t style = r.u32(), colour = r.u32(), hatch = r.u32();
        GdiObject o;
        o.kind = GdiObject::Brush;
        o.brush = makeBrush(int(style), colour, int(hatch));
        if (!r.failed())
            emfObject(pl, i, o);
        break;
    }
    case EMR_EXTCREATEFONTINDIRECTW: { // ExtCreateFontIndirectW
        const uint32_t i = r.u32();
        GdiObject o;
        o.kind = GdiObject::Font;
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
    case EMR_DELETEOBJECT: {
        const uint32_t i = r.u32();
        if (i < pl.objects.size())
            pl.objects[i] = GdiObject{};
        break;
    }
    default: return false;
    }
    return true;
}

// Lines, rectangles, ellipses, polygons and curves.
bool playShapeRecord(EmfRecordView &v, Player &pl)
{
    const uint32_t type = v.type;
    ByteReader &r = v.r;
    switch (type) {
    case EMR_ELLIPSE:
    case EMR_RECTANGLE: {
        const QRectF rc = v.rect();
        QPainterPath p;
        if (type == EMR_RECTANGLE)
            p.addRect(rc);
        else
            p.addEllipse(rc);
        pl.shape(p, true);
        break;
    }
    case EMR_ROUNDRECT: {
        const QRectF rc = v.rect();
        const double ew = r.s32(), eh = r.s32();
        QPainterPath p;
        p.addRoundedRect(rc, ew / 2, eh / 2);
        pl.shape(p, true);
        break;
    }
    case EMR_LINETO: {
        const QPointF to = v.point();
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
    case EMR_POLYGON:
    case EMR_POLYLINE:
    case EMR_POLYLINETO:
    case EMR_POLYGON16:
    case EMR_POLYLINE16:
    case EMR_POLYLINETO16:
    case EMR_POLYBEZIER:
    case EMR_POLYBEZIER16:
    case EMR_POLYBEZIERTO:
    case EMR_POLYBEZIERTO16: { // polygons, lines, Béziers
        const bool small = type >= EMR_POLYBEZIER16;
        r.skip(16);
        const uint32_t n = r.u32();
        const QPolygonF poly = emfPoints(r, n, small);
        if (poly.isEmpty())
            break;
        QPainterPath p;
        p.setFillRule(pl.dc.fill);
        const bool lineTo = type == EMR_POLYLINETO || type == EMR_POLYLINETO16;
        const bool bezier = type == EMR_POLYBEZIER || type == EMR_POLYBEZIER16;
        const bool bezierTo = type == EMR_POLYBEZIERTO || type == EMR_POLYBEZIERTO16;
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
        const bool closed = type == EMR_POLYGON || type == EMR_POLYGON16;
        if (closed)
            p.closeSubpath();
        pl.shape(p, closed);
        break;
    }
    case EMR_POLYPOLYLINE:
    case EMR_POLYPOLYGON:
    case EMR_POLYPOLYLINE16:
    case EMR_POLYPOLYGON16: { // poly-polylines and poly-polygons
        const bool small = type >= EMR_POLYPOLYLINE16;
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
        const bool closed = type == EMR_POLYPOLYGON || type == EMR_POLYPOLYGON16;
        for (uint32_t c : counts) {
            p.addPolygon(emfPoints(r, c, small));
            if (closed)
                p.closeSubpath();
        }
        pl.shape(p, closed);
        break;
    }
    default: return false;
    }
    return true;
}

// Text and bitmaps.
bool playPictureRecord(EmfRecordView &v, Player &pl)
{
    const uint32_t type = v.type;
    const uchar *rec = v.rec;
    const qint64 size = v.size;
    ByteReader &r = v.r;
    switch (type) {
    case EMR_EXTTEXTOUTW: { // ExtTextOutW
        r.skip(16 + 4 + 8); // bounds, graphics mode, scales
        const QPointF ref = v.point();
        const uint32_t chars = r.u32(), offString = r.u32();
        pl.text(ref, utf16Text(rec, size, offString, chars), false);
        break;
    }
    case EMR_STRETCHDIBITS: { // StretchDIBits
        r.skip(16);
        const double dx = r.s32(), dy = r.s32(), sx = r.s32(), sy = r.s32(), sw = r.s32(), sh = r.s32();
        const uint32_t offBmi = r.u32(), cbBmi = r.u32(), offBits = r.u32(), cbBits = r.u32();
        r.skip(8);
        const double dw = r.s32(), dh = r.s32();
        if (r.failed() || offBmi > size || cbBmi > size - offBmi || offBits > size || cbBits > size - offBits ||
            offBits < offBmi + cbBmi)
            break;
        QByteArray dib(charsOf(rec + offBmi), cbBmi);
        dib.append(charsOf(rec + offBits), cbBits);
        pl.bitmap(QRectF(dx, dy, dw, dh), QRectF(sx, sy, sw, sh), dib);
        break;
    }
    case EMR_BITBLT:
    case EMR_STRETCHBLT: { // BitBlt, StretchBlt
        r.skip(16);
        const double dx = r.s32(), dy = r.s32(), dw = r.s32(), dh = r.s32();
        r.skip(4);
        const double sx = r.s32(), sy = r.s32();
        r.skip(24 + 4 + 4); // transform, background colour, usage
        const uint32_t offBmi = r.u32(), cbBmi = r.u32(), offBits = r.u32(), cbBits = r.u32();
        double sw = dw, sh = dh;
        if (type == EMR_STRETCHBLT) {
            sw = r.s32();
            sh = r.s32();
        }
        if (r.failed() || cbBmi == 0 || offBmi > size || cbBmi > size - offBmi || offBits > size ||
            cbBits > size - offBits)
            break;
        QByteArray dib(charsOf(rec + offBmi), cbBmi);
        dib.append(charsOf(rec + offBits), cbBits);
        pl.bitmap(QRectF(dx, dy, dw, dh), QRectF(sx, sy, sw, sh), dib);
        break;
    }
    default: return false;
    }
    return true;
}
} // namespace

bool isEmf(const QByteArray &d)
{
    return d.size() >= 88 && le32(bytesOf(d)) == EMR_HEADER && le32(bytesOf(d) + 40) == kEmfSignature;
}

QSize emfSize(const QByteArray &d) { return emfPixelSize(emfHeader(d)); }

void playEmf(const QByteArray &d, QPainter &p, QSize size, const QTransform &toPicture)
{
    const EmfInfo e = emfHeader(d);
    // Reference-device pixels of the frame onto the picture.
    const double pxW = e.millimetres.width() > 0 ? e.device.width() / (e.millimetres.width() * 100.0) : 0;
    const double pxH = e.millimetres.height() > 0 ? e.device.height() / (e.millimetres.height() * 100.0) : 0;
    const double fw = double(e.frame.width()) * pxW;
    const double fh = double(e.frame.height()) * pxH;
    QTransform toImage;
    if (fw > 0 && fh > 0)
        toImage =
            QTransform(size.width() / fw, 0, 0, size.height() / fh, -double(e.frame.left) * pxW * size.width() / fw,
                       -double(e.frame.top) * pxH * size.height() / fh);
    else
        toImage = QTransform::fromTranslate(-double(e.bounds.left), -double(e.bounds.top));
    const double pxPerMm = e.millimetres.width() > 0 ? double(e.device.width()) / e.millimetres.width() : 96 / 25.4;
    Player pl(p, toImage * toPicture, pxPerMm);
    pl.setPaintBudget(paintBudget(size, d.size()));
    qsizetype pos = 0;
    while (pos + 8 <= d.size() && !pl.budgetSpent()) {
        const uchar *rec = bytesOf(d) + pos;
        const uint32_t type = le32(rec);
        const qint64 size = le32(rec + 4);
        if (size < 8 || size > d.size() - pos || (size & 3))
            break;
        pos += size;
        if (type == EMR_EOF)
            return;
        EmfRecordView v{type, rec, size, ByteReader(rec + 8, size - 8)};
        // Records that real drawings rarely need are skipped.
        playStateRecord(v, pl) || playObjectRecord(v, pl) || playShapeRecord(v, pl) || playPictureRecord(v, pl);
    }
}

} // namespace vermeo::formats::metafile
