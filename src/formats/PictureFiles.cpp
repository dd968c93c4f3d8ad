#include "PictureFiles.h"
#include "BmpCodec.h"
#include "Error.h"
#include "FileAccess.h"
#include "FormatsLog.h"
#include "GifCodec.h"
#include "GraphicRegistry.h"
#include "HeifCodec.h"
#include "JpegCodec.h"
#include "MappedFile.h"
#include "Metafile.h"
#include "PaletteFit.h"
#include "PcxCodec.h"
#include "PngWriter.h"
#include "QtCodecs.h"
#include "TPCX.h"
#include "TiffWriter.h"
#include "WebpCodec.h"

#include <QFileInfo>
#include <map>

namespace vermeo::formats {

namespace {
std::map<QString, GraphicDecoder> &registry()
{
    static std::map<QString, GraphicDecoder> table;
    return table;
}

GraphicDecoder withQt(const char *format, const char *name)
{
    return [format, name](const QByteArray &b) { return pictureWithQt(b, format, QLatin1String(name)); };
}

[[maybe_unused]] const bool builtIns = [] {
    registerGraphicFormat(QStringLiteral("BMP"), [](const QByteArray &b) { return decodeBmp(b); });
    registerGraphicFormat(QStringLiteral("JPG"), [](const QByteArray &b) { return decodeJpeg(b); });
    registerGraphicFormat(QStringLiteral("JPEG"), [](const QByteArray &b) { return decodeJpeg(b); });
    registerGraphicFormat(QStringLiteral("GIF"), [](const QByteArray &b) { return decodeGif(b); });
    registerGraphicFormat(QStringLiteral("WMF"), decodeMetafile);
    registerGraphicFormat(QStringLiteral("EMF"), decodeMetafile);
    registerGraphicFormat(QStringLiteral("ICO"), withQt("ICO", "ICO"));
    registerGraphicFormat(QStringLiteral("PNG"), withQt("PNG", "PNG"));
    registerGraphicFormat(QStringLiteral("TIF"), withQt("TIFF", "TIFF"));
    registerGraphicFormat(QStringLiteral("TIFF"), withQt("TIFF", "TIFF"));
    registerGraphicFormat(QStringLiteral("WEBP"), decodeWebp);
    for (const char *heif : {"HEIC", "HEIF", "AVIF"})
        registerGraphicFormat(QLatin1String(heif), decodeHeif);
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
                      {{".JPG", FileKind::Jpeg},
                       {".GIF", FileKind::Gif},
                       {".WMF", FileKind::Wmf},
                       {".EMF", FileKind::Emf},
                       {".PCX", FileKind::Pcx}},
                      FileKind::General);
}

namespace {
// The endings known beyond the table, taken before it: read or written as BMP under
// their own name they would fail or mislead.
struct EndingRule {
    const char *ending;
    FileKind kind;
};
constexpr EndingRule kEndings[] = {{".JPEG", FileKind::Jpeg}, {".PNG", FileKind::Png},   {".WEBP", FileKind::Webp},
                                   {".HEIC", FileKind::Heif}, {".HEIF", FileKind::Heif}, {".AVIF", FileKind::Heif}};

bool kindByEnding(const QString &fileName, bool writing, FileKind &kind)
{
    const QString n = fileName.toUpper();
    for (const EndingRule &r : kEndings)
        if (n.endsWith(QLatin1String(r.ending)) && (!writing || r.kind != FileKind::Heif)) {
            kind = r.kind;
            return true;
        }
    return false;
}
} // namespace

FileKind batchReadingKind(const QString &fileName)
{
    FileKind byEnding;
    if (kindByEnding(fileName, false, byEnding))
        return byEnding;
    const FileKind k = readingKind(fileName);
    return k == FileKind::General ? FileKind::Bmp : k;
}

FileKind writingKind(const QString &fileName)
{
    FileKind byEnding;
    if (kindByEnding(fileName, true, byEnding))
        return byEnding;
    return kindByName(fileName,
                      {{".JPG", FileKind::Jpeg},
                       {".GIF", FileKind::Gif},
                       {".WMF", FileKind::Wmf},
                       {".EMF", FileKind::Emf},
                       {".PCX", FileKind::Pcx},
                       {".TIF", FileKind::Tiff}},
                      FileKind::Bmp);
}

namespace {
// The one check of an empty file, before any format's reader sees it.
void refuseEmpty(qint64 size)
{
    if (size == 0)
        throw VermeoError(QStringLiteral("fichier vide"));
}

// The decoders that can stop at a premature end, by the extension the general reader
// goes by.
FileKind partialKind(FileKind kind, const QString &fileName)
{
    if (kind != FileKind::General)
        return kind;
    const QString ext = QFileInfo(fileName).suffix().toUpper();
    if (ext == QLatin1String("JPG") || ext == QLatin1String("JPEG"))
        return FileKind::Jpeg;
    if (ext == QLatin1String("GIF"))
        return FileKind::Gif;
    if (ext == QLatin1String("BMP"))
        return FileKind::Bmp;
    if (ext == QLatin1String("PCX"))
        return FileKind::Pcx;
    return kind;
}
} // namespace

Picture decodeAs(FileKind kind, const QByteArray &bytes, const QString &fileName, bool *truncated)
{
    refuseEmpty(bytes.size());
    switch (truncated ? partialKind(kind, fileName) : kind) {
    case FileKind::Jpeg: return decodeJpeg(bytes, truncated);
    case FileKind::Gif: return decodeGif(bytes, truncated);
    case FileKind::Wmf:
    case FileKind::Emf: return decodeMetafile(bytes);
    case FileKind::Pcx: {
        if (truncated)
            return decodePcx(bytes, nullptr, truncated);
        TPCX pcx;
        pcx.loadFromBytes(bytes);
        return pcx.bitmap();
    }
    case FileKind::Bmp: return decodeBmp(bytes, truncated);
    case FileKind::Png: return pictureWithQt(bytes, "PNG", QStringLiteral("PNG"));
    case FileKind::Webp: return decodeWebp(bytes);
    case FileKind::Heif: return decodeHeif(bytes);
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

namespace {
// The palette depth a kind can grow a palette picture to: 0 when it keeps no palette.
int paletteCapacity(FileKind kind, const Picture &pic)
{
    switch (kind) {
    case FileKind::Bmp:
    case FileKind::General:
    case FileKind::Pcx:
    case FileKind::Tiff:
    case FileKind::Png: return pic.depth;
    case FileKind::Gif: return 8;
    case FileKind::Jpeg:
    case FileKind::Webp:
    case FileKind::Heif:
    case FileKind::Wmf:
    case FileKind::Emf: break;
    }
    return 0;
}
} // namespace

bool paletteOverflows(FileKind kind, const Picture &pic)
{
    const int capacity = paletteCapacity(kind, pic);
    return capacity > 0 && paletteOverflows(pic, capacity);
}

Picture writtenForm(FileKind kind, const Picture &pic, PaletteChoice choice)
{
    const int capacity = paletteCapacity(kind, pic);
    if (capacity == 0)
        return pic;
    // GIF holds no true colour: a palette picture keeps its palette there, and only a
    // true-colour picture is reduced as a whole.
    if (kind == FileKind::Gif)
        choice = PaletteChoice::ReduceNew;
    Picture out = fitPalette(pic, choice, capacity);
    if (kind == FileKind::Gif && (out.depth > 8 || out.palette.isEmpty()))
        return reduceTo(out, 256);
    return out;
}

bool hasPictureExtension(const QString &fileName)
{
    static const QStringList known = {QStringLiteral("bmp"), QStringLiteral("jpg"), QStringLiteral("jpeg"),
                                      QStringLiteral("gif"), QStringLiteral("wmf"), QStringLiteral("emf"),
                                      QStringLiteral("pcx"), QStringLiteral("tif"), QStringLiteral("tiff"),
                                      QStringLiteral("png"), QStringLiteral("webp")};
    return known.contains(QFileInfo(fileName).suffix(), Qt::CaseInsensitive);
}

namespace {
QByteArray encodeWritten(FileKind kind, const Picture &pic, const WriteOptions &options)
{
    switch (kind) {
    case FileKind::Webp: return encodeWebp(pic, options.lossless);
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
    case FileKind::Png: return encodePng(pic);
    case FileKind::Bmp:
    case FileKind::Heif: // not written: writingKind never gives it
    case FileKind::General: break;
    }
    return encodeBmp(pic);
}

// Writers that take rows a band at a time, straight to the file.
std::unique_ptr<RowWriter> bandWriter(FileKind kind, ByteSink &sink, const PictureShape &shape)
{
    switch (kind) {
    case FileKind::Bmp: return bmpWriter(sink, shape);
    case FileKind::Pcx: return pcxWriter(sink, shape);
    case FileKind::Tiff: return tiffWriter(sink, shape);
    case FileKind::Jpeg: return jpegWriter(sink, shape, 90);
    default: return nullptr;
    }
}

bool writesInBands(FileKind kind)
{
    return kind == FileKind::Bmp || kind == FileKind::Pcx || kind == FileKind::Tiff || kind == FileKind::Jpeg;
}

// The band-read formats: BMP by extension (or as the batch side reads any name), PCX.
FileKind bandReadKind(FileKind kind, const QString &fileName)
{
    if (kind == FileKind::General) {
        const QString ext = QFileInfo(fileName).suffix().toUpper();
        if (ext == QLatin1String("BMP"))
            return FileKind::Bmp;
        if (ext == QLatin1String("PCX"))
            return FileKind::Pcx;
    }
    return kind;
}

Picture readFile(FileKind kind, const QString &fileName, bool *truncated)
{
    const FileKind band = bandReadKind(kind, fileName);
    if (band == FileKind::Bmp || band == FileKind::Pcx) {
        auto source = std::make_shared<FileSource>(fileName);
        refuseEmpty(source->size());
        return band == FileKind::Bmp ? readBmp(source, truncated) : readPcx(source, nullptr, truncated);
    }
    return decodeAs(kind, readWholeFile(fileName), fileName, truncated);
}

[[noreturn]] void rethrowFor(const char *verb, const QString &fileName)
{
    try {
        throw;
    } catch (const VermeoError &e) {
        throw VermeoError(
            QStringLiteral("Impossible %1 %2 : %3.").arg(QLatin1String(verb), quoted(fileName), e.message()));
    } catch (const std::bad_alloc &) {
        throw VermeoError(
            QStringLiteral("Impossible %1 %2 : mémoire insuffisante.").arg(QLatin1String(verb), quoted(fileName)));
    }
}

Picture readAs(FileKind kind, const QString &fileName, bool *truncated = nullptr)
{
    try {
        Picture pic = readFile(kind, fileName, truncated);
        if (pic.isNull())
            throw VermeoError(QStringLiteral("image vide"));
        return pic;
    } catch (...) {
        rethrowFor("d'ouvrir", fileName);
    }
}
} // namespace

QByteArray encodeAs(FileKind kind, const Picture &pic, const WriteOptions &options)
{
    return encodeWritten(kind, writtenForm(kind, pic), options);
}

Picture readPictureFile(const QString &fileName) { return readAs(readingKind(fileName), fileName); }

Decoded readPartialPictureFile(const QString &fileName)
{
    Decoded d;
    d.picture = readAs(readingKind(fileName), fileName, &d.truncated);
    return d;
}

Picture readByExtension(const QString &fileName) { return readAs(FileKind::General, fileName); }

namespace {
PictureInfo headerInfo(const QString &fileName)
{
    auto source = std::make_shared<FileSource>(fileName);
    refuseEmpty(source->size());
    switch (partialKind(readingKind(fileName), fileName)) {
    case FileKind::Jpeg: return {jpegFileSize(readWholeFile(fileName)), 24};
    case FileKind::Gif: return {gifFileSize(readWholeFile(fileName)), 8};
    case FileKind::Wmf:
    case FileKind::Emf: return {metafilePictureSize(readWholeFile(fileName)), 24};
    case FileKind::Bmp: {
        const PictureShape s = bmpFileShape(source);
        return {QSize(s.width, s.height), s.depth};
    }
    case FileKind::Pcx: {
        const PictureShape s = pcxFileShape(source);
        return {QSize(s.width, s.height), s.depth};
    }
    default: break;
    }
    // The formats read through their libraries as a whole.
    const Picture pic = readFile(readingKind(fileName), fileName, nullptr);
    if (pic.isNull())
        throw VermeoError(QStringLiteral("image vide"));
    return {pic.image.size(), pic.depth};
}
} // namespace

PictureInfo pictureFileInfo(const QString &fileName)
{
    try {
        return headerInfo(fileName);
    } catch (...) {
        rethrowFor("d'ouvrir", fileName);
    }
}

Picture writePictureFile(const Picture &pic, const QString &fileName, const WriteOptions &options)
{
    try {
        if (pic.isNull())
            throw VermeoError(QStringLiteral("image vide"));
        // A target that cannot be written is refused before any work is done.
        checkSaveTarget(fileName);
        const FileKind kind = writingKind(fileName);
        Picture written = writtenForm(kind, pic, options.palette);
        if (writesInBands(kind)) {
            // Straight from the picture to the file, a band at a time.
            AtomicFileSink sink(fileName, options.overwriteProtected);
            auto writer = bandWriter(kind, sink, shapeOf(written));
            writeAllRows(*writer, written.image);
            sink.commit();
        } else if (kind == FileKind::Webp) {
            // libwebp hands its bytes over as it codes them.
            AtomicFileSink sink(fileName, options.overwriteProtected);
            writeWebp(written, sink, options.lossless);
            sink.commit();
        } else {
            writeFileAtomically(fileName, encodeWritten(kind, written, options), options.overwriteProtected);
        }
        return written;
    } catch (...) {
        rethrowFor("d'enregistrer", fileName);
    }
}

bool writeMadePicture(const MadeRows &made, const QString &fileName)
{
    try {
        checkSaveTarget(fileName);
        const FileKind kind = writingKind(fileName);
        if (!writesInBands(kind))
            return false;
        PictureShape shape;
        shape.width = made.width;
        shape.height = made.height;
        AtomicFileSink sink(fileName);
        auto writer = bandWriter(kind, sink, shape);
        writeMadeRows(*writer, made);
        sink.commit();
        return true;
    } catch (...) {
        rethrowFor("d'enregistrer", fileName);
    }
}

bool openRowFeed(const QString &fileName, RowFeed &feed)
{
    if (bandReadKind(readingKind(fileName), fileName) != FileKind::Bmp)
        return false;
    std::shared_ptr<RowReader> reader;
    try {
        auto source = std::make_shared<FileSource>(fileName);
        refuseEmpty(source->size());
        reader = bmpReader(source);
    } catch (...) {
        rethrowFor("d'ouvrir", fileName);
    }
    if (!reader)
        return false;
    feed.width = reader->shape().width;
    feed.height = reader->shape().height;
    feed.read = [reader, fileName](RowsOf<QRgb> rows, int count) {
        try {
            reader->readRows(rows, count);
        } catch (...) {
            rethrowFor("d'ouvrir", fileName);
        }
    };
    return true;
}

bool openPackedPixels(const QString &fileName, PackedPixels &pixels)
{
    if (bandReadKind(readingKind(fileName), fileName) != FileKind::Bmp)
        return false;
    try {
        FileSource source(fileName);
        refuseEmpty(source.size());
        BmpPixelLayout layout;
        if (!bmpPixelLayout(source, layout))
            return false;
        auto mapped = std::make_shared<MappedFile>(source);
        // A file the system cannot map is read as any other.
        if (!mapped->data())
            return false;
        // The rows from the top down: a bottom-up file's last row first, going back.
        const uchar *first = mapped->data() + layout.offset;
        pixels.width = layout.width;
        pixels.height = layout.height;
        pixels.bytesPerPixel = layout.bits / 8;
        pixels.stride = layout.topDown ? layout.rowSize : -layout.rowSize;
        pixels.base = layout.topDown ? first : first + qint64(layout.height - 1) * layout.rowSize;
        pixels.keep = mapped;
        // Said from inside the save of the result, which names its own file.
        pixels.check = [mapped, fileName] {
            if (mapped->damaged())
                throw VermeoError(QStringLiteral("%1 modifié pendant la lecture").arg(quoted(fileName)));
        };
        return true;
    } catch (...) {
        rethrowFor("d'ouvrir", fileName);
    }
}

bool convertByBands(const QString &in, const QString &out, const BandKernel &kernel)
{
    const FileKind readKind = bandReadKind(readingKind(in), in);
    const FileKind writeKind = writingKind(out);
    if ((readKind != FileKind::Bmp && readKind != FileKind::Pcx) || !writesInBands(writeKind))
        return false;
    std::unique_ptr<RowReader> reader;
    try {
        auto source = std::make_shared<FileSource>(in);
        reader = readKind == FileKind::Bmp ? bmpReader(source) : pcxReader(source);
    } catch (...) {
        rethrowFor("d'ouvrir", in);
    }
    const PictureShape shape = reader ? reader->shape() : PictureShape();
    // A kernel may give a palette picture colours its palette lacks: that needs the
    // whole picture to decide.
    if (!reader || (kernel && shape.depth <= 8))
        return false;
    const int band = bandRows(shape.width);
    QImage rows;
    try {
        rows = newWorkingImage(shape.width, std::min(band, shape.height));
    } catch (...) {
        rethrowFor("d'ouvrir", in);
    }
    std::unique_ptr<AtomicFileSink> sink;
    std::unique_ptr<RowWriter> writer;
    try {
        sink = std::make_unique<AtomicFileSink>(out);
        writer = bandWriter(writeKind, *sink, shape);
    } catch (...) {
        rethrowFor("d'enregistrer", out);
    }
    for (int y = 0; y < shape.height; y += band) {
        const int n = std::min(band, shape.height - y);
        if (n < rows.height())
            rows = rows.copy(0, 0, shape.width, n);
        try {
            reader->readRows(rowsOf(rows), n);
        } catch (...) {
            rethrowFor("d'ouvrir", in);
        }
        if (kernel)
            kernel(rows);
        try {
            writer->writeRows(rowsOf(std::as_const(rows)), n);
        } catch (...) {
            rethrowFor("d'enregistrer", out);
        }
    }
    try {
        writer->finish();
        sink->commit();
    } catch (...) {
        rethrowFor("d'enregistrer", out);
    }
    return true;
}

} // namespace vermeo::formats

namespace vermeo {

void LitFichier(Picture &bitmap, const QString &fileName)
{
    bitmap = formats::readAs(formats::batchReadingKind(fileName), fileName);
}

void EcritFichier(const Picture &bitmap, const QString &fileName, const formats::WriteOptions &options)
{
    formats::writePictureFile(bitmap, fileName, options);
}

} // namespace vermeo
