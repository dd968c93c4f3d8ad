#pragma once
// The PCX graphic: a picture held with its PCX format code, loadable and savable as
// a PCX stream. Registered with the general picture reader under "PCX".
#include "PcxCodec.h"
#include "Picture.h"

#include <QIODevice>
#include <QRect>

class QPainter;

namespace vermeo::formats {

class TPCX {
public:
    // The format follows the screen's colour depth (true colour without a screen).
    TPCX();

    void Draw(QPainter &painter, const QRect &rect) const;
    bool GetEmpty() const { return m_empty; }
    int GetWidth() const { return m_bitmap.width(); }
    int GetHeight() const { return m_bitmap.height(); }
    void SetWidth(int w);
    void SetHeight(int h);
    // Stored-property form: 4-byte little-endian length, then the PCX file.
    void ReadData(QIODevice &in);
    void WriteData(QIODevice &out) const;
    void LoadFromClipboardFormat() {}
    void SaveToClipboardFormat() const {}
    void LoadFromFile(const QString &fileName);
    void LoadFromStream(QIODevice &in);
    void SaveToFile(const QString &fileName) const;
    void SaveToStream(QIODevice &out) const;
    QList<QRgb> GetPalette() const { return m_bitmap.palette; }
    void SetPalette(const QList<QRgb> &p) { m_bitmap.palette = p; }
    void Assign(const TPCX &other);
    void Assign(const Picture &bitmap);
    QImage &GetCanvas() { return m_bitmap.image; }
    uchar *GetScanline(int row);
    void SetFormat(int code);

    int format() const { return m_format; }
    const Picture &bitmap() const { return m_bitmap; }

    // Loads from bytes; throws VermeoError with the reason (the bitmap becomes 0 x 0).
    void loadFromBytes(const QByteArray &pcx);
    QByteArray saveToBytes() const;

private:
    Picture m_bitmap;
    bool m_empty = true;
    int m_format = pcxUnknown;
};

// Gives a picture the given depth, mapping its pixels to the nearest colour of the
// palette (a new one when the picture has none of that size).
void setPictureDepth(Picture &pic, int depth, bool grey = false);

} // namespace vermeo::formats
