#pragma once
// PCX files. The codec transcodes between a PCX byte stream and the byte image of an
// uncompressed Windows bitmap, which the bitmap reader and writer then handle.
#include "Picture.h"

#include <QByteArray>
#include <QString>

namespace vermeo::formats {

// Format codes reported by the decoder (and held by TPCX).
enum PcxFormat : int {
    pcxMonoPalette = 0, pcxMonoGrey = 1, pcx16Palette = 2, pcx16Grey = 3,
    pcx256Palette = 4, pcx256Grey = 5, pcxTrueColour = 6, pcxPlanar = 7, pcxUnknown = 8
};

// PCX stream -> BMP image. Throws VermeoError (French reason) when the header is
// refused, the palette block is missing, or the data ends early.
QByteArray pcxToBmp(const QByteArray &pcx, int *format = nullptr);

// BMP image -> PCX stream. Refuses (throws) anything but an uncompressed 1-, 4-, 8- or
// 24-bit bitmap.
QByteArray bmpToPcx(const QByteArray &bmp);

// One run of n bytes of value v, as the encoder writes it (exposed for its tests).
void pcxEmitRun(QByteArray &out, int n, uchar v);

// Decodes a PCX stream into a picture; throws VermeoError on failure.
Picture decodePcx(const QByteArray &pcx, int *format = nullptr);
// Encodes a picture as PCX: 1-, 4- and 8-bit pictures keep their depth, the others
// are written as 24-bit true colour.
QByteArray encodePcx(const Picture &pic);

// The reading function: true on success; on failure the target is left as it was
// and why (when given) receives the reason.
bool ReadPcxFile(const QString &fileName, Picture &target, int *format = nullptr, QString *why = nullptr);

} // namespace vermeo::formats
