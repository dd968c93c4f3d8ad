#include "PictureFiles.h"
#include "BmpCodec.h"
#include "Error.h"
#include "FileAccess.h"
#include "GifCodec.h"
#include "GraphicRegistry.h"
#include "JpegCodec.h"
#include "Metafile.h"
#include "PcxCodec.h"
#include "TPCX.h"
#include "TiffWriter.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageReader>
#include <map>

namespace vermeo::formats {

namespace {
std::map<QString, GraphicDecoder> &registry()
{
    static std::map<QString, GraphicDecoder> table;
    return table;
}

// PNG, TIFF and icons go through Qt's readers, once their declared size is checked
// against what the file could hold.
Picture readWithQt(const QByteArray &bytes, const char *format)
{
    QBuffer buf;
    buf.setData(bytes);
    buf.open(QIODevice::ReadOnly);
    QImageReader reader(&buf, format);
    reader.setAutoTransform(false);
    const QSize size = reader.size();
    if (size.isValid()) {
        const long long pixels = (long long)size.width() * size.height();
        if (size.width() <= 0 || size.height() <= 0 || size.width() > kMaxSide || size.height() > kMaxSide
            || pixels > kMaxPixels || pixels > (long long)bytes.size() * 1100 + (1 << 22))
            throw VermeoError(QStringLiteral("taille refusée (%1 x %2)").arg(size.width()).arg(size.height()));
    }
    QImage img = reader.read();
    if (img.isNull())
        throw VermeoError(QStringLiteral("fichier illisible (%1)").arg(reader.errorString()));
    Picture pic = Picture::fromImage(img);
    if (pic.isNull())
        throw VermeoError(QStringLiteral("mémoire insuffisante"));
    return pic;
}

[[maybe_unused]] const bool builtIns = [] {
    registerGraphicFormat(QStringLiteral("BMP"), decodeBmp);
    registerGraphicFormat(QStringLiteral("JPG"), decodeJpeg);
    registerGraphicFormat(QStringLiteral("JPEG"), decodeJpeg);
    registerGraphicFormat(QStringLiteral("GIF"), decodeGif);
    registerGraphicFormat(QStringLiteral("WMF"), decodeMetafile);
    registerGraphicFormat(QStringLiteral("EMF"), decodeMetafile);
    registerGraphicFormat(QStringLiteral("ICO"), [](const QByteArray &b) { return readWithQt(b, "ICO"); });
    registerGraphicFormat(QStringLiteral("PNG"), [](const QByteArray &b) { return readWithQt(b, "PNG"); });
    registerGraphicFormat(QStringLiteral("TIF"), [](const QByteArray &b) { return readWithQt(b, "TIFF"); });
    registerGraphicFormat(QStringLiteral("TIFF"), [](const QByteArray &b) { return readWithQt(b, "TIFF"); });
    return true;
}();

// The PCX class registers itself from its own file; referencing it here keeps the
// linker from dropping that file from a static library.
[[maybe_unused]] const auto keepPcx = &TPCX::SetFormat;

QString quoted(const QString &fileName) { return QStringLiteral("« %1 »").arg(fileNamePart(fileName)); }
} // namespace

bool registerGraphicFormat(const QString &extension, GraphicDecoder decoder)
{
    registry()[extension.toUpper()] = std::move(decoder);
    return true;
}

GraphicDecoder findGraphicFormat(const QString &extension)
{
    auto it = registry().find(extension.toUpper());
    return it == registry().end() ? GraphicDecoder() : it->second;
}

namespace {
struct NameRule {
    const char *contains;
    FileKind kind;
};

// The first rule whose text the upper-cased name contains gives the kind.
FileKind kindByName(const QString &fileName, std::initializer_list<NameRule> rules, FileKind otherwise)
{
    const QString n = fileName.toUpper();
    for (const NameRule &r : rules)
        if (n.contains(QLatin1String(r.contains)))
            return r.kind;
    return otherwise;
}
} // namespace

FileKind readingKind(const QString &fileName)
{
    return kindByName(fileName,
                      {{".JPG", FileKind::Jpeg}, {".GIF", FileKind::Gif}, {".WMF", FileKind::Wmf},
                       {".EMF", FileKind::Emf}, {".PCX", FileKind::Pcx}},
                      FileKind::General);
}

FileKind batchReadingKind(const QString &fileName)
{
    const FileKind k = readingKind(fileName);
    return k == FileKind::General ? FileKind::Bmp : k;
}

FileKind writingKind(const QString &fileName)
{
    return kindByName(fileName,
                      {{".JPG", FileKind::Jpeg}, {".GIF", FileKind::Gif}, {".WMF", FileKind::Wmf},
                       {".EMF", FileKind::Emf}, {".PCX", FileKind::Pcx}, {".TIF", FileKind::Tiff}},
                      FileKind::Bmp);
}

Picture decodeAs(FileKind kind, const QByteArray &bytes, const QString &fileName)
{
    switch (kind) {
    case FileKind::Jpeg: return decodeJpeg(bytes);
    case FileKind::Gif: return decodeGif(bytes);
    case FileKind::Wmf:
    case FileKind::Emf: return decodeMetafile(bytes);
    case FileKind::Pcx: {
        TPCX pcx;
        pcx.loadFromBytes(bytes);
        return pcx.bitmap();
    }
    case FileKind::Bmp: return decodeBmp(bytes);
    case FileKind::Tiff:
    case FileKind::General: break;
    }
    const QString ext = QFileInfo(fileName).suffix();
    const GraphicDecoder decoder = findGraphicFormat(ext);
    if (!decoder)
        throw VermeoError(ext.isEmpty() ? QStringLiteral("nom sans extension : format inconnu")
                                        : QStringLiteral("format « .%1 » inconnu").arg(ext.toLower()));
    return decoder(bytes);
}

QByteArray encodeAs(FileKind kind, const Picture &pic)
{
    switch (kind) {
    case FileKind::Jpeg: return encodeJpeg(pic, 90);
    case FileKind::Gif: return encodeGif(pic);
    case FileKind::Wmf: return encodeWmf(pic);
    case FileKind::Emf: return encodeEmf(pic);
    case FileKind::Pcx: {
        TPCX pcx;
        pcx.Assign(pic);
        return pcx.saveToBytes();
    }
    case FileKind::Tiff: return encodeTiff(pic);
    case FileKind::Bmp:
    case FileKind::General: break;
    }
    return encodeBmp(pic);
}

namespace {
Picture readAs(FileKind kind, const QString &fileName)
{
    try {
        Picture pic = decodeAs(kind, readWholeFile(fileName), fileName);
        if (pic.isNull())
            throw VermeoError(QStringLiteral("image vide"));
        return pic;
    } catch (const VermeoError &e) {
        throw VermeoError(QStringLiteral("Impossible d'ouvrir %1 : %2.").arg(quoted(fileName), e.message()));
    } catch (const std::bad_alloc &) {
        throw VermeoError(QStringLiteral("Impossible d'ouvrir %1 : mémoire insuffisante.").arg(quoted(fileName)));
    }
}
} // namespace

Picture readPictureFile(const QString &fileName) { return readAs(readingKind(fileName), fileName); }

Picture readByExtension(const QString &fileName) { return readAs(FileKind::General, fileName); }

void writePictureFile(const Picture &pic, const QString &fileName)
{
    try {
        writeFileAtomically(fileName, encodeAs(writingKind(fileName), pic));
    } catch (const VermeoError &e) {
        throw VermeoError(QStringLiteral("Impossible d'enregistrer %1 : %2.").arg(quoted(fileName), e.message()));
    } catch (const std::bad_alloc &) {
        throw VermeoError(QStringLiteral("Impossible d'enregistrer %1 : mémoire insuffisante.").arg(quoted(fileName)));
    }
}

} // namespace vermeo::formats

namespace vermeo {

void LitFichier(Picture &bitmap, const QString &fileName)
{
    bitmap = formats::readAs(formats::batchReadingKind(fileName), fileName);
}

void EcritFichier(const Picture &bitmap, const QString &fileName) { formats::writePictureFile(bitmap, fileName); }

} // namespace vermeo
