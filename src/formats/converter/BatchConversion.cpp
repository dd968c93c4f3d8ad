#include "BatchConversion.h"
#include "Error.h"
#include "FileAccess.h"
#include "Parallel.h"
#include "PictureFiles.h"
#include "SaveTarget.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <atomic>

namespace vermeo::formats {

const QStringList &conversionFormats()
{
    static const QStringList formats = {QStringLiteral("Jpg"), QStringLiteral("Gif"), QStringLiteral("Bmp"),
                                        QStringLiteral("Pcx"), QStringLiteral("Tif"), QStringLiteral("Wmf"),
                                        QStringLiteral("Emf"), QStringLiteral("Webp")};
    return formats;
}

QString conversionFormat(const QString &text)
{
    for (const QString &f : conversionFormats())
        if (f.compare(text.trimmed(), Qt::CaseInsensitive) == 0)
            return f;
    return {};
}

namespace {
QString withSeparator(const QString &destination)
{
    if (destination.isEmpty() || destination.endsWith(QLatin1Char('/')))
        return destination;
    return destination + QLatin1Char('/');
}

// The destination's names by their lower case. A file converted to its own format in its
// own folder is overwritten, whatever the case of its extension (photo.bmp to "Bmp" is
// photo.bmp, not a new photo.Bmp beside it); no other file is ever taken for the
// output by its case alone.
class ExistingNames {
public:
    explicit ExistingNames(const QString &destination)
    {
        const QDir dir(destination.isEmpty() ? QDir::currentPath() : destination);
        for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System))
            m_names.insert(name.toLower(), name);
    }
    QString resolve(const QString &outputName, const QString &source) const
    {
        const QFileInfo out(outputName);
        const QString folder = outputName.left(outputName.size() - out.fileName().size());
        for (const QString &found : m_names.values(out.fileName().toLower()))
            if (found != out.fileName() && isSameFile(folder + found, source))
                return folder + found;
        return outputName;
    }
    // A name that is there as written, not only by its case.
    bool holds(const QString &name) const
    {
        const QString file = QFileInfo(name).fileName();
        return m_names.values(file.toLower()).contains(file);
    }

private:
    QMultiHash<QString, QString> m_names;
};

// Why a file is not converted when its output would replace a picture of the batch.
QString collision(const QString &file, const QString &output, const QString &owner)
{
    if (!owner.isEmpty())
        return QStringLiteral("« %1 » n'est pas converti : « %2 » reçoit déjà l'image de « %3 ».")
            .arg(fileNamePart(file), fileNamePart(output), fileNamePart(owner));
    return QStringLiteral("« %1 » n'est pas converti : « %2 » est une autre image de la conversion.")
        .arg(fileNamePart(file), fileNamePart(output));
}

constexpr int kListedFailures = 10;
} // namespace

QString conversionOutputName(const QString &file, const QString &destination, const QString &format)
{
    QString stem = fileNamePart(file);
    const qsizetype dot = stem.indexOf(QLatin1Char('.'));
    if (dot >= 0)
        stem.truncate(dot + 1);
    return withSeparator(destination) + stem + format;
}

QString ConversionReport::summary() const
{
    QString text = notStarted > 0
                       ? QStringLiteral("Conversion arrêtée : %1 fichiers convertis sur %2").arg(converted).arg(total)
                       : QStringLiteral("%1 fichiers convertis").arg(converted);
    if (failures.empty())
        return text;
    text += failures.size() == 1 ? QStringLiteral(", 1 échec :") : QStringLiteral(", %1 échecs :").arg(failures.size());
    int listed = 0;
    for (const ConversionFailure &f : failures) {
        if (listed++ == kListedFailures) {
            text += QStringLiteral("\n... et %1 autres.").arg(failures.size() - kListedFailures);
            break;
        }
        text += QLatin1Char('\n') + f.reason;
    }
    return text;
}

ConversionReport convertFiles(const QStringList &files, const QString &destination, const QString &format,
                              const std::function<void(int, int)> &progress, const std::atomic<bool> *stop)
{
    const QString fmt = conversionFormat(format);
    if (fmt.isEmpty())
        throw VermeoError(
            QStringLiteral("Format « %1 » inconnu : %2.").arg(format, conversionFormats().join(QStringLiteral(", "))));
    if (!destination.isEmpty() && !QFileInfo(destination).isDir())
        throw VermeoError(QStringLiteral("Le dossier de destination « %1 » n'existe pas.").arg(destination));

    const int n = int(files.size());
    const ExistingNames existing(destination);
    std::vector<QString> outputs(static_cast<size_t>(n));
    std::vector<QString> reasons(static_cast<size_t>(n));
    // A source is replaced only by its own re-encoding, and every output has one
    // source: the first in list order, after the files written onto themselves.
    QHash<QString, int> claimedBy;
    const auto key = [](const QString &name) {
        const QFileInfo info(name);
        return info.exists() ? info.canonicalFilePath() : info.absoluteFilePath();
    };
    QHash<QString, int> sourceAt;
    for (int i = 0; i < n; ++i) {
        outputs[size_t(i)] = existing.resolve(conversionOutputName(files[i], destination, fmt), files[i]);
        sourceAt.insert(key(files[i]), i);
    }
    for (int pass = 0; pass < 2; ++pass)
        for (int i = 0; i < n; ++i) {
            const QString &out = outputs[size_t(i)];
            const bool ontoItself = isSameFile(out, files[i]);
            if ((pass == 0) != ontoItself)
                continue;
            const auto owner = claimedBy.constFind(key(out));
            const auto source = sourceAt.constFind(key(out));
            if (!ontoItself && (source != sourceAt.cend() || (QFileInfo::exists(out) && !existing.holds(out))))
                reasons[size_t(i)] = collision(files[i], out, {});
            else if (owner != claimedBy.cend())
                reasons[size_t(i)] = collision(files[i], out, files[*owner]);
            else
                claimedBy.insert(key(out), i);
        }
    std::vector<int> toConvert;
    for (int i = 0; i < n; ++i)
        if (reasons[size_t(i)].isEmpty())
            toConvert.push_back(i);

    // A refused file counts as begun: it is reported among the failures.
    std::vector<char> done(size_t(n), 0), begun(size_t(n), 1);
    for (int i : toConvert)
        begun[size_t(i)] = 0;
    std::atomic<int> finished{n - int(toConvert.size())};
    forBandsInParallel(
        int(toConvert.size()), 1,
        [&](int c0, int c1) {
            // One picture per worker, reused for each of its files.
            Picture bitmap;
            for (int c = c0; c < c1; ++c) {
                const int i = toConvert[size_t(c)];
                if (stop && stop->load())
                    break;
                begun[size_t(i)] = 1;
                try {
                    LitFichier(bitmap, files[i]);
                    EcritFichier(bitmap, outputs[size_t(i)]);
                    done[size_t(i)] = 1;
                } catch (const VermeoError &e) {
                    reasons[size_t(i)] = e.message();
                } catch (const std::bad_alloc &) {
                    reasons[size_t(i)] = QStringLiteral("Impossible de convertir « %1 » : mémoire insuffisante.")
                                             .arg(fileNamePart(files[i]));
                }
                finished.fetch_add(1);
            }
        },
        [&](int) {
            if (progress)
                progress(finished.load(), n);
        });

    ConversionReport report;
    report.total = n;
    for (int i = 0; i < n; ++i) {
        if (done[size_t(i)])
            ++report.converted;
        else if (!begun[size_t(i)])
            ++report.notStarted;
        else
            report.failures.push_back({files[i], reasons[size_t(i)]});
    }
    return report;
}

} // namespace vermeo::formats
