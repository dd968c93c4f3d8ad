#include "DocumentFiles.h"
#include "DialogRunner.h"
#include "Error.h"
#include "FileAccess.h"
#include "PictureFiles.h"
#include "Thumbnails.h"
#include "WebpCodec.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <optional>

namespace vermeo::formats {

const QString kOpenPictureFilter = QStringLiteral(
    "Tout (*.bmp;*.jpg;*.jpeg;*wmf;*.emf;*;gif;*.pcx)|*.bmp;*.jpg;*.jpeg;*.wmf;*.emf;*.gif;*.pcx|Bitmaps (*.bmp)|*.bmp|"
    "Jpeg (*.jpg;*.jpeg)|*.jpg;*.jpeg|Metafile (*.wmf)|*.wmf|Metafile évolué (*.emf)|*.emf|Gif (*.gif)|*.gif|"
    "Pcx (*.pcx)|*.pcx|Png (*.png)|*.png|WebP (*.webp)|*.webp|Heic (*.heic;*.heif)|*.heic;*.heif|Avif (*.avif)|*.avif|"
    "Tiff (*.tif;*.tiff)|*.tif;*.tiff");
const QString kSavePictureFilter = QStringLiteral(
    "Bitmap (*.bmp)|*.bmp|Jpeg (*.jpg)|*.jpg|Metafile (*.wmf)|*.wmf|Metafile évolué (emf)|*.emf|Gif (*.gif)|*.gif|"
    "Pcx (*;pcx)|*.pcx|Tiff (*.tif)|*.tif|Png (*.png)|*.png|WebP (*.webp)|*.webp|WebP sans perte (*.webp)|*.webp");
const QStringList kSaveFilterExtensions = {QStringLiteral(".bmp"), QStringLiteral(".jpg"), QStringLiteral(".wmf"),
                                           QStringLiteral(".emf"), QStringLiteral(".gif"), QStringLiteral(".pcx"),
                                           QStringLiteral(".tif"), QStringLiteral(".png"), QStringLiteral(".webp"),
                                           QStringLiteral(".webp")};
// The save filter that writes WebP without loss.
constexpr int kLosslessWebpFilter = 9;

QString delphiFilterToQt(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (QString p : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            p = p.trimmed();
            // Qt takes the last parenthesised group as the patterns: only characters it
            // accepts may stand there.
            p.remove(QRegularExpression(QStringLiteral("[()]")));
            if (!p.isEmpty())
                patterns << p;
        }
        out << QStringLiteral("%1 (%2)").arg(parts[i], patterns.join(QLatin1Char(' ')));
    }
    return out.join(QStringLiteral(";;"));
}

namespace {
QString quotedName(const QString &fileName) { return QStringLiteral("« %1 »").arg(fileNamePart(fileName)); }
} // namespace

void Charge(ImageDocument &doc, DocumentHost &host, const QString &fileName)
{
    // Decode first: a file that cannot be read changes nothing.
    const Decoded read = readPartialPictureFile(fileName);
    const Picture &pic = read.picture;
    // A lossless WebP is saved back without loss.
    const bool lossless = writingKind(fileName) == FileKind::Webp && isLosslessWebp(readWholeFile(fileName));
    doc.FileName = fileName;
    doc.SaveLossless = lossless;
    doc.setZoomLevel(0);
    doc.replacePicture(pic);
    // The history starts here: an undo before the first change gives the picture as loaded.
    doc.startHistory(true);
    host.fitWindow();
    host.setStatusText(1, QStringLiteral("%1 x %2").arg(doc.width()).arg(doc.height()));
    // A truncated file is opened as far as it goes; marked modified, nothing overwrites
    // it without the user being asked.
    if (read.truncated) {
        doc.setModified(true);
        DialogRunner::tell(host.dialogParent(), QMessageBox::Warning,
                           QStringLiteral("Le fichier %1 est tronqué : seule sa partie lisible a été ouverte.")
                               .arg(quotedName(fileName)));
    }
}

bool SaveAs(ImageDocument &doc, DocumentHost &host)
{
    FileDialogRequest req;
    req.parent = host.dialogParent();
    req.caption = QStringLiteral("Enregistrer sous");
    req.directory = doc.FileName.isEmpty() ? QString() : QFileInfo(doc.FileName).absolutePath();
    req.filter = delphiFilterToQt(kSavePictureFilter);
    req.hideFilterPatterns = true;
    req.filterIndex = 0;
    req.save = true;
    QString name = DialogRunner::fileName(req);
    if (name.isEmpty())
        return false;
    // The chosen type decides unless the name itself ends in a picture extension:
    // "vacances.2024" with "Jpeg" is vacances.2024.jpg, and a folder's dot counts for nothing.
    if (!hasPictureExtension(name)) {
        const int i = std::clamp(req.filterIndex, 0, int(kSaveFilterExtensions.size()) - 1);
        name += kSaveFilterExtensions[i];
    }
    doc.FileName = name;
    doc.SaveLossless = req.filterIndex == kLosslessWebpFilter;
    doc.Modif();
    return true;
}

namespace {

// The one question of a palette picture whose new colours do not fit its palette. GIF
// holds no true colour: there the choice is to reduce the new colours or not to save.
std::optional<PaletteChoice> askPaletteChoice(DocumentHost &host, const ImageDocument &doc)
{
    const bool gif = writingKind(doc.FileName) == FileKind::Gif;
    const int entries = gif ? 256 : 1 << doc.picture().depth;
    const QString reduce = QStringLiteral("« Réduire les nouvelles couleurs » garde la palette : seuls les points "
                                          "de couleur nouvelle prennent la couleur la plus proche de la palette.");
    QString text = QStringLiteral("Les couleurs ajoutées à %1 ne tiennent pas dans sa palette de %2 couleurs.\n\n")
                       .arg(quotedName(doc.FileName))
                       .arg(entries);
    DialogRunner::ButtonCaptions captions;
    QMessageBox::StandardButtons buttons = QMessageBox::No | QMessageBox::Cancel;
    if (gif) {
        text += reduce + QStringLiteral("\nLe format GIF ne peut pas garder plus de 256 couleurs.");
    } else {
        text += QStringLiteral("« Enregistrer en 24 bits » garde chaque point tel quel ; le fichier n'a plus de "
                               "palette.\n") +
                reduce;
        buttons |= QMessageBox::Yes;
        captions.append({QMessageBox::Yes, QStringLiteral("Enregistrer en 24 bits")});
    }
    captions.append({QMessageBox::No, QStringLiteral("Réduire les nouvelles couleurs")});
    captions.append({QMessageBox::Cancel, QStringLiteral("Annuler")});
    const QMessageBox::StandardButton answer =
        DialogRunner::ask(host.dialogParent(), QMessageBox::Question, text, buttons, captions);
    if (answer == QMessageBox::Yes && !gif)
        return PaletteChoice::TrueColour;
    if (answer == QMessageBox::No)
        return PaletteChoice::ReduceNew;
    return std::nullopt;
}
} // namespace

bool Sauve(ImageDocument &doc, DocumentHost &host, bool saveAs, const std::function<void()> &zInit)
{
    const QString oldName = doc.FileName;
    const bool oldModified = doc.modified();
    const bool oldLossless = doc.SaveLossless;
    // A cancelled dialog writes nothing, also for a named, modified picture.
    if ((doc.FileName.isEmpty() || saveAs) && !SaveAs(doc, host))
        return false;
    if (!doc.modified() || doc.FileName.isEmpty())
        return false;
    if (!fileNamePart(doc.FileName).contains(QLatin1Char('.')))
        doc.FileName += QStringLiteral(".bmp");
    // Whatever is asked is asked before anything is written; a refusal or "Annuler"
    // leaves the name and the modified flag as they were.
    WriteOptions options;
    const auto giveUp = [&] {
        doc.FileName = oldName;
        doc.setModified(oldModified);
        doc.SaveLossless = oldLossless;
    };
    try {
        const SaveTarget target = checkSaveTarget(doc.FileName);
        if (target.writeProtected) {
            if (!target.protectionOverridable)
                throw VermeoError(writeProtectedReason());
            if (DialogRunner::ask(host.dialogParent(), QMessageBox::Warning,
                                  QStringLiteral("Le fichier %1 est protégé en écriture.\nLe remplacer quand même ?")
                                      .arg(quotedName(doc.FileName)),
                                  QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes) {
                giveUp();
                return false;
            }
            options.overwriteProtected = true;
        }
    } catch (const VermeoError &e) {
        const QString name = quotedName(doc.FileName);
        giveUp();
        throw VermeoError(QStringLiteral("Impossible d'enregistrer %1 : %2.").arg(name, e.message()));
    }
    if (paletteOverflows(writingKind(doc.FileName), doc.picture())) {
        const std::optional<PaletteChoice> choice = askPaletteChoice(host, doc);
        if (!choice) {
            giveUp();
            return false;
        }
        options.palette = *choice;
    }
    if (doc.zoomLevel() != 0 && zInit)
        zInit();
    Picture written;
    try {
        options.lossless = doc.SaveLossless;
        written = writePictureFile(doc.picture(), doc.FileName, options);
    } catch (...) {
        giveUp();
        throw;
    }
    // The window shows what the file holds (a palette picture may have been reduced).
    const Picture &shown = doc.picture();
    if (!(written.image == shown.image) || written.depth != shown.depth || written.palette != shown.palette)
        doc.replacePicture(written);
    doc.setModified(false);
    return true;
}

QString askOpenPictureName(QWidget *parent)
{
    FileDialogRequest req;
    req.parent = parent;
    req.caption = QStringLiteral("Ouvrir");
    req.filter = delphiFilterToQt(kOpenPictureFilter);
    req.hideFilterPatterns = true;
    // The preview's 200 x 200 square: JPEG, BMP and PCX are read at a reduced size.
    req.preview = [](const QString &name) -> QImage {
        try {
            return readThumbnail(name, QSize(200, 200)).image;
        } catch (const VermeoError &) {
            return {};
        }
    };
    return DialogRunner::fileName(req);
}

} // namespace vermeo::formats
