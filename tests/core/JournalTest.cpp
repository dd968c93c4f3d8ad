// The recovery journal: its file read back exactly and refused whole when damaged, the
// sessions that tell a program gone from one still running, the copy made in tiles
// while the picture is drawn on, and a document's journal through its life.
#include "DocumentJournal.h"
#include "Error.h"
#include "JournalFile.h"
#include "JournalSession.h"
#include "TestPictures.h"
#include "TiledCopy.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtEndian>

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <zlib.h>

using namespace vermeo;

namespace {

using test::noise;

void writeJournal(const QString &path, const Picture &pic, const QString &title, const QString &fileName)
{
    const JournalInfo info{title,
                           fileName,
                           pic.width(),
                           pic.height(),
                           pic.depth,
                           pic.palette,
                           QDateTime::fromMSecsSinceEpoch(1'765'000'000'000LL, Qt::UTC)};
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ASSERT_GE(fd, 0);
    EXPECT_TRUE(
        journal::write(fd, info, [&](int y) { return reinterpret_cast<const QRgb *>(pic.image.constScanLine(y)); }));
    ::close(fd);
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return f.readAll();
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

int modeOf(const QString &path)
{
    struct stat st {};
    ::stat(QFile::encodeName(path).constData(), &st);
    return int(st.st_mode & 0777);
}

} // namespace

TEST(JournalFile, GivesBackPixelsDepthPaletteNamesAndTime)
{
    QTemporaryDir dir;
    // 8 bits with its palette, a height that ends in a part band, names beyond ASCII.
    const Picture pal = test::palettePicture(77, 70, 8);
    const QString path = dir.filePath("a.vjournal");
    writeJournal(path, pal, QStringLiteral("Été.pcx"), QStringLiteral("/tmp/dossier é/Été.pcx"));
    JournalInfo info;
    const Picture back = journal::read(path, &info);
    EXPECT_EQ(back.image, pal.image);
    EXPECT_EQ(back.depth, 8);
    EXPECT_EQ(back.palette, pal.palette);
    EXPECT_EQ(info.title, QStringLiteral("Été.pcx"));
    EXPECT_EQ(info.fileName, QStringLiteral("/tmp/dossier é/Été.pcx"));
    EXPECT_EQ(info.lastChange.toMSecsSinceEpoch(), 1'765'000'000'000LL);
    const JournalInfo head = journal::readInfo(path);
    EXPECT_EQ(QSize(head.width, head.height), QSize(77, 70));

    // True colour, unnamed, incompressible.
    const Picture tc = Picture::fromImage(noise(300, 65, 5));
    writeJournal(path, tc, QStringLiteral("Image4"), QString());
    const Picture back2 = journal::read(path, &info);
    EXPECT_EQ(back2.image, tc.image);
    EXPECT_EQ(back2.depth, 24);
    EXPECT_TRUE(info.fileName.isEmpty());
}

TEST(JournalFile, EveryCutAndEveryChangedByteIsRefusedWithAReason)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.vjournal"), bad = dir.filePath("bad.vjournal");
    writeJournal(path, test::palettePicture(20, 40, 4), QStringLiteral("Image1"), QString());
    const QByteArray good = readAll(path);
    auto refused = [&](const QByteArray &bytes) {
        writeAll(bad, bytes);
        try {
            journal::read(bad);
        } catch (const VermeoError &e) {
            return !e.message().isEmpty();
        }
        return false;
    };
    for (int n = 0; n < good.size(); ++n)
        EXPECT_TRUE(refused(good.left(n))) << "cut at " << n;
    EXPECT_TRUE(refused(good + 'x'));
    for (int i = 0; i < good.size(); ++i) {
        QByteArray b = good;
        b[i] = char(b[i] ^ 0x10);
        EXPECT_TRUE(refused(b)) << "byte " << i;
    }
    // Foreign: another file type, a later version.
    try {
        writeAll(bad, "P6\n2 2\n255\n............");
        journal::readInfo(bad);
        ADD_FAILURE();
    } catch (const VermeoError &e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("n'est pas un fichier de récupération")))
            << qPrintable(e.message());
    }
    QByteArray later = good;
    later[8] = 2;
    writeAll(bad, later);
    EXPECT_THROW(journal::readInfo(bad), VermeoError);
}

TEST(JournalFile, AHugeSizeInASmallFileIsRefusedBeforeAnyAllocation)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.vjournal");
    writeJournal(path, Picture::fromImage(newWorkingImage(4, 4, 0xFFFFFFFFu)), QStringLiteral("x"), QString());
    QByteArray b = readAll(path);
    // Width and height at 16000 x 16000 (a gigabyte), metadata checksum made right.
    const int meta = 32;
    qToLittleEndian<quint32>(16000, b.data() + meta + 8);
    qToLittleEndian<quint32>(16000, b.data() + meta + 12);
    const quint32 metaLength = qFromLittleEndian<quint32>(b.constData() + 12);
    qToLittleEndian<quint32>(quint32(crc32(0, reinterpret_cast<const Bytef *>(b.constData() + meta), metaLength)),
                             b.data() + 16);
    writeAll(path, b);
    try {
        journal::read(path);
        ADD_FAILURE();
    } catch (const VermeoError &e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("tronqué"))) << qPrintable(e.message());
    }
}

TEST(JournalSession, OffersOnlyTheJournalsOfProgramsThatAreGone)
{
    QTemporaryDir home;
    const QString folder = home.filePath("state/vermeo");
    JournalSession mine(folder);
    EXPECT_EQ(modeOf(folder), 0700);
    EXPECT_EQ(modeOf(folder + "/" + mine.id() + ".lock"), 0600);

    // One left by a program that is gone (its lock is held by nobody), one by a program
    // still running (it holds its lock), one of this very session.
    const Picture pic = test::palettePicture(10, 10, 8);
    writeJournal(folder + "/gone-1.1.vjournal", pic, QStringLiteral("Image2"), QString());
    writeJournal(folder + "/live-2.1.vjournal", pic, QStringLiteral("Image3"), QString());
    writeJournal(mine.newJournalPath(), pic, QStringLiteral("Image1"), QString());
    writeAll(folder + "/gone-1.2.vjournal", "pas un journal");
    const int live = ::open(QFile::encodeName(folder + "/live-2.lock").constData(), O_RDWR | O_CREAT, 0600);
    ASSERT_EQ(::flock(live, LOCK_EX | LOCK_NB), 0);

    std::vector<JournalEntry> found = mine.orphans();
    ASSERT_EQ(found.size(), 2u);
    int readable = 0;
    for (const JournalEntry &e : found) {
        EXPECT_TRUE(e.path.contains("gone-1."));
        if (e.readable) {
            ++readable;
            EXPECT_EQ(e.info.title, QStringLiteral("Image2"));
        } else {
            EXPECT_FALSE(e.problem.isEmpty());
        }
    }
    EXPECT_EQ(readable, 1);
    {
        // A second program starting meanwhile does not offer them too.
        JournalSession other(folder);
        EXPECT_TRUE(other.orphans().empty());
    }
    // Taken over: the journal is this session's now, and gone from the list.
    const QString adopted = mine.adopt(found[0].readable ? found[0].path : found[1].path);
    EXPECT_TRUE(QFileInfo(adopted).fileName().startsWith(mine.id() + "."));
    QFile::remove(found[0].readable ? found[1].path : found[0].path);
    mine.releaseOrphans();
    EXPECT_FALSE(QFile::exists(folder + "/gone-1.lock"));
    EXPECT_TRUE(QFile::exists(folder + "/live-2.lock"));
    ::close(live);
    // Once that program is gone too, its journal is offered.
    found = mine.orphans();
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].info.title, QStringLiteral("Image3"));
}

TEST(JournalSession, FolderFromTheStateHome)
{
    const QByteArray keepState = qgetenv("XDG_STATE_HOME"), keepHome = qgetenv("HOME");
    qputenv("XDG_STATE_HOME", "/tmp/etat");
    EXPECT_EQ(journalFolder(), QStringLiteral("/tmp/etat/vermeo"));
    // A relative one does not count.
    qputenv("XDG_STATE_HOME", "etat");
    qputenv("HOME", "/tmp/maison");
    EXPECT_EQ(journalFolder(), QStringLiteral("/tmp/maison/.local/state/vermeo"));
    qputenv("XDG_STATE_HOME", keepState);
    qputenv("HOME", keepHome);
    // A file where the folder should be: a French reason, no crash.
    QTemporaryDir dir;
    writeAll(dir.filePath("vermeo"), "x");
    try {
        JournalSession s(dir.filePath("vermeo"));
        ADD_FAILURE();
    } catch (const VermeoError &e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("n'est pas un dossier"))) << qPrintable(e.message());
    }
}

TEST(TiledCopy, HoldsThePictureAsItWasWhileItIsDrawnOn)
{
    const QImage before = noise(1100, 1000, 9);
    for (int round = 1; round <= 20; ++round) {
        QImage picture = before.copy();
        TiledCopy copy(picture);
        std::thread worker([&] { copy.run(); });
        // Areas written in a scattered order while the worker copies, each announced first.
        QRandomGenerator rng{quint32(round)};
        for (int i = 0; i < 300; ++i) {
            const QRect area = QRect(int(rng.bounded(1100)), int(rng.bounded(1000)), 1 + int(rng.bounded(600)),
                                     1 + int(rng.bounded(60)))
                                   .intersected(picture.rect());
            copy.beforeWrite(area);
            for (int r = area.top(); r <= area.bottom(); ++r)
                std::fill_n(reinterpret_cast<QRgb *>(picture.scanLine(r)) + area.left(), area.width(),
                            0xFF000000u | quint32(round));
        }
        worker.join();
        ASSERT_EQ(copy.image(), before) << "round " << round;
    }
    // finish() copies what is left on the calling thread.
    TiledCopy last(before);
    last.finish();
    EXPECT_EQ(last.image(), before);
}

namespace {

// A document with a journal in a temporary session.
struct Journalled {
    QTemporaryDir dir;
    JournalSession session{dir.filePath("vermeo")};
    ImageDocument doc;
    std::unique_ptr<DocumentJournal> journal;
    Journalled(int w, int h)
    {
        doc.Init(w, h, clWhite);
        journal = std::make_unique<DocumentJournal>(doc, session, [] { return QStringLiteral("Image1"); });
    }
    void stroke(int x0, int y0, int x1, int y1)
    {
        doc.SauveUndo();
        doc.canvas().MoveTo(x0, y0);
        doc.canvas().LineTo(x1, y1);
        doc.flush();
        doc.Modif();
    }
};

} // namespace

TEST(DocumentJournal, WrittenWhileModifiedGoneWhenSavedOrClosed)
{
    Journalled j(300, 200);
    j.journal->writeNow();
    EXPECT_FALSE(j.journal->writing()); // nothing to keep: not modified
    j.stroke(10, 150, 250, 20);
    const QImage drawn = j.doc.image().copy();
    j.journal->writeNow();
    // Drawn on while the journal is written: the journal holds the picture of the pause.
    j.stroke(0, 0, 299, 199);
    j.journal->waitForWrite();
    const QString path = j.journal->path();
    ASSERT_TRUE(QFile::exists(path));
    EXPECT_EQ(modeOf(path), 0600);
    EXPECT_EQ(journal::read(path).image, drawn);
    EXPECT_FALSE(j.journal->upToDate());
    j.journal->writeNow();
    j.journal->waitForWrite();
    EXPECT_EQ(journal::read(path).image, j.doc.image());
    EXPECT_TRUE(j.journal->upToDate());

    // Saved: gone.
    j.doc.setModified(false);
    EXPECT_FALSE(QFile::exists(path));
    // Changed again, then closed: gone.
    j.stroke(5, 5, 50, 5);
    j.journal->writeNow();
    j.journal->waitForWrite();
    EXPECT_TRUE(QFile::exists(path));
    j.journal.reset();
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_TRUE(QDir(j.dir.filePath("vermeo")).entryList({"*.vjournal", "*.part"}, QDir::Files).isEmpty());
}

TEST(DocumentJournal, WaitsForTheEndOfAPressAndForAPauseInEditing)
{
    Journalled j(64, 64);
    j.stroke(1, 1, 30, 30);
    j.doc.ButtonDown = true;
    j.journal->writeNow();
    EXPECT_FALSE(j.journal->writing());
    j.doc.ButtonDown = false;
    // The pause: no journal before it, one after.
    QCoreApplication::processEvents();
    EXPECT_TRUE(j.journal->path().isEmpty() || !QFile::exists(j.journal->path()));
    for (int i = 0; i < 60 && !j.journal->upToDate(); ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    EXPECT_TRUE(j.journal->upToDate());
    EXPECT_EQ(journal::read(j.journal->path()).image, j.doc.image());
}

TEST(DocumentJournal, UndoAndReplacedPicturesAreJournalledAsTheyAre)
{
    Journalled j(200, 100);
    j.stroke(0, 50, 199, 50);
    j.journal->writeNow();
    // A whole-picture change and an undo while the copy may still run.
    j.doc.SauveUndo();
    j.doc.replacePicture(test::palettePicture(40, 30, 8));
    j.doc.Modif();
    j.journal->waitForWrite();
    j.doc.Annule();
    j.journal->writeNow();
    j.journal->waitForWrite();
    const Picture back = journal::read(j.journal->path());
    EXPECT_EQ(back.image, j.doc.image());
    EXPECT_EQ(back.depth, 24);
    j.doc.Annule();
    j.doc.Modif();
    j.journal->writeNow();
    j.journal->waitForWrite();
    EXPECT_EQ(journal::read(j.journal->path()).depth, j.doc.picture().depth);
}

TEST(DocumentJournal, FollowsTheSavePointThroughUndoAndRedo)
{
    Journalled j(120, 80);
    j.stroke(0, 10, 119, 10);
    j.doc.setModified(false);
    j.stroke(0, 40, 119, 40);
    j.journal->writeNow();
    j.journal->waitForWrite();
    const QString path = j.journal->path();
    ASSERT_TRUE(QFile::exists(path));
    // Back at what was saved: nothing to recover.
    j.doc.Annule();
    EXPECT_FALSE(j.doc.modified());
    EXPECT_FALSE(QFile::exists(path));
    j.doc.Retablit();
    ASSERT_TRUE(j.doc.modified());
    j.journal->writeNow();
    j.journal->waitForWrite();
    ASSERT_FALSE(j.journal->path().isEmpty());
    EXPECT_EQ(journal::read(j.journal->path()).image, j.doc.image());
    // Before the save point is a change too.
    j.doc.Annule();
    j.doc.Annule();
    ASSERT_TRUE(j.doc.modified());
    j.journal->writeNow();
    j.journal->waitForWrite();
    EXPECT_EQ(journal::read(j.journal->path()).image, test::filled(120, 80, clWhite));
}
