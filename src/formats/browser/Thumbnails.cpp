#include "Thumbnails.h"
#include "BmpCodec.h"
#include "Error.h"
#include "FileAccess.h"
#include "JpegCodec.h"
#include "Metafile.h"
#include "PcxCodec.h"
#include "PictureFiles.h"

#include <QFileInfo>
#include <cmath>

namespace vermeo::formats {

namespace {
// The largest whole step that keeps both sides at least as large as the area.
int sampleStep(QSize full, QSize area)
{
    if (full.width() <= area.width() || full.height() <= area.height() || area.isEmpty())
        return 1;
    return std::max(1, std::min(full.width() / area.width(), full.height() / area.height()));
}

// Reads rows in bands and keeps every step-th row and column: the memory is one band
// and the small picture, whatever the file's size.
QImage readSampled(RowReader &reader, QSize area)
{
    const PictureShape &shape = reader.shape();
    const int step = sampleStep({shape.width, shape.height}, area);
    const int ow = (shape.width + step - 1) / step, oh = (shape.height + step - 1) / step;
    QImage out = newWorkingImage(ow, oh);
    const int band = std::min(bandRows(shape.width), shape.height);
    QImage rows = newWorkingImage(shape.width, band);
    const RowsOf<QRgb> src = rowsOf(rows), dst = rowsOf(out);
    for (int y = 0; y < shape.height; y += band) {
        const int n = std::min(band, shape.height - y);
        reader.readRows(src, n);
        for (int i = 0; i < n; ++i) {
            if ((y + i) % step)
                continue;
            const QRgb *s = src[i];
            QRgb *d = dst[(y + i) / step];
            for (int x = 0; x < ow; ++x)
                d[x] = s[x * step];
        }
    }
    return out;
}

Thumbnail readThumbnailOf(const QString &fileName, QSize area)
{
    const QString ext = QFileInfo(fileName).suffix().toUpper();
    Thumbnail t;
    if (ext == QLatin1String("JPG") || ext == QLatin1String("JPEG")) {
        t.image = decodeJpegReduced(readWholeFile(fileName), area, &t.fullSize).image;
        return t;
    }
    if (ext == QLatin1String("WMF") || ext == QLatin1String("EMF")) {
        const QByteArray bytes = readWholeFile(fileName);
        if (bytes.isEmpty())
            throw VermeoError(QStringLiteral("fichier vide"));
        t.image = decodeMetafileReduced(bytes, area, &t.fullSize).image;
        return t;
    }
    if (ext == QLatin1String("BMP") || ext == QLatin1String("PCX")) {
        auto source = std::make_shared<FileSource>(fileName);
        // Compressed bitmaps have no band reader: the general reader takes them.
        if (auto reader = ext == QLatin1String("BMP") ? bmpReader(source) : pcxReader(source)) {
            t.fullSize = QSize(reader->shape().width, reader->shape().height);
            t.image = readSampled(*reader, area);
            return t;
        }
    }
    const Picture pic = readByExtension(fileName);
    t.fullSize = pic.image.size();
    t.image = pic.image;
    return t;
}
} // namespace

Thumbnail readThumbnail(const QString &fileName, QSize area)
{
    try {
        return readThumbnailOf(fileName, area);
    } catch (const VermeoError &e) {
        // The general reader names the file already.
        if (e.message().startsWith(QStringLiteral("Impossible")))
            throw;
        throw VermeoError(QStringLiteral("Impossible d'ouvrir « %1 » : %2.").arg(fileNamePart(fileName), e.message()));
    } catch (const std::bad_alloc &) {
        throw VermeoError(
            QStringLiteral("Impossible d'ouvrir « %1 » : mémoire insuffisante.").arg(fileNamePart(fileName)));
    }
}

CellFit fitInCell(QSize picture, QSize panel)
{
    // The picture's area leaves the 16 pixels of the file name and a one-pixel gap under it.
    CellFit fit;
    const QRect area(1, 1, panel.width() - 2, panel.height() - 18);
    fit.view = area;
    if (picture.isEmpty() || (picture.width() <= area.width() && picture.height() <= area.height()))
        return fit; // its own size, centred
    // Larger one way or both: the whole picture, as large as the area lets it be, in its shape.
    const double s = std::min(double(area.width()) / picture.width(), double(area.height()) / picture.height());
    const QSize size(std::max(1, int(std::lround(picture.width() * s))),
                     std::max(1, int(std::lround(picture.height() * s))));
    fit.stretch = true;
    fit.view = QRect(
        QPoint(area.x() + (area.width() - size.width()) / 2, area.y() + (area.height() - size.height()) / 2), size);
    return fit;
}

} // namespace vermeo::formats
