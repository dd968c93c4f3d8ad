// What a save writes to and what it keeps of the file it replaces, made with hostile
// targets of the test's own: FIFOs, device nodes, sockets, folders, loops of links,
// links into missing folders, write-protected, set-uid, hard-linked and foreign files.
// The bodies run as root where the test runs as root, and as the user "nobody" in a
// child process.
#include "Error.h"
#include "FileAccess.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include <grp.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace vermeo;

namespace {
constexpr uid_t kNobody = 65534;

QByteArray local(const QString &s) { return QFile::encodeName(s); }

struct stat statOf(const QString &path)
{
    struct stat st {};
    ::lstat(local(path).constData(), &st);
    return st;
}

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void put(const QString &path, const QByteArray &bytes, mode_t mode = 0644)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    f.close();
    ::chmod(local(path).constData(), mode);
}

// The save's French reason, or empty when it wrote.
QString saveTo(const QString &path, bool overwriteProtected = false)
{
    try {
        writeFileAtomically(path, QByteArrayLiteral("NEW PICTURE"), overwriteProtected);
        return {};
    } catch (const VermeoError &e) {
        return e.message();
    }
}

QStringList entries(const QString &dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

// Checks made where gtest cannot see them (a child process): each failure a line.
struct Checks {
    std::vector<std::string> failures;
    void expect(bool ok, const std::string &what)
    {
        if (!ok)
            failures.push_back(what);
    }
};

// Every target that is no regular file is refused, named, with nothing left behind.
void refusesWhatIsNoFile(const QString &dir, Checks &c)
{
    const QString fifo = dir + QStringLiteral("/tube.bmp");
    c.expect(::mkfifo(local(fifo).constData(), 0666) == 0, "mkfifo");
    const QString folder = dir + QStringLiteral("/dossier.bmp");
    QDir().mkdir(folder);
    const QString loopA = dir + QStringLiteral("/a.bmp"), loopB = dir + QStringLiteral("/b.bmp");
    QFile::link(loopB, loopA);
    QFile::link(loopA, loopB);
    const QString nowhere = dir + QStringLiteral("/perdu.bmp");
    QFile::link(dir + QStringLiteral("/absent/x.bmp"), nowhere);
    const QString socketName = dir + QStringLiteral("/prise.bmp");
    const int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::snprintf(addr.sun_path, sizeof addr.sun_path, "%s", local(socketName).constData());
    c.expect(::bind(s, reinterpret_cast<sockaddr *>(&addr), sizeof addr) == 0, "bind");
    const QString missing = dir + QStringLiteral("/absent/y.bmp");

    const QStringList before = entries(dir);
    const std::vector<std::pair<QString, QString>> cases = {
        {fifo, QStringLiteral("tube nommé (FIFO)")},
        {folder, QStringLiteral("c'est un dossier")},
        {loopA, QStringLiteral("boucle")},
        {nowhere, QStringLiteral("le lien mène dans un dossier introuvable")},
        {socketName, QStringLiteral("socket")},
        {missing, QStringLiteral("dossier introuvable")},
        {QStringLiteral("/dev/full"), QStringLiteral("périphérique")},
        {QStringLiteral("/dev/null"), QStringLiteral("périphérique")},
    };
    for (const auto &[target, why] : cases) {
        const QString said = saveTo(target);
        c.expect(said.contains(why), target.toStdString() + " -> " + said.toStdString());
    }
    c.expect(entries(dir) == before, "a file was left behind");
    c.expect(S_ISFIFO(statOf(fifo).st_mode) && S_ISSOCK(statOf(socketName).st_mode) && S_ISLNK(statOf(loopA).st_mode) &&
                 S_ISLNK(statOf(nowhere).st_mode),
             "a special file was replaced");
    c.expect(S_ISCHR(statOf(QStringLiteral("/dev/full")).st_mode), "/dev/full replaced");
    ::close(s);
}

// Links to a regular file, or to a new name in a folder that exists, are followed.
void followsLinks(const QString &dir, Checks &c)
{
    const QString real = dir + QStringLiteral("/vrai.bmp"), link = dir + QStringLiteral("/lien.bmp");
    put(real, "OLD");
    QFile::link(real, link);
    c.expect(saveTo(link).isEmpty(), "save through a link");
    c.expect(S_ISLNK(statOf(link).st_mode) && contents(real) == "NEW PICTURE", "link replaced or target not written");
    const QString fresh = dir + QStringLiteral("/nouveau-lien.bmp");
    QFile::link(dir + QStringLiteral("/cible.bmp"), fresh);
    c.expect(saveTo(fresh).isEmpty() && contents(dir + QStringLiteral("/cible.bmp")) == "NEW PICTURE",
             "link to a new name");
}

// Mode (with set-id bits), hard links and the write-protection, for any user.
void keepsWhatItReplaces(const QString &dir, Checks &c)
{
    const QString suid = dir + QStringLiteral("/suid.bmp");
    put(suid, "OLD", 06750);
    c.expect(saveTo(suid).isEmpty(), "save over a set-uid file");
    c.expect((statOf(suid).st_mode & 07777) == 06750, "mode not kept: " + std::to_string(statOf(suid).st_mode & 07777));

    const QString first = dir + QStringLiteral("/un.bmp"), second = dir + QStringLiteral("/deux.bmp");
    put(first, "OLD", 0640);
    ::link(local(first).constData(), local(second).constData());
    const ino_t inode = statOf(first).st_ino;
    c.expect(saveTo(first).isEmpty(), "save over a hard-linked file");
    c.expect(statOf(first).st_ino == inode && statOf(first).st_nlink == 2 && contents(second) == "NEW PICTURE",
             "hard link split");
    c.expect((statOf(first).st_mode & 07777) == 0640, "hard-linked mode");

    const QString locked = dir + QStringLiteral("/protege.bmp");
    put(locked, "OLD", 0444);
    const QStringList before = entries(dir);
    c.expect(saveTo(locked).contains(QStringLiteral("protégé en écriture")), "write-protected file written");
    c.expect(contents(locked) == "OLD" && entries(dir) == before, "write-protected file changed");
    c.expect(saveTo(locked, true).isEmpty() && contents(locked) == "NEW PICTURE", "confirmed save refused");
    c.expect((statOf(locked).st_mode & 07777) == 0444, "write-protected mode not kept");

    const QString fresh = dir + QStringLiteral("/neuf.bmp");
    const mode_t mask = ::umask(022);
    c.expect(saveTo(fresh).isEmpty() && (statOf(fresh).st_mode & 0777) == 0644, "new file mode");
    ::umask(mask);
}

void expectNone(const Checks &c)
{
    for (const std::string &f : c.failures)
        ADD_FAILURE() << f;
}

// Runs body as "nobody" in a child process, in a folder that user owns.
void asNobody(const std::function<void(const QString &dir, Checks &)> &body, const QString &dir)
{
    ::chown(local(dir).constData(), kNobody, kNobody);
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        Checks c;
        if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)
            _exit(77);
        body(dir, c);
        for (const std::string &f : c.failures)
            std::fprintf(stderr, "as nobody: %s\n", f.c_str());
        _exit(c.failures.empty() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "see the lines \"as nobody\" above";
}

class SaveTargets : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ::chmod(local(dir.path()).constData(), 0777);
    }
    QTemporaryDir dir;
    bool root() const { return ::geteuid() == 0; }
};
} // namespace

TEST_F(SaveTargets, OnlyRegularFilesOrNewNamesAreWrittenAsThisUser)
{
    Checks c;
    refusesWhatIsNoFile(dir.path(), c);
    followsLinks(dir.path(), c);
    expectNone(c);
}

TEST_F(SaveTargets, OnlyRegularFilesOrNewNamesAreWrittenAsANormalUser)
{
    if (!root())
        GTEST_SKIP() << "already a normal user (see the test above); switching to nobody needs root";
    asNobody(
        [](const QString &d, Checks &c) {
            refusesWhatIsNoFile(d, c);
            followsLinks(d, c);
        },
        dir.path());
}

TEST_F(SaveTargets, ModeLinksAndProtectionAreKeptAsThisUser)
{
    Checks c;
    keepsWhatItReplaces(dir.path(), c);
    expectNone(c);
}

TEST_F(SaveTargets, ModeLinksAndProtectionAreKeptAsANormalUser)
{
    if (!root())
        GTEST_SKIP() << "already a normal user (see the test above); switching to nobody needs root";
    asNobody(keepsWhatItReplaces, dir.path());
}

// Root: a copied device node is refused like /dev/full, a file of another user keeps its
// owner and group, and write-protection holds for root too.
TEST_F(SaveTargets, RootKeepsOwnersAndNeverReplacesADevice)
{
    if (!root())
        GTEST_SKIP() << "needs root (owners, device nodes)";
    const QString node = dir.filePath(QStringLiteral("full.bmp"));
    if (::mknod(local(node).constData(), S_IFCHR | 0666, makedev(1, 7)) == 0) {
        EXPECT_TRUE(saveTo(node).contains(QStringLiteral("périphérique")));
        EXPECT_TRUE(S_ISCHR(statOf(node).st_mode));
    } else {
        std::fprintf(stderr, "device node copy not made here (mknod refused): /dev/full checked instead\n");
    }
    const QString foreign = dir.filePath(QStringLiteral("autre.bmp"));
    put(foreign, "OLD", 0664);
    ASSERT_EQ(::chown(local(foreign).constData(), kNobody, kNobody), 0);
    EXPECT_EQ(saveTo(foreign), QString());
    EXPECT_EQ(statOf(foreign).st_uid, kNobody);
    EXPECT_EQ(statOf(foreign).st_gid, gid_t(kNobody));
    EXPECT_EQ(statOf(foreign).st_mode & 07777, 0664u);
    EXPECT_EQ(contents(foreign), "NEW PICTURE");
}

// A normal user may write a file of another user that allows it: written in place, so
// its owner stays; one that does not allow it is refused as write-protected.
TEST_F(SaveTargets, AForeignFileIsWrittenInPlaceOrRefusedAsANormalUser)
{
    if (!root())
        GTEST_SKIP() << "making a file of another user needs root";
    const QString open = dir.filePath(QStringLiteral("ouvert.bmp")), shut = dir.filePath(QStringLiteral("ferme.bmp"));
    put(open, "OLD", 0666);
    put(shut, "OLD", 0644);
    asNobody(
        [&](const QString &, Checks &c) {
            c.expect(saveTo(open).isEmpty(), "writable foreign file refused");
            c.expect(saveTo(shut).contains(QStringLiteral("protégé en écriture")),
                     "foreign file: " + saveTo(shut).toStdString());
            c.expect(saveTo(shut, true).contains(QStringLiteral("protégé en écriture")), "foreign protection lifted");
        },
        dir.path());
    EXPECT_EQ(statOf(open).st_uid, 0u);
    EXPECT_EQ(contents(open), "NEW PICTURE");
    EXPECT_EQ(contents(shut), "OLD");
}
