#include "SaveTarget.h"
#include "Error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <climits>
#include <sys/stat.h>
#include <unistd.h>

namespace vermeo {

namespace {
QByteArray local(const QString &s) { return QFile::encodeName(s); }

VermeoError refused(const char *why) { return VermeoError(QString::fromUtf8(why)); }

// Why a name that exists cannot be written, or nullptr for a regular file.
const char *notAFile(mode_t mode)
{
    if (S_ISREG(mode))
        return nullptr;
    if (S_ISDIR(mode))
        return "c'est un dossier";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "c'est un périphérique, pas un fichier";
    if (S_ISFIFO(mode))
        return "c'est un tube nommé (FIFO), pas un fichier";
    if (S_ISSOCK(mode))
        return "c'est une prise de communication (socket), pas un fichier";
    return "ce n'est pas un fichier ordinaire";
}

// The folder of a name not taken yet must be there.
void checkFolder(const QString &path, bool throughLink)
{
    struct stat st {};
    const QString folder = QFileInfo(path).absolutePath();
    if (::stat(local(folder).constData(), &st) == 0 && S_ISDIR(st.st_mode))
        return;
    if (errno == ELOOP)
        throw refused("les liens symboliques forment une boucle");
    throw refused(throughLink ? "le lien mène dans un dossier introuvable" : "dossier introuvable");
}
} // namespace

QString writeProtectedReason() { return QStringLiteral("le fichier est protégé en écriture"); }

SaveTarget checkSaveTarget(const QString &fileName)
{
    SaveTarget t;
    QString path = QFileInfo(fileName).absoluteFilePath();
    // Links are followed by hand, so that a loop, or a link into nowhere, is named as such.
    for (int hops = 0;; ++hops) {
        struct stat st {};
        if (::lstat(local(path).constData(), &st) != 0) {
            if (errno == ENOENT) {
                checkFolder(path, hops > 0);
                t.path = path;
                return t;
            }
            if (errno == ELOOP)
                throw refused("les liens symboliques forment une boucle");
            if (errno == ENOTDIR)
                throw refused("dossier introuvable");
            if (errno == EACCES)
                throw refused("accès refusé");
            throw refused("nom impossible");
        }
        if (S_ISLNK(st.st_mode)) {
            // The kernel's own limit for a chain of links.
            if (hops == 40)
                throw refused("les liens symboliques forment une boucle");
            char buf[PATH_MAX];
            const ssize_t n = ::readlink(local(path).constData(), buf, sizeof buf - 1);
            if (n < 0)
                throw refused("lien illisible");
            const QString to = QFile::decodeName(QByteArray(buf, int(n)));
            path =
                QDir::cleanPath(QDir::isAbsolutePath(to) ? to : QFileInfo(path).absolutePath() + QLatin1Char('/') + to);
            continue;
        }
        if (const char *why = notAFile(st.st_mode))
            throw refused(why);
        t.path = path;
        t.exists = true;
        t.mode = st.st_mode & 07777;
        t.owner = st.st_uid;
        t.group = st.st_gid;
        t.links = st.st_nlink;
        // Root may write anything: a file with no write bit at all is protected all the same.
        t.writeProtected = (t.mode & 0222) == 0 || ::access(local(path).constData(), W_OK) != 0;
        t.protectionOverridable = ::geteuid() == 0 || (t.owner == ::geteuid() && t.links == 1);
        return t;
    }
}

bool isSameFile(const QString &a, const QString &b)
{
    struct stat sa {
    }, sb{};
    if (::stat(local(a).constData(), &sa) != 0 || ::stat(local(b).constData(), &sb) != 0)
        return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

} // namespace vermeo
