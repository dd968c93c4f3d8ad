#pragma once
// Picture files chosen by name: the tests on the upper-cased full name, in their
// fixed orders, for the image window, the batch converter and vermeo-cli.
#include "MadeRows.h"
#include "PaletteFit.h"
#include "Picture.h"

#include <QImage>
#include <QSize>
#include <QString>
#include <functional>

namespace vermeo::formats {

// Reads as "&Ouvrir..." does: ".JPG", ".GIF", ".WMF", ".EMF", ".PCX" in the name,
// else the general picture reader by extension. Photos come upright and in sRGB (EXIF
// orientation, ICC profiles), transparency laid on white. Throws VermeoError naming
// the file. An empty file is "fichier vide" in every format; a JPEG, GIF, BMP or PCX
// file whose data end before its last row is "fichier tronqué".
Picture readPictureFile(const QString &fileName);
// The same for the window's "Ouvrir", which opens what a truncated file holds: its
// readable part (missing rows white) and truncated set.
struct Decoded {
    Picture picture;
    bool truncated = false;
};
Decoded readPartialPictureFile(const QString &fileName);
// What readPictureFile would give, from the headers: JPEG, GIF, BMP, PCX and the
// metafiles are not decoded (their data are only walked to find a premature end); the
// other formats are. Refuses what readPictureFile refuses, with the same message.
struct PictureInfo {
    QSize size;
    int depth = 24;
};
PictureInfo pictureFileInfo(const QString &fileName);
// How a save treats a palette picture that overflows, a write-protected target, and a
// format that offers a choice (WebP lossy at quality 90, or lossless).
struct WriteOptions {
    PaletteChoice palette = PaletteChoice::TrueColour;
    bool overwriteProtected = false; // confirmed by the user (see AtomicFileSink)
    bool lossless = false;
};

// Writes as "Enregistrer" does: a name ending in ".jpeg" as JPEG, ".png" as PNG and
// ".webp" as WebP; otherwise ".JPG", ".GIF", ".WMF", ".EMF", ".PCX", ".TIF" in the name,
// else BMP. Through a temporary file that takes the target's place (AtomicFileSink).
// Returns the picture as the file holds it (see writtenForm).
Picture writePictureFile(const Picture &pic, const QString &fileName, const WriteOptions &options = {});

// Writes the true-colour picture a maker makes as writePictureFile would write it (24
// bits, the default resolution), straight from the maker's bands, where the kind is
// written by bands. False, with nothing written, for the other kinds.
bool writeMadePicture(const MadeRows &made, const QString &fileName);

// The rows of fileName read band by band, as readPictureFile would give them, where it
// is an uncompressed BMP file; false for the others. Throws VermeoError naming the
// file, here or as the rows are read.
bool openRowFeed(const QString &fileName, RowFeed &feed);

// The pixels of fileName as they lie in the file, mapped into memory, where it is an
// uncompressed 24- or 32-bit BMP file holding every row: the same pixels readPictureFile
// would give, without a copy. False for the other files. Throws VermeoError naming the
// file; pixels.check() throws "« NOM » modifié pendant la lecture" once the file was
// cut short while it was read.
bool openPackedPixels(const QString &fileName, PackedPixels &pixels);

// Whether the file-name part (never a folder's) ends in an extension that the save
// chooses a format by: ".bmp", ".jpg", ".jpeg", ".gif", ".wmf", ".emf", ".pcx", ".tif",
// ".tiff", ".png", ".webp", whatever the case.
bool hasPictureExtension(const QString &fileName);

// The general picture reader: decoder by the file's extension (BMP, ICO, JPEG, WMF,
// EMF, GIF, PCX, PNG and TIFF through Qt, WebP, and HEIC, HEIF and AVIF).
Picture readByExtension(const QString &fileName);

// What each table picks for a name, for the callers that need to know.
enum class FileKind { Jpeg, Gif, Wmf, Emf, Pcx, Tiff, Bmp, Png, Webp, Heif, General };
FileKind readingKind(const QString &fileName); // the window's reading column
FileKind batchReadingKind(const QString &fileName);
FileKind writingKind(const QString &fileName);

// Decodes bytes as the given kind (General picks by the name's extension). Truncated
// data are an error unless truncated is given (see readPartialPictureFile).
Picture decodeAs(FileKind kind, const QByteArray &bytes, const QString &fileName, bool *truncated = nullptr);
// The bytes of writtenForm(kind, pic).
QByteArray encodeAs(FileKind kind, const Picture &pic, const WriteOptions &options = {});

// The picture as a file of this kind holds it: a palette picture whose colours left
// its palette gets them in its free entries (fitPalette; GIF grows up to 256 entries);
// when they are too many, choice decides (GIF, which holds no true colour, always
// reduces the new colours only). A true-colour picture written as GIF is reduced to
// 256 colours; other pictures stay as they are.
Picture writtenForm(FileKind kind, const Picture &pic, PaletteChoice choice = PaletteChoice::TrueColour);
// Whether writing pic as this kind needs that choice.
bool paletteOverflows(FileKind kind, const Picture &pic);

// Reads in, passes every band of rows through kernel (when given; it changes working
// pixels in place) and writes out, without ever holding the whole picture. False, with
// nothing written, when either file is of a kind not read or written by bands, or when
// the kernel could take a palette picture out of its palette: the caller then goes
// through whole pictures. Throws VermeoError naming the file that failed.
using BandKernel = std::function<void(QImage &band)>;
bool convertByBands(const QString &in, const QString &out, const BandKernel &kernel = {});

} // namespace vermeo::formats

namespace vermeo {
// The batch converter's window-less pair: reading takes names ending in ".jpeg" as
// JPEG, ".png" as PNG, ".webp" as WebP and ".heic", ".heif", ".avif" as HEIF, and any
// other name outside the table as a Windows bitmap.
void LitFichier(Picture &bitmap, const QString &fileName);
void EcritFichier(const Picture &bitmap, const QString &fileName, const formats::WriteOptions &options = {});
} // namespace vermeo
