#include "PixelBuffers.h"

#include <QCoreApplication>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <mutex>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

namespace vermeo {

namespace {

// Pictures below this size come from malloc, which reuses small blocks by itself.
constexpr qsizetype kPooledBytes = 8 << 20;
// At most this many freed pictures are kept (a Delete, its undo, a paste, a zoom step and
// a file closed and opened again each free one), within this many bytes, each so long.
constexpr size_t kKeptBlocks = 4;
constexpr size_t kKeptBytes = size_t(1) << 30;
constexpr std::chrono::milliseconds kKeepFor{30000};

using Clock = std::chrono::steady_clock;

struct Block {
    uchar *data;
    size_t bytes;
    Clock::time_point freedAt;
};

struct Pool {
    std::mutex mutex;
    std::vector<Block> kept; // oldest first
    std::atomic<bool> trimScheduled{false};
};

// Never destroyed: pictures may still be freed while the program ends.
Pool &pool()
{
    static Pool *p = new Pool;
    return *p;
}

size_t pageRounded(size_t bytes)
{
    const size_t page = size_t(sysconf(_SC_PAGESIZE));
    return (bytes + page - 1) / page * page;
}

void unmap(const std::vector<Block> &blocks)
{
    for (const Block &b : blocks)
        munmap(b.data, b.bytes);
}

// Takes out of the pool the blocks kept too long (all of them when everything is true).
std::vector<Block> takeExpired(Pool &p, bool everything)
{
    std::vector<Block> out;
    const Clock::time_point now = Clock::now();
    auto it = p.kept.begin();
    while (it != p.kept.end())
        if (everything || now - it->freedAt >= kKeepFor) {
            out.push_back(*it);
            it = p.kept.erase(it);
        } else {
            ++it;
        }
    return out;
}

void scheduleTrim();

void trimNow()
{
    Pool &p = pool();
    std::vector<Block> expired;
    bool left;
    {
        const std::lock_guard lock(p.mutex);
        expired = takeExpired(p, false);
        left = !p.kept.empty();
        p.trimScheduled = false;
    }
    unmap(expired);
    if (left)
        scheduleTrim();
}

// A program with an event loop frees kept blocks once they expire, even if no other
// picture is made or freed meanwhile.
void scheduleTrim()
{
    QCoreApplication *app = QCoreApplication::instance();
    if (!app || pool().trimScheduled.exchange(true))
        return;
    QMetaObject::invokeMethod(
        app,
        [app] { QTimer::singleShot(kKeepFor + std::chrono::milliseconds(500), app, [] { trimNow(); }); },
        Qt::QueuedConnection);
}

struct Owned {
    uchar *data;
    size_t bytes;
};

void giveBack(void *info)
{
    const Owned *owned = static_cast<Owned *>(info);
    const Block block{owned->data, owned->bytes, Clock::now()};
    delete owned;
    Pool &p = pool();
    std::vector<Block> dropped;
    {
        const std::lock_guard lock(p.mutex);
        dropped = takeExpired(p, false);
        p.kept.push_back(block);
        const auto held = [&p] {
            size_t n = 0;
            for (const Block &b : p.kept)
                n += b.bytes;
            return n;
        };
        while (p.kept.size() > kKeptBlocks || (p.kept.size() > 1 && held() > kKeptBytes)) {
            dropped.push_back(p.kept.front());
            p.kept.erase(p.kept.begin());
        }
    }
    unmap(dropped);
    scheduleTrim();
}

uchar *mapFresh(size_t bytes)
{
    void *m = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (m == MAP_FAILED)
        return nullptr;
#ifdef MADV_HUGEPAGE
    // Large memory pages: the picture is faulted in with a few dozen faults instead of
    // some 24 000. A hint: failure changes nothing.
    madvise(m, bytes, MADV_HUGEPAGE);
#endif
    return static_cast<uchar *>(m);
}

uchar *takeBlock(size_t bytes)
{
    Pool &p = pool();
    std::vector<Block> expired;
    uchar *found = nullptr;
    {
        const std::lock_guard lock(p.mutex);
        expired = takeExpired(p, false);
        // The most recently freed block of the size: its pages are the likeliest in cache.
        for (auto it = p.kept.rbegin(); it != p.kept.rend(); ++it)
            if (it->bytes == bytes) {
                found = it->data;
                p.kept.erase(std::next(it).base());
                break;
            }
    }
    unmap(expired);
    if (found)
        return found;
    if (uchar *fresh = mapFresh(bytes))
        return fresh;
    // Short of memory: what is kept goes back to the system, and one more try.
    releaseKeptPixels();
    return mapFresh(bytes);
}

} // namespace

QImage pooledImage(int w, int h)
{
    const qsizetype bytesPerLine = qsizetype(w) * 4;
    const qsizetype size = bytesPerLine * h;
    if (w <= 0 || h <= 0 || size < kPooledBytes)
        return QImage(w, h, QImage::Format_RGB32);
    const size_t bytes = pageRounded(size_t(size));
    uchar *data = takeBlock(bytes);
    if (!data)
        return {};
    return QImage(data, w, h, bytesPerLine, QImage::Format_RGB32, giveBack, new Owned{data, bytes});
}

void releaseKeptPixels()
{
    Pool &p = pool();
    std::vector<Block> all;
    {
        const std::lock_guard lock(p.mutex);
        all = takeExpired(p, true);
    }
    unmap(all);
}

qsizetype keptPixelBytes()
{
    Pool &p = pool();
    const std::lock_guard lock(p.mutex);
    qsizetype n = 0;
    for (const Block &b : p.kept)
        n += qsizetype(b.bytes);
    return n;
}

} // namespace vermeo
