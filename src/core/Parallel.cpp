#include "Parallel.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace vermeo {

namespace {
std::atomic<int> threadsOverride{-1};
}

int passThreads()
{
    static const int cores = std::max(1, int(std::thread::hardware_concurrency()));
    const int forced = threadsOverride.load();
    return forced >= 1 ? forced : cores;
}

PassThreadsOverride::PassThreadsOverride(int threads) : m_previous(threadsOverride.exchange(threads)) {}

PassThreadsOverride::~PassThreadsOverride() { threadsOverride.store(m_previous); }

void forBandsInParallel(int rows, int bandRows, const std::function<void(int, int)> &body,
                        const std::function<void(int)> &onBandDone)
{
    if (rows <= 0)
        return;
    bandRows = threadsOverride.load() == 0 ? rows : std::max(1, bandRows);
    const int bands = (rows + bandRows - 1) / bandRows;
    std::atomic<int> next{0};
    std::atomic<int> done{0};
    std::exception_ptr failure;
    std::mutex failureLock;
    auto work = [&](bool caller) {
        for (int b = next.fetch_add(1); b < bands; b = next.fetch_add(1)) {
            const int y0 = b * bandRows, y1 = std::min(rows, y0 + bandRows);
            try {
                body(y0, y1);
            } catch (...) {
                const std::lock_guard<std::mutex> lock(failureLock);
                if (!failure)
                    failure = std::current_exception();
            }
            done.fetch_add(y1 - y0);
            if (caller && onBandDone)
                onBandDone(done.load());
        }
    };
    const int extra = bands > 1 ? std::min(passThreads(), bands) - 1 : 0;
    std::vector<std::thread> helpers;
    helpers.reserve(size_t(extra));
    for (int i = 0; i < extra; ++i)
        helpers.emplace_back(work, false);
    work(true);
    for (std::thread &t : helpers)
        t.join();
    if (onBandDone)
        onBandDone(rows);
    if (failure)
        std::rethrow_exception(failure);
}

void forBandsInOrder(int rows, int bandRows, const std::function<void(int, int)> &body,
                     const std::function<void(int)> &progress)
{
    bandRows = std::max(1, bandRows);
    for (int y0 = 0; y0 < rows; y0 += bandRows) {
        const int y1 = std::min(rows, y0 + bandRows);
        if (progress)
            progress(y1);
        body(y0, y1);
    }
}

std::function<void(int)> progressByRows(Progress &progress, int rows)
{
    return [&progress, rows](int done) { progress.setPosition(int((long long)done * 100 / rows)); };
}

} // namespace vermeo
