#pragma once
// PCX files, decoded and encoded a line at a time straight between the file and the
// working picture. Besides the layouts of the classic codec, files of 2, 3 or 4 planes
// of 1 bit (the EGA layout), 2-bit packed files, 4 planes of 8 bits (RGBA) and
// uncompressed files (encoding 0) are read; the writer keeps to the classic layouts.
#include "Picture.h"
#include "RowStream.h"

#include <QByteArray>
#include <QString>

namespace vermeo::formats {

// Format codes reported by the decoder (and held by TPCX).
enum PcxFormat : int {
    pcxMonoPalette = 0,
    pcxMonoGrey = 1,
    pcx16Palette = 2,
    pcx16Grey = 3,
    pcx256Palette = 4,
    pcx256Grey = 5,
    pcxTrueColour = 6,
    pcxPlanar = 7,
    pcxUnknown = 8
};

// A band reader; throws VermeoError (French reason) when the header is refused or the
// palette block is missing, and while reading when the data end early.
std::unique_ptr<RowReader> pcxReader(std::shared_ptr<ByteSource> source, int *format = nullptr);
// 1-, 4- and 8-bit pictures keep their depth, the others are written as 24-bit true
// colour (three planes).
std::unique_ptr<RowWriter> pcxWriter(ByteSink &sink, const PictureShape &shape);

// One run of n bytes of value v, as the encoder writes it (exposed for its tests).
void pcxEmitRun(QByteArray &out, int n, uchar v);

// Data that end before the last line are an error ("fichier tronqué") unless truncated
// is given: then the lines read are kept, the others left white, and *truncated set.
Picture decodePcx(const QByteArray &pcx, int *format = nullptr, bool *truncated = nullptr);
// Size, depth and palette, with the coded data walked to their end but no pixel made;
// refused and "fichier tronqué" as readPcx would say.
PictureShape pcxFileShape(std::shared_ptr<ByteSource> source);
Picture readPcx(std::shared_ptr<ByteSource> source, int *format = nullptr, bool *truncated = nullptr);
QByteArray encodePcx(const Picture &pic);

// The reading function: true on success; on failure the target is left as it was
// and why (when given) receives the reason.
bool ReadPcxFile(const QString &fileName, Picture &target, int *format = nullptr, QString *why = nullptr);

} // namespace vermeo::formats
