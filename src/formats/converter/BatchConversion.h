#pragma once
// Many picture files converted into one format and one folder: the loop shared by the
// "Conversions multiples" command and vermeo-cli.
#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>
#include <vector>

namespace vermeo::formats {

// The target formats, as the format box lists them.
const QStringList &conversionFormats();
// The listed format a text names, whatever its case ("jpg" -> "Jpg"); empty if none.
QString conversionFormat(const QString &text);

// The destination (a separator added when missing; empty: the current directory),
// the file-name part cut after its first ".", then the format: photo.old.bmp with
// "Pcx" gives photo.Pcx.
QString conversionOutputName(const QString &file, const QString &destination, const QString &format);

struct ConversionFailure {
    QString file;
    QString reason; // French, names the file
};

struct ConversionReport {
    int converted = 0;
    int total = 0;
    int notStarted = 0;                      // files left when the conversion was stopped
    std::vector<ConversionFailure> failures; // in list order
    // "N fichiers convertis", then the failures: ", 1 échec :" and one line each; after a
    // stop, "Conversion arrêtée : N fichiers convertis sur T" first.
    QString summary() const;
};

// Reads each file as LitFichier and writes it as EcritFichier under its output name. A
// file that fails is reported and the others are still converted; every write is
// atomic. A source is replaced only by its own re-encoding (photo.bmp to "Bmp" writes
// photo.bmp); no other file is matched by case. A file whose output is another source
// of the list, or the output of an earlier file, is not converted and is reported:
// its own picture stays as it was. Several files are converted at once.
// progress(done, total) runs on the calling thread. Once *stop is true (from any
// thread), the files being converted are finished and no other is begun. Throws
// VermeoError, converting nothing, when the format is unknown or the destination is no folder.
ConversionReport convertFiles(const QStringList &files, const QString &destination, const QString &format,
                              const std::function<void(int done, int total)> &progress = {},
                              const std::atomic<bool> *stop = nullptr);

} // namespace vermeo::formats
