#include "TPCX.h"
#include "ByteIO.h"
#include "Error.h"
#include "FileAccess.h"
#include "GraphicRegistry.h"
#include "PaletteIndex.h"
#include "PixelRows.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

namespace vermeo::formats {

namespace {
int formatForDepth(int depth)
{
    switch (depth) {
    case 1: return pcxMonoPalette;
    case 4: return pcx16Palette;
    case 8: return pcx256Palette;
    case 15:
    case 16:
    case 24:
    case 32: return pcxTrueColour;
    default: return pcxUnknown;
    }
}

QList<QRgb> greyPalette(int depth)
{
    QList<QRgb> p;
    const int n = 1 << depth;
    for (int i = 0; i < n; ++i) {
        const int v = depth == 1 ? 255 * i : depth == 4 ? 16 * i : i;
        p.append(qRgb(v, v, v));
    }
    return p;
}

[[maybe_unused]] const bool registered = registerGraphicFormat(QStringLiteral("PCX"), [](const QByteArray &bytes) {
    TPCX pcx;
    pcx.loadFromBytes(bytes);
    return pcx.bitmap();
});
} // namespace

void setPictureDepth(Picture &pic, int depth, bool grey)
{
    if (depth != 1 && depth != 4 && depth != 8) {
        pic.depth = depth;
        pic.palette.clear();
        return;
    }
    if (pic.depth == depth && pic.palette.size() >= (1 << depth) && !grey)
        return;
    QList<QRgb> palette;
    if (grey) {
        palette = greyPalette(depth);
    } else if (!pic.palette.isEmpty() && pic.palette.size() <= (1 << depth)) {
        palette = fullPalette(pic.palette, depth);
    } else if (depth == 1) {
        palette = {qRgb(0, 0, 0), qRgb(255, 255, 255)};
    } else if (!pic.isNull()) {
        // Qt builds a palette of the picture's own colours (at most 256).
        QImage ix = pic.image.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither);
        palette = ix.colorTable();
        if (palette.size() > (1 << depth))
            palette = greyPalette(depth); // no faithful 16-colour palette to be had cheaply
        palette = fullPalette(palette, depth);
    } else {
        palette = greyPalette(depth);
    }
    PaletteIndex index(palette);
    for (int y = 0; y < pic.height(); ++y) {
        QRgb *row = rowOf(pic.image, y);
        for (int x = 0; x < pic.width(); ++x)
            row[x] = palette[index.indexOf(row[x])];
    }
    pic.depth = depth;
    pic.palette = palette;
}

TPCX::TPCX()
{
    const QScreen *screen = qGuiApp ? QGuiApplication::primaryScreen() : nullptr;
    m_format = formatForDepth(screen ? screen->depth() : 32);
}

void TPCX::Draw(QPainter &painter, const QRect &rect) const
{
    if (!m_empty)
        painter.drawImage(rect, m_bitmap.image);
}

void TPCX::SetWidth(int w)
{
    const int h = m_bitmap.height();
    m_bitmap.image = w > 0 && h > 0 ? newWorkingImage(w, h, qRgb(255, 255, 255)) : QImage();
    m_empty = !(w > 0 && h > 0 && m_format < pcxPlanar);
}

void TPCX::SetHeight(int h)
{
    const int w = m_bitmap.width();
    m_bitmap.image = w > 0 && h > 0 ? newWorkingImage(w, h, qRgb(255, 255, 255)) : QImage();
    m_empty = !(w > 0 && h > 0 && m_format < pcxPlanar);
}

void TPCX::ReadData(QIODevice &in)
{
    const QByteArray len = in.read(4);
    if (len.size() != 4)
        throw VermeoError(QStringLiteral("données PCX tronquées"));
    const qint64 n = le32(bytesOf(len));
    if (n > in.bytesAvailable() && !in.isSequential())
        throw VermeoError(QStringLiteral("données PCX tronquées"));
    const QByteArray data = in.read(n);
    if (data.size() != n)
        throw VermeoError(QStringLiteral("données PCX tronquées"));
    loadFromBytes(data);
}

void TPCX::WriteData(QIODevice &out) const
{
    const QByteArray data = saveToBytes();
    QByteArray len;
    ByteWriter(len).u32(uint32_t(data.size()));
    out.write(len);
    out.write(data);
}

void TPCX::LoadFromFile(const QString &fileName) { loadFromBytes(readWholeFile(fileName)); }

void TPCX::LoadFromStream(QIODevice &in) { loadFromBytes(in.readAll()); }

void TPCX::SaveToFile(const QString &fileName) const { writeFileAtomically(fileName, saveToBytes()); }

void TPCX::SaveToStream(QIODevice &out) const
{
    const QByteArray data = saveToBytes();
    if (out.write(data) != data.size())
        throw VermeoError(QStringLiteral("erreur d'écriture (%1)").arg(out.errorString()));
}

void TPCX::Assign(const TPCX &other)
{
    m_empty = other.m_empty;
    m_bitmap = other.m_bitmap;
    m_format = other.m_format;
}

void TPCX::Assign(const Picture &bitmap)
{
    m_bitmap = bitmap;
    m_empty = bitmap.width() == 0 || bitmap.height() == 0;
    SetFormat(formatForDepth(bitmap.depth));
}

uchar *TPCX::GetScanline(int row)
{
    if (row < 0 || row >= m_bitmap.height())
        throw VermeoError(QStringLiteral("ligne %1 hors de l'image").arg(row));
    return m_bitmap.image.scanLine(row);
}

void TPCX::SetFormat(int code)
{
    m_format = code;
    if (code > pcxTrueColour)
        m_empty = true;
    else if (!m_bitmap.isNull())
        m_empty = false;
    switch (code) {
    case pcxMonoPalette: setPictureDepth(m_bitmap, 1); break;
    case pcxMonoGrey: setPictureDepth(m_bitmap, 1, true); break;
    case pcx16Palette: setPictureDepth(m_bitmap, 4); break;
    case pcx16Grey: setPictureDepth(m_bitmap, 4, true); break;
    case pcx256Palette: setPictureDepth(m_bitmap, 8); break;
    case pcx256Grey: setPictureDepth(m_bitmap, 8, true); break;
    case pcxTrueColour:
        if (m_bitmap.depth <= 8)
            setPictureDepth(m_bitmap, 24);
        break;
    default: break;
    }
}

void TPCX::loadFromBytes(const QByteArray &pcx)
{
    try {
        int code = pcxUnknown;
        Picture p = decodePcx(pcx, &code);
        m_bitmap = std::move(p);
        m_format = code;
        m_empty = false;
    } catch (...) {
        m_bitmap = Picture();
        m_empty = true;
        throw;
    }
}

QByteArray TPCX::saveToBytes() const
{
    if (m_empty || m_bitmap.isNull())
        throw VermeoError(QStringLiteral("image PCX vide"));
    return encodePcx(m_bitmap);
}

} // namespace vermeo::formats
