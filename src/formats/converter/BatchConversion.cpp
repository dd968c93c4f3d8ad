#include "BatchConversion.h"
#include "Error.h"
#include "FileAccess.h"
#include "Parallel.h"
#include "PictureFiles.h"

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

// On a case-sensitive file system photo.bmp converted to "Bmp" would sit beside a new
// photo.Bmp; the file that is there is the one meant.
class ExistingNames {
public:
    explicit ExistingNames(const QString &destination)
    {
        const QDir dir(destination.isEmpty() ? QDir::currentPath() : destination);
        for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System))
            m_names.insert(name.toLower(), name);
    }
    QString resolve(const QString &outputName) const
    {
        const QFileInfo out(outputName);
        const QString found = m_names.value(out.fileName().toLower());
        if (found.isEmpty() || QFileInfo::exists(outputName))
            return outputName;
        return outputName.left(outputName.size() - out.fileName().size()) + found;
    }

private:
    QHash<QString, QString> m_names;
};

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
    QString text = QStringLiteral("%1 fichiers convertis").arg(converted);
    if (failures.empty())
        return text;
    text += failures.size() == 1 ? QStringLiteral(", 1 échec :")
                                 : QStringLiteral(", %1 échecs :").arg(failures.size());
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
                              const std::function<void(int, int)> &progress)
{
    const QString fmt = conversionFormat(format);
    if (fmt.isEmpty())
        throw VermeoError(QStringLiteral("Format « %1 » inconnu : %2.").arg(format, conversionFormats().join(QStringLiteral(", "))));
    if (!destination.isEmpty() && !QFileInfo(destination).isDir())
        throw VermeoError(QStringLiteral("Le dossier de destination « %1 » n'existe pas.").arg(destination));

    const int n = int(files.size());
    const ExistingNames existing(destination);
    std::vector<QString> outputs(static_cast<size_t>(n));
    // Files that write the same output form one chain, converted in list order.
    QHash<QString, int> chainOf;
    std::vector<std::vector<int>> chains;
    for (int i = 0; i < n; ++i) {
        outputs[size_t(i)] = existing.resolve(conversionOutputName(files[i], destination, fmt));
        const QString key = QFileInfo(outputs[size_t(i)]).absoluteFilePath();
        auto it = chainOf.find(key);
        if (it == chainOf.end()) {
            it = chainOf.insert(key, int(chains.size()));
            chains.emplace_back();
        }
        chains[size_t(*it)].push_back(i);
    }

    std::vector<QString> reasons(static_cast<size_t>(n));
    std::vector<char> done(size_t(n), 0);
    std::atomic<int> finished{0};
    forBandsInParallel(
        int(chains.size()), 1,
        [&](int c0, int c1) {
            // One picture per worker, reused for each of its files.
            Picture bitmap;
            for (int c = c0; c < c1; ++c)
                for (int i : chains[size_t(c)]) {
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
    for (int i = 0; i < n; ++i) {
        if (done[size_t(i)])
            ++report.converted;
        else
            report.failures.push_back({files[i], reasons[size_t(i)]});
    }
    return report;
}

} // namespace vermeo::formats
