// Picture files through Qt's own image readers and writers, enough for BMP. The
// program's codecs (BMP in the bitmap's own depth, PCX, TIFF, GIF, JPEG) replace this.
#include "PictureFiles.h"
#include "Error.h"

#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>

namespace vermeo::formats {

Picture readPictureFile(const QString &fileName)
{
    if (!QFileInfo::exists(fileName))
        throw VermeoError(QStringLiteral("Le fichier %1 n'existe pas.").arg(fileName));
    QImageReader reader(fileName);
    const QSize size = reader.size();
    if (size.isValid() && (size.width() > kMaxSide || size.height() > kMaxSide ||
                           (long long)size.width() * size.height() > kMaxPixels))
        throw VermeoError(QStringLiteral("Image trop grande : %1 x %2.").arg(size.width()).arg(size.height()));
    const QImage img = reader.read();
    if (img.isNull())
        throw VermeoError(QStringLiteral("Impossible de lire l'image %1.").arg(fileName));
    if (img.depth() <= 8 && !img.colorTable().isEmpty())
        return Picture::withPalette(img, img.depth() == 1 ? 1 : 8, img.colorTable());
    return Picture::fromImage(img);
}

void writePictureFile(const Picture &picture, const QString &fileName)
{
    if (picture.isNull())
        throw VermeoError(QStringLiteral("Aucune image à enregistrer."));
    const QByteArray format = QFileInfo(fileName).suffix().toLower().toLatin1();
    QImage out = picture.image;
    if (picture.depth == 1)
        out = out.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither);
    // Written beside the target and renamed over it, so a failed write keeps the old file.
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw VermeoError(QStringLiteral("Impossible de créer le fichier %1.").arg(fileName));
    QImageWriter writer(&file, format.isEmpty() ? QByteArray("bmp") : format);
    if (!writer.write(out))
        throw VermeoError(QStringLiteral("Impossible d'écrire l'image %1.").arg(fileName));
    if (!file.commit())
        throw VermeoError(QStringLiteral("Impossible d'écrire le fichier %1.").arg(fileName));
}

} // namespace vermeo::formats
