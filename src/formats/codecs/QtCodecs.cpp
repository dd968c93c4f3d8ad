#include "QtCodecs.h"
#include "ByteIO.h"
#include "ColourProfile.h"
#include "Error.h"
#include "FormatsLog.h"
#include "Orientation.h"
#include "PaletteIndex.h"
#include "PhotoMetadata.h"
#include "PixelRows.h"

#include <QBuffer>
#include <QColorSpace>
#include <QImageReader>

namespace vermeo::formats {

namespace {
// Qt refuses images above 128 MB by default; ours may be up to kMaxPixels, and a
// 16-bit-per-channel file is decoded at 8 bytes a pixel before we convert it.
void raiseAllocationLimit()
{
    static const bool done = [] {
        QImageReader::setAllocationLimit(int(kMaxPixels * 8 / (1024 * 1024)));
        return true;
    }();
    (void)done;
}

// The icon entry with the largest area, then the most bits per pixel.
int bestIconEntry(const QByteArray &bytes)
{
    ByteReader r(bytes);
    r.skip(4);
    const int count = r.u16();
    int best = -1;
    long long bestArea = -1;
    int bestBits = -1;
    for (int i = 0; i < count && r.has(16); ++i) {
        const int w = r.u8(), h = r.u8(), colours = r.u8();
        r.skip(3);
        int bits = r.u16();
        r.skip(8);
        if (bits == 0)
            bits = colours == 0 ? 8 : colours <= 2 ? 1 : colours <= 16 ? 4 : 8;
        const long long area = (long long)(w ? w : 256) * (h ? h : 256);
        if (area > bestArea || (area == bestArea && bits > bestBits)) {
            best = i;
            bestArea = area;
            bestBits = bits;
        }
    }
    return best;
}

QString frenchReason(QImageReader::ImageReaderError error)
{
    switch (error) {
    case QImageReader::UnsupportedFormatError: return QStringLiteral("format non reconnu");
    case QImageReader::DeviceError: return QStringLiteral("erreur de lecture");
    default: return QStringLiteral("données invalides");
    }
}
} // namespace

QImage decodeWithQt(const QByteArray &bytes, const char *format, const QString &formatName)
{
    raiseAllocationLimit();
    auto bad = [&formatName](const QString &why) {
        return VermeoError(QStringLiteral("fichier %1 endommagé (%2)").arg(formatName, why));
    };
    QBuffer buf;
    buf.setData(bytes);
    buf.open(QIODevice::ReadOnly);
    QImageReader reader(&buf, format);
    reader.setAutoTransform(false);
    if (qstrcmp(format, "ICO") == 0) {
        const int entry = bestIconEntry(bytes);
        if (entry > 0 && !reader.jumpToImage(entry))
            throw bad(QStringLiteral("entrée %1 illisible").arg(entry + 1));
    }
    const QSize size = reader.size();
    if (size.isValid()) {
        const long long pixels = (long long)size.width() * size.height();
        if (!isHoldableSize(size.width(), size.height()) || pixels > (long long)bytes.size() * 1100 + (1 << 22))
            throw VermeoError(QStringLiteral("fichier %1 refusé (taille %2 x %3)")
                                  .arg(formatName)
                                  .arg(size.width())
                                  .arg(size.height()));
    }
    QImage img = reader.read();
    if (img.isNull()) {
        qCInfo(lcFormats) << "Qt" << format << reader.errorString();
        throw bad(frenchReason(reader.error()));
    }
    return img;
}

namespace {
// PNG and TIFF say how they are to be shown; we read that ourselves, so that every
// profile LittleCMS knows is honoured (Qt drops those it cannot model).
TiffFileTags lookOf(const QByteArray &bytes, const char *format)
{
    if (qstrcmp(format, "PNG") == 0)
        return {1, pngIccProfile(bytes)};
    if (qstrcmp(format, "TIFF") == 0)
        return tiffFileTags(bytes);
    return {};
}

bool isGrey(QImage::Format f) { return f == QImage::Format_Grayscale8 || f == QImage::Format_Grayscale16; }
} // namespace

Picture pictureWithQt(const QByteArray &bytes, const char *format, const QString &formatName)
{
    const QImage img = decodeWithQt(bytes, format, formatName);
    Picture pic;
    pic.image = toWorkingImage(img);
    if (pic.image.isNull())
        throw VermeoError(QStringLiteral("mémoire insuffisante"));
    if (img.format() == QImage::Format_Mono || img.format() == QImage::Format_MonoLSB ||
        img.format() == QImage::Format_Indexed8) {
        pic.depth = img.depth() == 1 ? 1 : 8;
        pic.palette = fullPalette(img.colorTable(), pic.depth);
    }
    const TiffFileTags look = lookOf(bytes, format);
    // A grey palette is still grey: its colours are converted as the pixels are, so the
    // pixels keep to the palette.
    const bool grey = isGrey(img.format()) || (!pic.palette.isEmpty() && img.isGrayscale());
    if (auto colour =
            SrgbConversion::fromIcc(look.iccProfile, grey ? ProfilePixels::GreyWorking : ProfilePixels::Working)) {
        colour->convertPicture(pic.image);
        colour->convertRow(pic.palette.data(), pic.palette.data(), int(pic.palette.size()));
    }
    pic.image = uprightImage(pic.image, look.orientation);
    // The pixels are sRGB now: the file's colour space must not follow them (Qt's PNG
    // writer would embed it again).
    if (pic.image.colorSpace().isValid())
        pic.image.setColorSpace(QColorSpace());
    return pic;
}

} // namespace vermeo::formats
